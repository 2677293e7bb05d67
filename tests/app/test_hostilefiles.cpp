// Files that are not what they claim: FIFOs, devices, giant lines. Each must be refused at
// once, with the session as it was and the start going on.

#include "app/forms.h"
#include "app/tform1.h"
#include "bullets/tform2.h"
#include "runtime/textfile.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A read that blocks would hang the test for ever; the alarm ends the run as a failure.
class AlarmGuard {
public:
    explicit AlarmGuard(unsigned seconds) { ::alarm(seconds); }
    ~AlarmGuard() { ::alarm(0); }
};

class HostileFiles : public MainWindowTest {
protected:
    // The open dialog adds ".vxm" to a name without a dot, so devices come as links.
    std::string device(const char* name, const char* target)
    {
        const std::string path = dir.file(name);
        EXPECT_EQ(::symlink(target, path.c_str()), 0);
        return path;
    }
    std::string fifo(const char* name)
    {
        const std::string path = dir.file(name);
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        return path;
    }
    void threeShots()
    {
        fillVelocities({"300", "310", "290"}, "0,120");
        Form1->deviationPass(Form1->statisticsPass());
        table::setCurrentFileName(dir.file("cur.vxm"));
        prompter.messages.clear();
        redraws = 0;
    }
    // Open answered OK to its question, then with `path`; the report is the last message.
    QString openExpectingRefusal(const std::string& path)
    {
        prompter.messageAnswers = {ui::MessageResult::Ok};
        prompter.openAnswers = {QString::fromStdString(path)};
        Form1->Open1->trigger();
        EXPECT_EQ(prompter.messages.size(), 2u);
        const QString text = prompter.messages.empty() ? QString() : prompter.messages.back().text;
        prompter.messages.clear();
        return text;
    }
    void expectSessionUnchanged()
    {
        EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));
        EXPECT_EQ(Form1->VmaxLabel->text(), "310");
        EXPECT_EQ(table::currentFileName(), dir.file("cur.vxm"));
        EXPECT_EQ(redraws, 0);
    }
};

TEST_F(HostileFiles, BulletListThatIsAFifoIsReportedAndTheStartGoesOn)
{
    const std::string path = fifo("Bullets.vx!");
    const AlarmGuard guard(30);
    start(std::nullopt);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              QString::fromStdString("'" + path + "' is not a regular file"));
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Critical);
    EXPECT_EQ(Form1->ComboBox1->count(), 0);
    EXPECT_EQ(Form1->weightText(), " ,   ");

    // The editor reads the same name; it reports and opens empty.
    prompter.onModal = [&](QDialog*) {
        Form2->show();
        EXPECT_EQ(Form2->Grid1->model()->rowCount(), 1);
        Form2->hide();
        return 0;
    };
    Form1->BulletListEditor1->trigger();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, prompter.messages[0].text);
}

TEST_F(HostileFiles, BulletListWithAGiantLineIsRefusedNamingTheLine)
{
    start("JSB\r\n0,547\r\nH&N\r\n" + std::string(rt::kMaxLineBytes + 1, '1') + "\r\n");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QString::fromStdString("'" + dir.file("Bullets.vx!") +
                                                                "' is not a bullet list (line 4)"));
    EXPECT_EQ(Form1->ComboBox1->count(), 0) << "as for a missing list";
}

TEST_F(HostileFiles, OpenOfAFifoOrADeviceIsRefusedAndChangesNothing)
{
    start("");
    threeShots();
    const std::string pipe = fifo("shots.vxm");
    const AlarmGuard guard(30);
    EXPECT_EQ(openExpectingRefusal(pipe),
              QString::fromStdString("'" + pipe + "' is not a regular file"));
    expectSessionUnchanged();
    const std::string zero = device("zero.vxm", "/dev/zero");
    EXPECT_EQ(openExpectingRefusal(zero),
              QString::fromStdString("'" + zero + "' is not a regular file"));
    expectSessionUnchanged();
    const std::string folder = dir.file("folder.vxm");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_EQ(openExpectingRefusal(folder),
              QString::fromStdString("'" + folder + "' is not a regular file"));
    expectSessionUnchanged();
}

TEST_F(HostileFiles, OpenOfAGiantLineIsRefusedNamingTheLine)
{
    start("");
    threeShots();
    dir.write("giant.vxm", "1\r\n300\r\n5,4\r\n0,1\r\nB\r\n0,00\r\n" +
                               std::string(rt::kMaxLineBytes + 1, '2') + "\r\n300\r\n");
    EXPECT_EQ(openExpectingRefusal(dir.file("giant.vxm")),
              QString::fromStdString("'" + dir.file("giant.vxm") +
                                     "' is not a measurement file (line 7)"));
    expectSessionUnchanged();

    // A line as long as allowed is a cell like any other.
    dir.write("long.vxm",
              "1\r\n300\r\n5,4\r\n0,1\r\n" + std::string(rt::kMaxLineBytes, 'B') + "\r\n0,00\r\n");
    prompter.messageAnswers = {ui::MessageResult::Ok};
    prompter.openAnswers = {QString::fromStdString(dir.file("long.vxm"))};
    Form1->Open1->trigger();
    EXPECT_EQ(prompter.messages.size(), 1u) << "only the question";
    EXPECT_EQ(Form1->table().cell(4, 1).size(), rt::kMaxLineBytes);
}

TEST_F(HostileFiles, ConversionErrorsQuoteAtMost64Characters)
{
    start("");
    const std::string velocity(5000, 'v');
    dir.write("bad.vxm", "1\r\n" + velocity + "\r\n5,4\r\n0,1\r\nB\r\n0,00\r\n");
    prompter.openAnswers = {QString::fromStdString(dir.file("bad.vxm"))};
    Form1->Open1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QString::fromStdString("'" + velocity.substr(0, 64) +
                                                                "' is not a valid integer value"));
}

TEST_F(HostileFiles, AddSeriesOfADeviceOrFifoIsRefusedWithoutReading)
{
    start("");
    const std::string pipe = fifo("series.vxm");
    const AlarmGuard guard(30);
    for (const std::string& path : {device("zero.vxm", "/dev/zero"), pipe}) {
        prompter.messages.clear();
        prompter.openAnswers = {QString::fromStdString(path)};
        Form1->Button9->click();
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text,
                  QString::fromStdString("'" + path + "' is not a regular file"));
        EXPECT_EQ(Form1->ListBox1->count(), 0);
    }
}

} // namespace
