// The reference for the start-up probe: a bare Qt window, one empty QMainWindow, shown as the
// program shows its main window. The program's start-up is judged against this.
//
// Built a second time as text_window, with one menu and one label: the least a window with
// text pays for fonts, which the empty window never loads.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#if VEXOREL_REFERENCE_TEXT
#include <QLabel>
#include <QMenuBar>
#endif

#include <cstdlib>
#include <string_view>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
#if VEXOREL_REFERENCE_TEXT
    window.menuBar()->addMenu("File");
    window.setCentralWidget(new QLabel("Vexorel"));
#endif
    window.resize(1171, 540);
    window.show();
    // As the program does with this setting: end after the first events, for a profiler.
    if (const char* trace = std::getenv("VEXOREL_TRACE_STARTUP");
        trace && std::string_view(trace) == "quit")
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
