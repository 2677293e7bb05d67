#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QWidget;

namespace ui {

// Every message box, file dialog and modal window goes through one Prompter, so tests can
// answer them from a script instead of blocking on a real window.

enum class MessageIcon { None, Information, Warning, Critical };
// A Yes/No/Cancel box answers Cancel to Esc and to being closed, so that only a deliberate
// No ever discards anything.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

// What a file dialog remembers between uses. Commands that share a dialog share one state,
// so each starts from the folder and name last chosen in any of them.
struct FileDialogState {
    QString filter;        // Qt form: "Vexorel! Measurments (*.vxm)"
    QString defaultSuffix; // without the dot
    QString directory;
    QString fileName;
    // Of a filter with several entries, the one last chosen; empty for the first. A name
    // typed without an extension gets this entry's.
    QString selectedFilter;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual MessageResult message(QWidget* parent, const QString& caption, const QString& text,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> chooseOpenFile(QWidget* parent,
                                                  const FileDialogState& state) = 0;
    virtual std::optional<QString> chooseSaveFile(QWidget* parent,
                                                  const FileDialogState& state) = 0;
    // Several existing files at once; none when cancelled. A prompter without a dialog of
    // its own for this answers with chooseOpenFile's one file.
    virtual QStringList chooseOpenFiles(QWidget* parent, const FileDialogState& state);
    // Shows a window modally; returns its result code.
    virtual int execModal(QDialog* dialog) = 0;
};

// The prompter in use: the desktop one unless a test installed another.
Prompter& prompts();
// nullptr restores the desktop prompter. The caller keeps ownership.
void setPrompter(Prompter* prompter);

// File dialogs through the prompter that remember the choice in `state` and add the default
// extension to a name typed without one.
std::optional<QString> askOpenFile(QWidget* parent, FileDialogState& state);
std::optional<QString> askSaveFile(QWidget* parent, FileDialogState& state);
// Several files; the state remembers the folder of the first.
QStringList askOpenFiles(QWidget* parent, FileDialogState& state);

// Plain message box captioned "Vexorel!" with an OK button, for errors the program detects.
void showProgramMessage(QWidget* parent, const QString& text);

} // namespace ui
