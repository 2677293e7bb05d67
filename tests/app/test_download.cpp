// The download end to end: a real pseudo-terminal plays the chronograph, and the real main
// window receives through its port, event thread, terminal and timer.

#include "app/forms.h"
#include "app/tform1.h"
#include "serial/comport.h"
#include "serial/os/posixdevice.h"
#include "support/ptyline.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"

#include <QAction>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <grp.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Far longer than the silence that ends a transmission, also under sanitizers.
constexpr auto kPause = 400ms;

// The chronograph's end of the line, sending on a thread of its own.
class Chronograph {
public:
    ~Chronograph() { waitSent(); }
    const std::string& name() const { return m_line.name(); }

    // Sends the lines one by one, well apart compared with the 100 ms of silence; an empty
    // line stands for a pause of kPause.
    void send(std::vector<std::string> lines, std::chrono::milliseconds gap = 20ms)
    {
        waitSent();
        m_sent = false;
        m_sender = std::thread([this, lines = std::move(lines), gap] {
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            for (const std::string& line : lines) {
                std::this_thread::sleep_for(line.empty() ? kPause : gap);
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0 || !m_line.send(line, left))
                    break;
            }
            m_sent = true;
        });
    }
    // The other end goes away, as an unplugged adapter does.
    void hangUp()
    {
        waitSent();
        m_line.hangUp();
    }

    // Never join on the GUI thread while the port is open: the event thread may be waiting
    // for it, and the sender for the event thread.
    bool sent() const { return m_sent; }
    void waitSent()
    {
        if (m_sender.joinable())
            m_sender.join();
    }

private:
    PtyLine m_line;
    std::thread m_sender;
    std::atomic<bool> m_sent{false};
};

const std::vector<std::string> kTwoShots = {"CHRONOLITE v2.1\r\n", "N    V(m/s)\r\n",
                                            "  1   305\r\n", "  2   298\r\n"};

class DownloadOverPty : public MainWindowTest {
protected:
    void SetUp() override
    {
        start("JSB Exact\r\n0,547\r\n");
        ASSERT_FALSE(pty.name().empty());
        Form1->ComPort->SetPort(pty.name());
    }
    void TearDown() override
    {
        Form1->ComPort->Close();
        pty.waitSent();
        MainWindowTest::TearDown();
    }
    void waitLoaded()
    {
        QTRY_COMPARE_WITH_TIMEOUT(Form1->Label1->text(), QStringLiteral("Loaded."), 5000);
    }
    // Load!, the lines, and the silence that ends the transmission.
    void download(std::vector<std::string> lines)
    {
        Form1->BitBtn1->click();
        ASSERT_TRUE(Form1->ComPort->Connected());
        pty.send(std::move(lines));
        waitLoaded();
        pty.waitSent();
    }

    Chronograph pty;
};

TEST_F(DownloadOverPty, ShotsArriveInTheTable)
{
    Form1->BitBtn1->click();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(Form1->ComPort->Connected());
    EXPECT_EQ(Form1->Label1->text(), "Waiting...");
    EXPECT_EQ(Form1->BitBtn1->text(), "Stop");
    EXPECT_FALSE(Form1->Button2->isEnabled());

    pty.send(kTwoShots);
    QTRY_COMPARE_WITH_TIMEOUT(Form1->Label1->text(), QStringLiteral("Loading..."), 5000);
    waitLoaded();
    EXPECT_FALSE(Form1->ComPort->Connected());
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "298"}));
    EXPECT_EQ(column(4), (std::vector<std::string>{"JSB Exact", "JSB Exact"}));
    EXPECT_EQ(Form1->VmaxLabel->text(), "305");
    EXPECT_EQ(Form1->BitBtn1->text(), "Load!");
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_EQ(redraws, 1);
    // The chronograph sends what it stored: the download's moment dates the string, and the
    // shots get no times of their own.
    const QDateTime dated =
        QDateTime::fromString(QString::fromStdString(Form1->stringDetails().dateTime), Qt::ISODate);
    EXPECT_LE(std::abs(dated.secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_EQ(column(table::ColTime), (std::vector<std::string>{"", ""}));

    // The same again appends; escape sequences never reach the table.
    download({"\x1b[2JCHRONOLITE\r\n", "N V\r\n", "  1   3\x1b[1m01\r\n", "2 300\r\n"});
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "298", "301", "300"}));
    EXPECT_EQ(Form1->VaLabel->text(), "301,00");

    // After New the next download starts at row 1.
    prompter.messageAnswers = {ui::MessageResult::Ok};
    Form1->New1->trigger();
    download(kTwoShots);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
}

