#pragma once

#include "runtime/termination.h"

#include <QApplication>
#include <QSocketNotifier>

// Catches, as a last resort, any exception that a handler let escape into Qt's event
// delivery, reports it and goes on.
class VexorelApplication : public QApplication {
public:
    VexorelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// While it lives, SIGTERM, SIGINT and SIGHUP end the main event loop with exit code 0 once
// the handler that runs (a save, say) has finished, so main() closes down as usual. Nothing
// is asked: whoever sends the signal is rarely there to answer.
class TerminationWatch {
public:
    TerminationWatch();

private:
    rt::TerminationSignals m_signals;
    QSocketNotifier m_notifier;
};

// The decimal separator of the user's locale, for the runtime's one setting.
char systemDecimalSeparator();
