#include "app/application.h"

#include "table/currentfile.h"
#include "ui/errorreport.h"
#include "ui/qtext.h"

#include <QLocale>

VexorelApplication::VexorelApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(ui::toQString(table::kProgramTitle));
    // Ties the windows to the installed desktop entry: its name and icon in the task bar,
    // and the application id on Wayland.
    setDesktopFileName(QStringLiteral("org.vexorel.Vexorel"));
}

bool VexorelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ui::reportException(std::current_exception());
        return false;
    }
}

TerminationWatch::TerminationWatch()
    : m_notifier(m_signals.fd(), QSocketNotifier::Read)
{
    QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] {
        m_signals.take();
        // exit() rather than quit(): quit() closes the windows, and the main window's close
        // asks about unsaved shots.
        QCoreApplication::exit(0);
    });
}

char systemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    // The runtime keeps one byte; a separator outside ASCII cannot be typed into the weight
    // field anyway.
    if (point.size() == 1 && point.at(0).unicode() < 0x80)
        return static_cast<char>(point.at(0).unicode());
    return '.';
}
