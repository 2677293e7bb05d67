#pragma once

#include <exception>
#include <utility>

class QWidget;

namespace ui {

// The report of unhandled errors: a critical box captioned "Vexorel!" with the error's text;
// the program goes on with whatever the handler had already changed.
void reportException(std::exception_ptr error, QWidget* parent = nullptr);

// Wraps a handler so that no exception unwinds through Qt's frames: the handler ends where
// it failed and the error is reported. Every handler is connected through this.
template <typename Handler> auto guarded(Handler handler)
{
    return [handler = std::move(handler)]() mutable {
        try {
            handler();
        } catch (...) {
            reportException(std::current_exception());
        }
    };
}

} // namespace ui
