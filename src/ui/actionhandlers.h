#pragma once

#include "ui/errorreport.h"

#include <QAction>
#include <QObject>

#include <cstddef>
#include <utility>

namespace ui {

template <typename Window> using ActionHandler = std::pair<QAction*, void (Window::*)()>;

// Each action's triggered signal runs its handler on `window`, guarded as every handler is.
template <typename Window, std::size_t N>
void connectActions(Window* window, const ActionHandler<Window> (&actions)[N])
{
    for (const auto& [action, handler] : actions)
        QObject::connect(action, &QAction::triggered, window,
                         guarded([window, h = handler] { (window->*h)(); }));
}

} // namespace ui
