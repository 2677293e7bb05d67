// The reference for the start-up probe: a bare Qt window, one empty QMainWindow, shown as the
// program shows its main window. The program's start-up is judged against this.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1171, 540);
    window.show();
    return app.exec();
}
