// The Qt binding: an event thread's bytes reach a link through the Qt event loop alone.
#include "serial/comport.h"
#include "serial/ui/qthandover.h"
#include "support/ptyline.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

TEST(QtHandOver, TheEventLoopServesHandOvers)
{
    PtyLine line;
    QtHandOver binding;
    TComPort port;
    port.SetPort(line.name());
    std::string received;
    TComLink link;
    link.OnRxData = [&](TCustomComPort*, const AnsiChar* b, int n) {
        received.append(reinterpret_cast<const char*>(b), n);
        if (received.size() >= 6)
            QCoreApplication::quit();
    };
    port.RegisterLink(&link);
    port.Open();
    ASSERT_TRUE(line.send("v 812\n"));
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(received, "v 812\n");
    port.Close();
    port.UnregisterLink(&link);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
