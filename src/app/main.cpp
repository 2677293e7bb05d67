#include "app/application.h"
#include "app/commandline.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "runtime/decimalseparator.h"
#include "serial/ui/qthandover.h"
#include "ui/errorreport.h"

int main(int argc, char* argv[])
{
    VexorelApplication app(argc, argv);
    VexorelApplication::setApplicationVersion(QStringLiteral(VEXOREL_VERSION));
    // Before any window: --help and --version answer without one.
    const std::optional<QString> file = fileArgument(VexorelApplication::arguments());
    // The serial port's event thread hands its wake-ups to this thread through it.
    QtHandOver handOver([](std::exception_ptr error) { ui::reportException(error); });
    rt::setDecimalSeparator(systemDecimalSeparator());
    createForms();
    Form1->show();
    if (file)
        openAtStart(Form1, *file);
    const TerminationWatch watch;
    const int rc = app.exec();
    destroyForms();
    return rc;
}
