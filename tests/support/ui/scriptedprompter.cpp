#include "support/ui/scriptedprompter.h"

#include <QDialog>

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
    openAsked.push_back(state);
    if (openFilesAnswers.empty()) {
        ADD_FAILURE() << "unexpected dialog of several files";
        return {};
    }
    QStringList answer = openFilesAnswers.front();
    openFilesAnswers.pop_front();
    return answer;
}

int ScriptedPrompter::execModal(QDialog* dialog)
{
    modalShown.push_back(dialog);
    return onModal ? onModal(dialog) : QDialog::Rejected;
}
