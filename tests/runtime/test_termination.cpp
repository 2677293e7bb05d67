#include "runtime/atomicfile.h"
#include "runtime/termination.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

sighandler_t handlerOf(int signal)
{
    struct sigaction now {};
    EXPECT_EQ(::sigaction(signal, nullptr, &now), 0);
    return now.sa_handler;
}

TEST(TerminationSignals, EachSignalBecomesABytePendingUntilTakenAndTheOldHandlingComesBack)
{
    const sighandler_t before[] = {handlerOf(SIGTERM), handlerOf(SIGINT), handlerOf(SIGHUP)};
    {
        rt::TerminationSignals signals;
        EXPECT_EQ(signals.take(), 0);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
            ASSERT_EQ(::raise(signal), 0);
            EXPECT_EQ(signals.take(), signal);
            EXPECT_EQ(signals.take(), 0);
        }
        // Signals faster than the loop takes them fill the pipe, never block the handler.
        for (int i = 0; i < 100000; ++i)
            ::raise(SIGHUP);
        EXPECT_EQ(signals.take(), SIGHUP);
    }
    EXPECT_EQ(handlerOf(SIGTERM), before[0]);
    EXPECT_EQ(handlerOf(SIGINT), before[1]);
    EXPECT_EQ(handlerOf(SIGHUP), before[2]);
}

// In a child, so that a signal that still kills cannot take the test run with it.
TEST(TerminationSignals, SignalDuringASaveLeavesTheCompleteFileAndNoTemporary)
{
    TempDir dir;
    dir.write("f", "old");
    const std::string block(256 * 1024, 'x');
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rt::TerminationSignals signals;
        {
            rt::AtomicFile file(dir.file("f"));
            file.write(block);
            ::kill(::getpid(), SIGTERM);
            file.write(block);
            file.commit();
        }
        ::_exit(signals.take() == SIGTERM ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_TRUE(readBytes(dir.file("f")) == block + block) << "not the complete new file";
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";
}

} // namespace
