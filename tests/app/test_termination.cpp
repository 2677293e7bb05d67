#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "support/ui/mainwindowfixture.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

namespace {

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Whether the process has a handler of its own for the signal (its SigCgt mask).
bool catches(qint64 pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "SigCgt:") {
            std::string mask;
            status >> mask;
            return (std::stoull(mask, nullptr, 16) >> (signal - 1)) & 1;
        }
    }
    return false;
}

// The program as a user starts it, in a folder of its own, told to end by each signal.
TEST(Termination, TheProgramEndsNormallyOnTermIntAndHupAndLeavesNoFiles)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TempDir dir;
        dir.write("Bullets.vx!", "");
        const TempDir config;
        QProcess program;
        program.setProgram(VEXOREL_PROGRAM);
        program.setWorkingDirectory(QString::fromStdString(dir.path()));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path()));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start();
        ASSERT_TRUE(program.waitForStarted(10000)) << signal;

        // Up once it handles the signal; a program that never does is killed by it below.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!catches(program.processId(), signal) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);

        if (!program.waitForFinished(30000)) {
            program.kill();
            program.waitForFinished();
            FAIL() << "signal " << signal << " did not end the program";
        }
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "signal " << signal;
        EXPECT_EQ(program.exitCode(), 0) << "signal " << signal;
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Bullets.vx!"}) << signal;
        // The window went the normal way; the user changed no preference, so none was written.
        EXPECT_EQ(namesIn(config.path()), std::set<std::string>{}) << signal;
    }
}

class TerminationDuringASave : public MainWindowTest {
protected:
    void SetUp() override { start(""); }
};

TEST_F(TerminationDuringASave, TheSaveFinishesBeforeTheSignalEndsTheLoop)
{
    fillVelocities({"300", "310", "290"}, "0,120");
    Form1->deviationPass(Form1->statisticsPass());
    const TerminationWatch watch;
    prompter.saveAnswers = {QString::fromStdString(dir.file("s.vxm"))};
    QTimer::singleShot(0, Form1, [] {
        ::raise(SIGTERM);
        Form1->Save1->trigger();
    });
    QTimer::singleShot(20000, Form1, [] { QCoreApplication::exit(1); });

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(readBytes(dir.file("s.vxm")), "1\r\n300\r\n5,4\r\n\r\n\r\n0,00\r\n"
                                            "2\r\n310\r\n5,77\r\n\r\n\r\n3,33\r\n"
                                            "3\r\n290\r\n5,05\r\n\r\n\r\n-3,33\r\n");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"Bullets.vx!", "s.vxm"}));
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
