#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <utility>

// Other programs as independent readers of what we write: poppler's pdfinfo and pdftotext.

// Exit code and standard output; waits up to a minute.
std::pair<int, std::string> runProgram(const QString& program, const QStringList& args);
// The page count pdfinfo reads, -1 when it reads none.
int pdfPages(const std::string& path);
// The text pdftotext reads, laid out as on the page.
std::string pdfText(const std::string& path);
