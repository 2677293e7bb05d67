#include "support/ui/scriptedprompter.h"

#include <QDialog>
#include <QObject>

#include <gtest/gtest.h>

ScriptedPrompter::ScriptedPrompter()
{
    ui::setPrompter(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    ui::setPrompter(nullptr);
}

ui::MessageResult ScriptedPrompter::message(QWidget*, const QString& caption, const QString& text,
                                            ui::MessageIcon icon, ui::MessageButtons buttons)
{
    messages.push_back({caption, text, icon, buttons});
    if (!messageAnswers.empty()) {
        const ui::MessageResult answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    if (buttons == ui::MessageButtons::Ok)
        return ui::MessageResult::Ok;
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return buttons == ui::MessageButtons::YesNo ? ui::MessageResult::No : ui::MessageResult::Cancel;
}

namespace {
std::optional<QString> next(std::deque<std::optional<QString>>& answers, const char* what)
{
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << what << " dialog";
        return std::nullopt;
    }
    // Copying the optional itself trips GCC 12's -Wmaybe-uninitialized at -O3.
    const bool chosen = answers.front().has_value();
    QString path = chosen ? *answers.front() : QString();
    answers.pop_front();
    return chosen ? std::optional<QString>(std::move(path)) : std::nullopt;
}
} // namespace

std::optional<QString> ScriptedPrompter::chooseOpenFile(QWidget*, const ui::FileDialogState& state)
{
    openAsked.push_back(state);
    return next(openAnswers, "open");
}

std::optional<QString> ScriptedPrompter::chooseSaveFile(QWidget*, const ui::FileDialogState& state)
{
    saveAsked.push_back(state);
    return next(saveAnswers, "save");
}

QStringList ScriptedPrompter::chooseOpenFiles(QWidget*, const ui::FileDialogState& state)
{
    if (openFilesAnswers.empty()) {
        const std::optional<QString> one = chooseOpenFile(nullptr, state);
        return one ? QStringList{*one} : QStringList{};
    }
    openAsked.push_back(state);
    QStringList paths = std::move(openFilesAnswers.front());
    openFilesAnswers.pop_front();
    return paths;
}

std::optional<QString> ScriptedPrompter::chooseFolder(QWidget*, const ui::FileDialogState& state)
{
    folderAsked.push_back(state);
    return next(folderAnswers, "folder");
}

std::unique_ptr<QObject> ScriptedPrompter::showProgress(QWidget*, const QString& text,
                                                        std::function<void()> cancel)
{
    progressShown.push_back(text);
    if (onProgress)
        onProgress(cancel);
    return nullptr;
}

int ScriptedPrompter::execModal(QDialog* dialog)
{
    modalShown.push_back(dialog);
    return onModal ? onModal(dialog) : QDialog::Rejected;
}

QStringList ScriptedPrompter::messageTexts() const
{
    QStringList texts;
    for (const Message& m : messages)
        texts << m.text;
    return texts;
}
