#pragma once

#include <QObject>

#include <exception>
#include <functional>

// Binds the runtime's hand-over queue to the Qt event loop: a worker's hand-over posts a
// queued call to this object, and the GUI thread serves the queue when it gets there.
// Errors of calls that cannot travel back go to `report` (the program's report of
// unhandled errors). Create one on the GUI thread after the application object; while
// it lives, the waker is installed.
class QtHandOver : public QObject {
public:
    explicit QtHandOver(std::function<void(std::exception_ptr)> report = {},
                        QObject* parent = nullptr);
    ~QtHandOver() override;
};
