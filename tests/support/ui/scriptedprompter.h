#pragma once

#include "ui/prompts.h"

#include <deque>
#include <functional>
#include <vector>

// Answers prompts from a script and records what was asked. Installed for its lifetime.
// A question with no scripted answer fails the test (an OK-only box just counts as seen).
class ScriptedPrompter : public Prompter {
public:
    struct Message {
        QString caption;
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    MessageResult message(QWidget* parent, const QString& caption, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const FileDialogState& state) override;
    std::optional<QString> chooseSaveFile(QWidget* parent, const FileDialogState& state) override;
    int execModal(QDialog* dialog) override;

    std::deque<MessageResult> messageAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    // Runs while the modal window would be shown; its return is the window's result.
    std::function<int(QDialog*)> onModal;

    std::vector<Message> messages;
    std::vector<FileDialogState> openAsked;
    std::vector<FileDialogState> saveAsked;
    std::vector<QDialog*> modalShown;
};