// Downloaded shots are in no file until saved: the close box asks before they are lost.
TEST_F(DownloadOverPty, ShotsAreUnsavedUntilSaved)
{
    Form1->show();
    download({"CHRONOLITE v2.1\r\n", "N    V(m/s)\r\n"});
    EXPECT_FALSE(table::hasUnsavedChanges()) << "a download without shots adds nothing";
    prompter.messages.clear(); // the statistics pass's report on the empty table
    download(kTwoShots);
    EXPECT_TRUE(table::hasUnsavedChanges());

    prompter.messageAnswers = {ui::MessageResult::Cancel};
    Form1->close();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Do you want save measurments before closing application?");
    EXPECT_TRUE(Form1->isVisible());

    prompter.saveAnswers = {QString::fromStdString(dir.file("shots.vxm"))};
    Form1->Save1->trigger();
    Form1->close();
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(DownloadOverPty, AppendsAfterAnOpenedSession)
{
    fillVelocities({"300", "301", "302", "303", "304"}, "0,547");
    download({"h\r\n", "h\r\n", "1 310\r\n", "2 311\r\n", "3 312\r\n"});
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(Form1->table().cell(1, 8), "312");
}

TEST_F(DownloadOverPty, UnfilledWeightGivesInvalidEnergies)
{
    Form1->setWeightText("");
    download(kTwoShots);
    EXPECT_EQ(column(2), (std::vector<std::string>{"####", "####"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{" ,   ", " ,   "}));
    EXPECT_EQ(labels().mid(3), QStringList(3, "####"));
}

TEST_F(DownloadOverPty, LineEndingWithASpaceStopsTheStatistics)
{
    download({"h1\n", "h2\n", "1 305\n", "2 \n"});
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", ""}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"25,4", "####"}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "'' is not a valid integer value");
    EXPECT_EQ(Form1->VmaxLabel->text(), "###");
    EXPECT_EQ(redraws, 0);
}

// A radar sends hundredths, with either separator. By hand at 0,547 g: 0.547 * 305.5^2 /
// 2000 = 25.53 and 0.547 * 304.5^2 / 2000 = 25.36; the mean is 915 / 3 = 305, so the
// deviations are +-0.5 / 305 * 100 = 0.16.
TEST_F(DownloadOverPty, DecimalVelocitiesAreShots)
{
    download({"h1\r\n", "h2\r\n", "1 305\r\n", "2 305.5\r\n", "3 304,5\r\n"});
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "305.5", "304,5"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"25,4", "25,5", "25,4"}));
    // 305.5 and 304.5 round away from zero, not to the even 306 and 304.
    EXPECT_EQ(labels(), (QStringList{"306", "305", "305,00", "25,50", "25,40", "25,43"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"0,00", "0,16", "-0,16"}));
    EXPECT_EQ(redraws, 1);
}

TEST_F(DownloadOverPty, PauseSplitsTheTransmissionAndItsHeaderIsDroppedAgain)
{
    Form1->BitBtn1->click();
    pty.send({"h1\n", "h2\n", "1 305\n", "", "2 298\n", "3 301\n", "4 300\n"});
    waitLoaded();
    EXPECT_EQ(column(1), (std::vector<std::string>{"305"}));
    Form1->BitBtn1->click(); // during the pause
    waitLoaded();
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "300"}));
}

TEST_F(DownloadOverPty, StopAfterCharactersStillConverts)
{
    Form1->BitBtn1->click();
    pty.send(kTwoShots);
    QTRY_COMPARE_WITH_TIMEOUT(Form1->reception().lines().size(), 4u, 5000);
    Form1->BitBtn1->click();
    EXPECT_FALSE(Form1->ComPort->Connected());
    waitLoaded();
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "298"}));
}

TEST_F(DownloadOverPty, LoadAgainWithinTheSilenceIsClosedByTheConversion)
{
    Form1->BitBtn1->click();
    pty.send(kTwoShots);
    QTRY_COMPARE_WITH_TIMEOUT(Form1->reception().lines().size(), 4u, 5000);
    Form1->BitBtn1->click(); // Stop
    Form1->BitBtn1->click(); // Load! again at once
    EXPECT_TRUE(Form1->ComPort->Connected());
    waitLoaded();
    EXPECT_FALSE(Form1->ComPort->Connected());
    EXPECT_EQ(Form1->BitBtn1->text(), "Load!");
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "298"}));
}

