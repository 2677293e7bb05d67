#include "app/commandline.h"

#include "app/tform1.h"
#include "table/currentfile.h"
#include "ui/errorreport.h"
#include "ui/qtext.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

const QString kStartNote = QStringLiteral("start-note");

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Downloads the shots of a Chronolite chronograph, keeps and charts them."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        kStartNote,
        QStringLiteral("Shows <text> in the first message: the desktop launcher says with it "
                       "why the program did not start in ~/Vexorel."),
        QStringLiteral("text")));
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("A measurement or session file to open, as File > Open does, "
                       "or a load test (.vxl) to open in Load "
                       "Development."),
        QStringLiteral("[file]"));
}

} // namespace

void answerWithoutWindow(int& argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describe(parser);
    // Mistakes wait for the full reading, after the GUI application has taken its own
    // options (-platform, -style) out of the list.
    parser.parse(arguments);
    const bool answers = parser.isSet(QStringLiteral("help")) ||
                         parser.isSet(QStringLiteral("help-all")) ||
                         parser.isSet(QStringLiteral("version"));
    if (!answers)
        return;
    // A core application needs no display, and it gives the help its program name.
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ui::toQString(table::kProgramTitle));
    parser.process(app);
}

StartArguments startArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        // The way process() reports its own mistakes.
        std::fprintf(stderr, "Only one file can be opened; %lld were given.\n",
                     static_cast<long long>(files.size()));
        std::exit(EXIT_FAILURE);
    }
    StartArguments start;
    start.startNote = parser.value(kStartNote);
    if (!files.isEmpty())
        start.file = QFileInfo(files.front()).absoluteFilePath();
    return start;
}

void openAtStart(TForm1* window, const QString& path)
{
    QTimer::singleShot(0, window, ui::guarded([window, path] { window->openFile(path); }));
}
