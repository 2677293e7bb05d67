#pragma once

#include "ui/prompts.h"

#include <QObject>

// Answers every question with yes or OK and every file dialog with one path, so the
// benchmarks can drive the real window's commands.
class AnsweringPrompter : public ui::Prompter {
public:
    QString path;

    ui::MessageResult message(QWidget*, const QString&, const QString&, ui::MessageIcon,
                              ui::MessageButtons buttons) override
    {
        const bool okOnly =
            buttons == ui::MessageButtons::Ok || buttons == ui::MessageButtons::OkCancel;
        return okOnly ? ui::MessageResult::Ok : ui::MessageResult::Yes;
    }
    std::optional<QString> chooseOpenFile(QWidget*, const ui::FileDialogState&) override
    {
        return path;
    }
    std::optional<QString> chooseSaveFile(QWidget*, const ui::FileDialogState&) override
    {
        return path;
    }
    QStringList chooseOpenFiles(QWidget*, const ui::FileDialogState&) override { return {path}; }
    std::optional<QString> chooseFolder(QWidget*, const ui::FileDialogState&) override
    {
        return path;
    }
    int execModal(QDialog*) override { return 0; }
    std::unique_ptr<QObject> showProgress(QWidget*, const QString&, std::function<void()>) override
    {
        return nullptr;
    }
};
