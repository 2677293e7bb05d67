#include "app/commandline.h"

#include "app/tform1.h"
#include "ui/errorreport.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

std::optional<QString> fileArgument(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Downloads the shots of a Chronolite chronograph, keeps and charts them."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A measurement file to open, as File > Open does."),
                                 QStringLiteral("[file]"));
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        // The way process() reports its own mistakes.
        std::fprintf(stderr, "Only one file can be opened; %lld were given.\n",
                     static_cast<long long>(files.size()));
        std::exit(EXIT_FAILURE);
    }
    if (files.isEmpty())
        return std::nullopt;
    return QFileInfo(files.front()).absoluteFilePath();
}

void openAtStart(TForm1* window, const QString& path)
{
    QTimer::singleShot(0, window, ui::guarded([window, path] { window->openFile(path); }));
}
