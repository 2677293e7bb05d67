#include "support/ui/programs.h"

#include <QProcess>

#include <cstdlib>

std::pair<int, std::string> runProgram(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString()};
}

int pdfPages(const std::string& path)
{
    const std::string info = runProgram("pdfinfo", {QString::fromStdString(path)}).second;
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

std::string pdfText(const std::string& path)
{
    return runProgram("pdftotext", {"-layout", QString::fromStdString(path), "-"}).second;
}
