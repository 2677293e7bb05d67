#include "app/commandline.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProcess>

namespace {

const char kThreeShots[] = "1\r\n300\r\n5,4\r\n0,120\r\nJSB\r\n0,00\r\n"
                           "2\r\n310\r\n5,77\r\n0,120\r\nJSB\r\n3,33\r\n"
                           "3\r\n290\r\n5,05\r\n0,120\r\nJSB\r\n-3,33\r\n";

// The program started with a file, as main() opens it: read in the start folder, opened once
// the event loop runs.
class OpenAtStart : public MainWindowTest {
protected:
    void SetUp() override { start(""); }

    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    void startWith(const QStringList& arguments)
    {
        const std::optional<QString> file = startArguments(arguments).file;
        ASSERT_TRUE(file);
        openAtStart(Form1, *file);
        EXPECT_EQ(redraws, 0) << "nothing before the event loop runs";
        QCoreApplication::processEvents();
    }
};

TEST_F(OpenAtStart, ARelativeNameOpensTheFileOfTheStartFolder)
{
    dir.write("shots.vxm", kThreeShots);
    startWith({"vexorel", "shots.vxm"});
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"0,00", "3,33", "-3,33"}));
    EXPECT_EQ(labels(), (QStringList{"310", "290", "300,00", "5,77", "5,05", "5,41"}));
    EXPECT_EQ(Form1->windowTitle(), path("shots.vxm") + "     Vexorel!");
    EXPECT_FALSE(table::hasUnsavedChanges());
    EXPECT_EQ(redraws, 1);
}

TEST_F(OpenAtStart, AMissingFileIsReportedAsOpenReportsIt)
{
    startWith({"vexorel", path("missing.vxm")});
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "Vexorel!");
    EXPECT_EQ(prompter.messages[0].text, "File not found");
    EXPECT_EQ(table::currentFileName(), dir.file("missing.vxm"));
    EXPECT_EQ(redraws, 0);
}

TEST_F(OpenAtStart, AFileThatIsNotAMeasurementFileIsRefusedAndNothingChanges)
{
    dir.write("shots.csv", "N;V;E\r\n1;300;5,4\r\n");
    // A name that looks like an option, after the end of the options.
    dir.write("-notes.vxm", "1\r\n300\r\n5,4\r\n0,5\r\nB\r\n0,00\r\nsecond try\r\n");
    const struct {
        QStringList arguments;
        const char* file;
        int line;
    } cases[] = {{{"vexorel", "shots.csv"}, "shots.csv", 1},
                 {{"vexorel", "--", "-notes.vxm"}, "-notes.vxm", 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        prompter.messages.clear();
        startWith(c.arguments);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text,
                  QStringLiteral("'%1' is not a measurement file (line %2)")
                      .arg(path(c.file))
                      .arg(c.line));
        EXPECT_EQ(Form1->windowTitle(), "Vexorel!");
        EXPECT_EQ(column(1), (std::vector<std::string>{""}));
        EXPECT_EQ(redraws, 0);
    }
}

TEST(StartArguments, FileIsOptionalAndMadeAbsoluteAgainstTheCurrentFolder)
{
    const TempDir dir;
    const CurrentDir cwd(dir.path());
    const QString folder = QString::fromStdString(dir.path());
    EXPECT_EQ(startArguments({"vexorel"}).file, std::nullopt);
    EXPECT_EQ(startArguments({"vexorel", "/data/s.vxm"}).file, "/data/s.vxm");
    EXPECT_EQ(startArguments({"vexorel", "sub/s.vxm"}).file, folder + "/sub/s.vxm");
    EXPECT_EQ(startArguments({"vexorel", "--", "-s.vxm"}).file, folder + "/-s.vxm");

    // As the launcher passes its note.
    const StartArguments noted = startArguments(
        {"vexorel", "--start-note", "HOME is not set; started in /tmp/tmp.x", "--", "/a.vxm"});
    EXPECT_EQ(noted.startNote, "HOME is not set; started in /tmp/tmp.x");
    EXPECT_EQ(noted.file, "/a.vxm");
    EXPECT_EQ(startArguments({"vexorel"}).startNote, "");
}

struct ProgramRun {
    int exitCode;
    QString out;
    QString err;
};

enum class Display { Offscreen, None };

ProgramRun runProgram(const QStringList& arguments, Display display = Display::Offscreen)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // None: as over ssh or in a console, where a GUI application ends the program.
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(name);
    if (display == Display::Offscreen)
        env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(VEXOREL_PROGRAM, arguments);
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        ADD_FAILURE() << "still running with " << arguments.join(' ').toStdString();
    }
    return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

// The real program answers or refuses its command line before it opens a window, so these
// end on their own; help and version need no display at all.
TEST(CommandLine, TheProgramAnswersHelpAndVersionAndRefusesMistakes)
{
    for (const char* option : {"--version", "-v"}) {
        const ProgramRun version = runProgram({option}, Display::None);
        EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
        EXPECT_EQ(version.out, QStringLiteral("Vexorel! %1\n").arg(VEXOREL_VERSION));
    }

    for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"a.vxm", "-h"}}) {
        const ProgramRun help = runProgram(arguments, Display::None);
        EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
        EXPECT_TRUE(help.out.contains("[file]")) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains("--start-note <text>")) << help.out.toStdString();
    }

    const ProgramRun twoFiles = runProgram({"a.vxm", "b.vxm"});
    EXPECT_EQ(twoFiles.exitCode, 1);
    EXPECT_TRUE(twoFiles.err.contains("Only one file")) << twoFiles.err.toStdString();

    const ProgramRun unknown = runProgram({"--load"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains("'load'")) << unknown.err.toStdString();
}

} // namespace
