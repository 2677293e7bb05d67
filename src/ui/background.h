#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

class QWidget;

// Work that may take long (reading a large file, looking at mounted drives) runs on a thread
// of its own while the window keeps painting and its timers keep running. The work only
// computes: it touches no widget and nothing the window owns; the caller takes its result on
// the window's thread. Until the progress window shows (after the prompter's delay) the
// user's clicks and keys wait; after it, that window's Cancel is the one command there is.
namespace ui {

// What becomes of the work's thread once the user cancels.
enum class AfterCancel {
    // Joined: the work stops soon by its stop token, and may use the caller's locals.
    Wait,
    // Left to end on its own, for work that may hang in the kernel (a dead network mount).
    // Such work must own all it uses.
    Leave,
};

// Runs `work(stop)` off the window's thread, showing `text` with a Cancel button once the
// prompter's delay has passed. True when the work has ended, its exception thrown here; false
// when the user cancelled or the application is quitting: the stop token is then requested.
bool runInBackground(QWidget* parent, const QString& text,
                     std::function<void(std::stop_token)> work,
                     AfterCancel afterCancel = AfterCancel::Wait);

// The same for work with a result: nothing when cancelled.
template <typename T>
std::optional<T> resultInBackground(QWidget* parent, const QString& text,
                                    std::function<T(std::stop_token)> work,
                                    AfterCancel afterCancel = AfterCancel::Wait)
{
    // Shared, so a work left running after Cancel writes into memory of its own.
    auto result = std::make_shared<std::optional<T>>();
    if (!runInBackground(
            parent, text,
            [result, work = std::move(work)](std::stop_token stop) {
                result->emplace(work(std::move(stop)));
            },
            afterCancel))
        return std::nullopt;
    return std::move(*result);
}

} // namespace ui
