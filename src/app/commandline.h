#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class TForm1;

// What the program is started with.
struct StartArguments {
    // A file to open (measurements, a session, a load test), made absolute against the folder
    // the program was started in.
    std::optional<QString> file;
    // Why the program starts where it does, from the launcher when it could not use
    // ~/Vexorel; the first message shows it.
    QString startNote;
};

// --help and --version answer and end the program before any window exists, so they need
// no display (over ssh, in a console). Returns when the command line asks neither.
void answerWithoutWindow(int& argc, char** argv);

// The program's command line: at most one measurement file and the start note. --help and
// --version answer and end the program, and so does a mistake (an unknown option, a second
// file), with exit code 1.
StartArguments startArguments(const QStringList& arguments);

// Opens the file as File › Open opens a chosen one, once the event loop runs: a failure is
// reported over the shown window like any command's.
void openAtStart(TForm1* window, const QString& path);
