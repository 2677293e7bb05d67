#pragma once

#include "ui/prompts.h"

#include <deque>
#include <functional>
#include <vector>

// Answers ui::prompts from a script and records what was asked. Installed for its lifetime.
// A question with no scripted answer fails the test (an OK-only box just counts as seen).
class ScriptedPrompter : public ui::Prompter {
public:
    struct Message {
        QString caption;
        QString text;
        ui::MessageIcon icon;
        ui::MessageButtons buttons;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    ui::MessageResult message(QWidget* parent, const QString& caption, const QString& text,
                              ui::MessageIcon icon, ui::MessageButtons buttons) override;
    std::optional<QString> chooseOpenFile(QWidget* parent,
                                          const ui::FileDialogState& state) override;
    std::optional<QString> chooseSaveFile(QWidget* parent,
                                          const ui::FileDialogState& state) override;
    QStringList chooseOpenFiles(QWidget* parent, const ui::FileDialogState& state) override;
    int execModal(QDialog* dialog) override;

    std::deque<ui::MessageResult> messageAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    // The files a dialog of several gives; an empty list is Cancel.
    std::deque<QStringList> openFilesAnswers;
    // Runs while the modal window would be shown; its return is the window's result.
    std::function<int(QDialog*)> onModal;

    std::vector<Message> messages;
    std::vector<ui::FileDialogState> openAsked;
    std::vector<ui::FileDialogState> saveAsked;
    std::vector<QDialog*> modalShown;
};
