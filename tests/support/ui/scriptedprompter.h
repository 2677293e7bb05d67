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
    // Answered from openFilesAnswers, or else with the next of openAnswers alone.
    QStringList chooseOpenFiles(QWidget* parent, const ui::FileDialogState& state) override;
    std::optional<QString> chooseFolder(QWidget* parent, const ui::FileDialogState& state) override;
    int execModal(QDialog* dialog) override;
    std::unique_ptr<QObject> showProgress(QWidget* parent, const QString& text,
                                          std::function<void()> cancel) override;
    int progressDelayMs() const override { return progressDelay; }

    std::deque<ui::MessageResult> messageAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<QStringList> openFilesAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    // Runs while the modal window would be shown; its return is the window's result.
    std::function<int(QDialog*)> onModal;
    // Runs when progress is shown, with its Cancel; without it the work runs to its end.
    std::function<void(const std::function<void()>& cancel)> onProgress;
    int progressDelay = 300;

    std::vector<Message> messages;
    // The messages' texts in the order shown, for a test's expectation or failure output.
    QStringList messageTexts() const;
    std::vector<ui::FileDialogState> openAsked;
    std::vector<ui::FileDialogState> saveAsked;
    std::vector<ui::FileDialogState> folderAsked;
    std::vector<QDialog*> modalShown;
    std::vector<QString> progressShown;
};
