#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class TForm1;

// The program's command line: at most one measurement file, made absolute against the
// folder the program was started in. --help and --version answer and end the program, and
// so does a mistake (an unknown option, a second file), with exit code 1.
std::optional<QString> fileArgument(const QStringList& arguments);

// Opens the file as File › Open opens a chosen one, once the event loop runs: a failure is
// reported over the shown window like any command's.
void openAtStart(TForm1* window, const QString& path);