// What the indicators showed before Load!, to compare with after a failed opening.
struct Indicators {
    explicit Indicators(const TForm1* f)
        : status(f->Label1->text())
        , caption(f->BitBtn1->text())
        , colour(f->BitBtn1->palette().color(QPalette::ButtonText))
        , setupEnabled(f->Button2->isEnabled())
    {
    }
    bool operator==(const Indicators&) const = default;
    QString status;
    QString caption;
    QColor colour;
    bool setupEnabled;
};

void PrintTo(const Indicators& i, std::ostream* os)
{
    *os << i.status.toStdString() << " / " << i.caption.toStdString() << " "
        << i.colour.name().toStdString() << " / COM Setup " << i.setupEnabled;
}

const char kNoDevice[] = ": no such device; check the cable and the port chosen in COM Setup";

TEST_F(DownloadOverPty, MissingPortRestoresTheIndicatorsAndSaysWhy)
{
    const Indicators atStart(Form1);
    Form1->ComPort->SetPort("/nonexistent/ttyVEXOREL");
    Form1->BitBtn1->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "Vexorel!");
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Critical);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Unable to open com port (win error code: "
                                                        "2)\n/nonexistent/ttyVEXOREL") +
                                             kNoDevice);
    EXPECT_FALSE(Form1->ComPort->Connected());
    EXPECT_EQ(Indicators(Form1), atStart);
    EXPECT_EQ(Form1->Label1->text(), "Press button!");

    // The menu item is the same command; a name without a path is looked for under /dev.
    Form1->ComPort->SetPort("ttyVEXOREL_GONE");
    Form1->LOAD1->trigger();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text.section(QLatin1Char('\n'), 1),
              QStringLiteral("/dev/ttyVEXOREL_GONE") + kNoDevice);
    EXPECT_EQ(Indicators(Form1), atStart);

    // After a download the status it returns to is that download's.
    Form1->ComPort->SetPort(pty.name());
    download(kTwoShots);
    const Indicators loaded(Form1);
    Form1->ComPort->SetPort("/nonexistent/ttyVEXOREL");
    Form1->BitBtn1->click();
    EXPECT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(Indicators(Form1), loaded);
    EXPECT_EQ(Form1->Label1->text(), "Loaded.");
}

TEST_F(DownloadOverPty, PortInUseByAnotherProgramIsNamedAndUsableOnceFree)
{
    const Indicators atStart(Form1);
    // Another program holds the line: a second opening of the same pseudo-terminal.
    int error = 0;
    std::unique_ptr<serial::CommDevice> other = serial::openPosixDevice(pty.name(), error);
    ASSERT_TRUE(other) << error;
    Form1->BitBtn1->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    const QStringList lines = prompter.messages[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Unable to open com port (win error code: "))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString::fromStdString(pty.name()) +
                            ": in use by another program; close it and press Load! again");
    EXPECT_EQ(Indicators(Form1), atStart);

    other.reset();
    download(kTwoShots);
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "298"}));
}

TEST_F(DownloadOverPty, PermissionDeniedNamesTheDevicesGroupAndHowToJoinIt)
{
    // Root opens any device whatever its mode, so the refusal is the opener's; the device's
    // group is the system's.
    const group* dialout = getgrnam("dialout");
    dir.write("ttyLOCKED", "");
    const std::string path = dir.file("ttyLOCKED");
    if (!dialout || chown(path.c_str(), static_cast<uid_t>(-1), dialout->gr_gid) != 0)
        GTEST_SKIP() << "needs a file of the group dialout";
    Form1->ComPort->setDeviceOpener([](const std::string&, int& error) {
        error = EACCES;
        return std::unique_ptr<serial::CommDevice>();
    });
    const Indicators atStart(Form1);
    Form1->ComPort->SetPort(path);
    Form1->BitBtn1->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text.toStdString(),
              "Unable to open com port (win error code: 13)\n" + path +
                  ": permission denied; the device belongs to the group dialout: join it with "
                  "\"sudo usermod -aG dialout $USER\", then log out and log in again");
    EXPECT_EQ(Indicators(Form1), atStart);
}

