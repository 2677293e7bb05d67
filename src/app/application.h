#pragma once

#include <QApplication>

// Catches, as a last resort, any exception that a handler let escape into Qt's event
// delivery, reports it and goes on.
class VexorelApplication : public QApplication {
public:
    VexorelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The decimal separator of the user's locale, for the runtime's one setting.
char systemDecimalSeparator();
