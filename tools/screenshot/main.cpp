// Renders the main window as the README shows it: offscreen, started in a folder with the
// starter bullet list, after a simulated download of ten shots of its first bullet, with a
// string of them selected. The `screenshot` target writes docs/main-window.png with it.

#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "chronolite-sim/transmission.h"
#include "runtime/decimalseparator.h"
#include "serial/ui/qthandover.h"
#include "ui/errorreport.h"
#include "ui/gridview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s BULLET-LIST PICTURE.png\n", argv[0]);
        return 2;
    }
    // The same picture with or without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VexorelApplication app(argc, argv);
    QtHandOver handOver([](std::exception_ptr error) { ui::reportException(error); });
    rt::setDecimalSeparator(',');

    const QTemporaryDir folder;
    // The default view, and the user's own remembered one left alone.
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    if (!folder.isValid() ||
        !QFile::copy(QString::fromLocal8Bit(argv[1]), folder.filePath("Bullets.vx!")) ||
        !QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "%s: cannot start in a folder with the bullet list %s\n", argv[0],
                     argv[1]);
        return 1;
    }

    createForms();
    Form1->show();
    chronosim::Options shots;
    shots.mean = 280;
    shots.spread = 2.5;
    for (char ch : chronosim::joined(chronosim::generatedTransmission(shots, 7)))
        Form1->ComTerminalChar(ch);
    Form1->TimerTimer();
    Form1->Grid->selectRows(3, 7);
    QCoreApplication::processEvents();
    const QImage picture = Form1->grab().toImage();
    destroyForms();

    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