TEST_F(DownloadOverPty, LineThatVanishesLeavesStopAndLoadWorking)
{
    Form1->BitBtn1->click();
    pty.send({"h1\n", "h2\n", "1 305\n"});
    QTRY_COMPARE_WITH_TIMEOUT(Form1->reception().lines().size(), 3u, 5000);
    pty.hangUp();
    QTest::qWait(50);
    Form1->BitBtn1->click(); // Stop
    EXPECT_FALSE(Form1->ComPort->Connected());
    waitLoaded();
    EXPECT_EQ(column(1), (std::vector<std::string>{"305"}));
    Form1->BitBtn1->click(); // Load! on a line that is gone: reported, no hang
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(Form1->ComPort->Connected());
}

TEST_F(DownloadOverPty, BinaryNoiseAndEndlessLinesKeepTheWindowResponsive)
{
    Form1->BitBtn1->click();
    std::string noise;
    for (int i = 0; i < 200000; ++i)
        noise += static_cast<char>((i * 7919) % 251 + 1);
    pty.send({noise, std::string(300000, 'x')}, 5ms);
    QTRY_VERIFY_WITH_TIMEOUT(pty.sent(), 15000);
    Form1->BitBtn1->click(); // Stop always works
    EXPECT_FALSE(Form1->ComPort->Connected());
    // A hand-over served inside the close may show "Loading..." after "Stoped."; the
    // conversion settles it.
    waitLoaded();
    EXPECT_EQ(Form1->BitBtn1->text(), "Load!");
}

// A device that floods terminal requests and never reads the replies fills its line after a
// few thousand; the window must go on serving its events, Stop among them.
TEST_F(DownloadOverPty, RequestFloodFromADeviceThatNeverReadsLeavesTheWindowResponsive)
{
    Form1->BitBtn1->click();
    ASSERT_TRUE(Form1->ComPort->Connected());
    // 13 bytes of replies to every 7 bytes of requests; each chunk ends with a plain "x".
    std::string chunk;
    for (int i = 0; i < 1000; ++i)
        chunk += "\x1b[c\x1b[6n";
    chunk += 'x';
    constexpr std::size_t kChunks = 40;

    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    sinceTick.start();
    probe.start();
    pty.send(std::vector<std::string>(kChunks, chunk), 5ms);

    // Near the end of the flood, long after the line is full, Stop is asked for.
    QTRY_VERIFY_WITH_TIMEOUT(Form1->reception().receivedLine().size() >= kChunks - 2, 30000);
    QElapsedTimer sinceAsked;
    qint64 stopAfter = -1;
    QTimer::singleShot(0, Form1, [&] {
        stopAfter = sinceAsked.elapsed();
        Form1->BitBtn1->click();
    });
    sinceAsked.start();
    QTRY_VERIFY_WITH_TIMEOUT(stopAfter >= 0, 30000);
    EXPECT_FALSE(Form1->ComPort->Connected());
    waitLoaded();
    probe.stop();
    // Bounds far above the 100 ms the window is built for, so that sanitizers and a busy
    // machine never make this flaky; a reply waiting for the line took seconds.
    EXPECT_LT(stopAfter, 1000);
    EXPECT_LT(longestGap, 1000);
}

// Counts at the end of an int in cursor moves are held, not overflowed; the shots around
// them arrive as usual.
TEST_F(DownloadOverPty, HugeCursorMovesAreHeld)
{
    download({"h1\r\n", "h2\r\n", "1 3\x1b[2147483647C05\r\n",
              "2 2\x1b[2147483647B9\x1b[99999999999A8\r\n",
              "3 \x1b[-2147483648;2147483647H301\r\n"});
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "298", "301"}));
}

// A runaway line keeps only its first 256 characters, and a transmission only its first
// 65,535 lines, two of them the header.
TEST_F(DownloadOverPty, RunawayLinesAreCut)
{
    download({"h1\n", "h2\n", "1 " + std::string(1000, '9') + "\n", "2 305\n"});
    EXPECT_EQ(column(1), (std::vector<std::string>{std::string(254, '9'), "305"}));

    prompter.messageAnswers = {ui::MessageResult::Ok};
    Form1->New1->trigger();
    prompter.messages.clear();
    std::string lines = "h1\nh2\n";
    for (int i = 0; i < 70000; ++i)
        lines += "1 " + std::to_string(300 + i % 10) + "\n";
    download({lines});
    EXPECT_EQ(Form1->table().rowCount(), 65534u);
    EXPECT_EQ(Form1->table().cell(0, 65533), "65533");
    EXPECT_EQ(Form1->table().cell(1, 65533), std::to_string(300 + 65532 % 10));
}

} // namespace
