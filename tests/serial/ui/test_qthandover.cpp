// The Qt binding: an event thread's bytes reach a link through the Qt event loop alone.
#include "serial/comport.h"
#include "serial/ui/qthandover.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

TEST(QtHandOver, TheEventLoopServesHandOvers)
{
    int master = -1, slave = -1;
    char path[256];
    ASSERT_EQ(openpty(&master, &slave, path, nullptr, nullptr), 0);
    termios t{};
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);

    QtHandOver binding;
    TComPort port;
    port.SetPort(path);
    std::string received;
    TComLink link;
    link.OnRxData = [&](TCustomComPort*, const AnsiChar* b, int n) {
        received.append(reinterpret_cast<const char*>(b), n);
        if (received.size() >= 6)
            QCoreApplication::quit();
    };
    port.RegisterLink(&link);
    port.Open();
    ASSERT_EQ(write(master, "v 812\n", 6), 6);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(received, "v 812\n");
    port.Close();
    port.UnregisterLink(&link);
    close(master);
    close(slave);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
