#pragma once

#include "ui/prompts.h"

// Answers every question with yes or OK and every file dialog with one path, so the
// benchmarks can drive the real window's commands.
class AnsweringPrompter : public Prompter {
public:
    QString path;

    MessageResult message(QWidget*, const QString&, const QString&, MessageIcon,
                          MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    }
    std::optional<QString> chooseOpenFile(QWidget*, const FileDialogState&) override
    {
        return path;
    }
    std::optional<QString> chooseSaveFile(QWidget*, const FileDialogState&) override
    {
        return path;
    }
    int execModal(QDialog*) override { return 0; }
};
