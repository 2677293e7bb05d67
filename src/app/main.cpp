#include "app/application.h"
#include "app/commandline.h"
#include "app/fontwarmup.h"
#include "app/forms.h"
#include "app/startuptrace.h"
#include "app/tform1.h"
#include "runtime/decimalseparator.h"
#include "serial/ui/qthandover.h"
#include "ui/errorreport.h"

#include <QTimer>

int main(int argc, char* argv[])
{
    VexorelApplication::setApplicationVersion(QStringLiteral(VEXOREL_VERSION));
    // Before the GUI application, which ends the program where there is no display.
    answerWithoutWindow(argc, argv);
    startupMark("main");
    const FontWarmUp fonts;
    VexorelApplication app(argc, argv);
    startupMark("application");
    // Before any window: mistakes end the program without one.
    const StartArguments start = startArguments(VexorelApplication::arguments());
    // The serial port's event thread hands its wake-ups to this thread through it.
    QtHandOver handOver([](std::exception_ptr error) { ui::reportException(error); });
    rt::setDecimalSeparator(systemDecimalSeparator());
    createForms(start.startNote.toStdString());
    startupMark("windows created");
    Form1->show();
    startupMark("main window shown");
    QTimer::singleShot(0, [] {
        startupMark("first events handled");
        if (quitAfterStartup())
            QApplication::quit();
    });
    if (start.file)
        openAtStart(Form1, *start.file);
    const TerminationWatch watch;
    const int rc = app.exec();
    destroyForms();
    return rc;
}
