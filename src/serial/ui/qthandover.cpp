#include "serial/ui/qthandover.h"

#include "runtime/handover.h"

#include <QMetaObject>

QtHandOver::QtHandOver(std::function<void(std::exception_ptr)> report, QObject* parent)
    : QObject(parent)
{
    rt::HandOverQueue::main().setWaker([this] {
        QMetaObject::invokeMethod(
            this, [] { rt::HandOverQueue::main().serve(); }, Qt::QueuedConnection);
    });
    if (report)
        rt::setUnhandledErrorHandler(std::move(report));
}

QtHandOver::~QtHandOver()
{
    // Clearing waits for a wake-up in flight, so none reaches a destroyed object.
    rt::HandOverQueue::main().setWaker(nullptr);
    rt::setUnhandledErrorHandler(nullptr);
}
