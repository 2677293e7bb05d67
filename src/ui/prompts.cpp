#include "ui/prompts.h"

#include "table/currentfile.h"
#include "ui/qtext.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRegularExpression>

namespace ui {

namespace {

// "PNG picture (*.png)" -> "png"; nothing for "All files (*)".
QString suffixOf(const QString& filterEntry)
{
    const qsizetype star = filterEntry.indexOf(QLatin1String("*."));
    if (star < 0)
        return {};
    QString suffix = filterEntry.mid(star + 2);
    const qsizetype end = suffix.indexOf(QRegularExpression(QStringLiteral("[ )]")));
    return end < 0 ? suffix : suffix.left(end);
}

// The extension a name typed without one receives.
QString suffixFor(const FileDialogState& state, const QString& entry)
{
    const QString own = suffixOf(entry);
    return own.isEmpty() ? state.defaultSuffix : own;
}

// The filter entry whose patterns match the chosen name, for the next time.
QString entryMatching(const FileDialogState& state, const QString& fileName)
{
    const QStringList entries = state.filter.split(QStringLiteral(";;"));
    if (entries.size() < 2)
        return state.selectedFilter;
    for (const QString& entry : entries) {
        const QString suffix = suffixOf(entry);
        if (!suffix.isEmpty() && fileName.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
            return entry;
    }
    return state.selectedFilter;
}

class DesktopPrompter final : public Prompter {
public:
    MessageResult message(QWidget* parent, const QString& caption, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        }
        switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Cancel:
            return MessageResult::Cancel;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        default:
            // Closing a box with Cancel by its frame counts as Cancel.
            if ((buttons == MessageButtons::OkCancel || buttons == MessageButtons::YesNoCancel) &&
                box.clickedButton() == nullptr)
                return MessageResult::Cancel;
            return MessageResult::Ok;
        }
    }

    std::optional<QString> chooseOpenFile(QWidget* parent, const FileDialogState& state) override
    {
        QFileDialog dialog(parent, QString(), state.directory, state.filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // A name that does not exist is accepted; reading it then reports "File not found".
        dialog.setFileMode(QFileDialog::AnyFile);
        return first(run(dialog, state));
    }

    std::optional<QString> chooseSaveFile(QWidget* parent, const FileDialogState& state) override
    {
        QFileDialog dialog(parent, QString(), state.directory, state.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        return first(run(dialog, state));
    }

    QStringList chooseOpenFiles(QWidget* parent, const FileDialogState& state) override
    {
        QFileDialog dialog(parent, QString(), state.directory, state.filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        return run(dialog, state);
    }

    std::optional<QString> chooseFolder(QWidget* parent, const FileDialogState& state) override
    {
        QFileDialog dialog(parent, QString(), state.directory);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return first(dialog.selectedFiles());
    }

    int execModal(QDialog* dialog) override { return dialog->exec(); }

    std::unique_ptr<QObject> showProgress(QWidget* parent, const QString& text,
                                          std::function<void()> cancel) override
    {
        auto dialog =
            std::make_unique<QProgressDialog>(text, QStringLiteral("Cancel"), 0, 0, parent);
        dialog->setWindowTitle(toQString(table::kProgramTitle));
        // The program's other commands wait; the window still paints and its timers run.
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setMinimumDuration(0);
        QObject::connect(dialog.get(), &QProgressDialog::canceled, dialog.get(),
                         [cancel = std::move(cancel)] { cancel(); });
        dialog->show();
        return dialog;
    }

private:
    static std::optional<QString> first(const QStringList& chosen)
    {
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen.constFirst();
    }

    static QStringList run(QFileDialog& dialog, const FileDialogState& state)
    {
        if (!state.selectedFilter.isEmpty())
            dialog.selectNameFilter(state.selectedFilter);
        // The extension follows the chosen kind of file, so "chart" saved as SVG is chart.svg.
        dialog.setDefaultSuffix(suffixFor(state, dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &state](const QString& entry) {
                             dialog.setDefaultSuffix(suffixFor(state, entry));
                         });
        if (!state.fileName.isEmpty())
            dialog.selectFile(state.fileName);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles();
    }
};

DesktopPrompter g_desktopPrompter;
Prompter* g_prompter = nullptr;

std::optional<QString> remember(std::optional<QString> chosen, FileDialogState& state)
{
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    QString path = *chosen;
    QFileInfo info(path);
    const QString suffix = suffixFor(state, state.selectedFilter);
    if (!suffix.isEmpty() && !info.fileName().contains(QLatin1Char('.'))) {
        path += QLatin1Char('.') + suffix;
        info.setFile(path);
    }
    state.directory = info.absolutePath();
    state.fileName = info.fileName();
    state.selectedFilter = entryMatching(state, info.fileName());
    return info.absoluteFilePath();
}

} // namespace

Prompter& prompts()
{
    return g_prompter ? *g_prompter : g_desktopPrompter;
}

void setPrompter(Prompter* prompter)
{
    g_prompter = prompter;
}

std::optional<QString> askOpenFile(QWidget* parent, FileDialogState& state)
{
    return remember(prompts().chooseOpenFile(parent, state), state);
}

QStringList askOpenFiles(QWidget* parent, FileDialogState& state)
{
    QStringList paths;
    for (const QString& chosen : prompts().chooseOpenFiles(parent, state)) {
        if (!chosen.isEmpty())
            paths << QFileInfo(chosen).absoluteFilePath();
    }
    if (!paths.isEmpty())
        remember(paths.constFirst(), state);
    return paths;
}

std::optional<QString> askFolder(QWidget* parent, FileDialogState& state)
{
    const std::optional<QString> chosen = prompts().chooseFolder(parent, state);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    const QString folder = QFileInfo(*chosen).absoluteFilePath();
    state.directory = folder;
    return folder;
}

std::optional<QString> askSaveFile(QWidget* parent, FileDialogState& state)
{
    return remember(prompts().chooseSaveFile(parent, state), state);
}

void showProgramMessage(QWidget* parent, const QString& text)
{
    prompts().message(parent, toQString(table::kProgramTitle), text, MessageIcon::None,
                      MessageButtons::Ok);
}

} // namespace ui
