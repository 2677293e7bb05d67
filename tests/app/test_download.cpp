#include "app/forms.h"
#include "app/tform1.h"
#include "serial/comport.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class Download : public MainWindowTest {
protected:
    void SetUp() override { start("JSB Exact\r\n0,547\r\n"); }

    // Characters as the terminal passes them on, then the silence that ends a transmission.
    void transmit(std::string_view text)
    {
        for (char ch : text)
            Form1->ComTerminalChar(ch);
        EXPECT_EQ(Form1->Label1->text(), "Loading...");
        EXPECT_TRUE(Form1->Timer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!Form1->Timer->isActive(), 2000);
    }

    static constexpr char kTwoShots[] = "CHRONOLITE\r\nN  V\r\n  1   305\r\n  2   298\r\n";
};

TEST_F(Download, ShotsArriveAfterTheSilence)
{
    transmit(kTwoShots);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "298"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"0,547", "0,547"}));
    EXPECT_EQ(column(4), (std::vector<std::string>{"JSB Exact", "JSB Exact"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"25,4", "24,3"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"1,16", "-1,16"}));
    EXPECT_EQ(Form1->VmaxLabel->text(), "305");
    EXPECT_EQ(Form1->VminLabel->text(), "298");
    EXPECT_EQ(Form1->Label1->text(), "Loaded.");
    EXPECT_EQ(Form1->BitBtn1->text(), "Load!");
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_EQ(redraws, 1);

    transmit(kTwoShots);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Form1->VaLabel->text(), "301,50");

    prompter.messageAnswers = {MessageResult::Ok};
    Form1->New1->trigger();
    transmit(kTwoShots);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
}

TEST_F(Download, UnfilledWeightGivesInvalidEnergies)
{
    Form1->MaskEdit1->clear();
    transmit(kTwoShots);
    EXPECT_EQ(column(2), (std::vector<std::string>{"####", "####"}));
    EXPECT_EQ(labels().mid(3), QStringList(3, "####"));
}

TEST_F(Download, LineEndingWithASpaceStopsTheStatistics)
{
    transmit("h1\nh2\n1 305\n2 \n");
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", ""}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"25,4", "####"}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "'' is not a valid floating point value");
    EXPECT_EQ(Form1->VmaxLabel->text(), "###");
    EXPECT_EQ(redraws, 0);
}

TEST_F(Download, PauseSplitsTheTransmissionAndItsHeaderIsDroppedAgain)
{
    transmit("h1\nh2\n1 305\n");
    transmit("2 298\n3 301\n4 300\n");
    EXPECT_EQ(column(1), (std::vector<std::string>{"305", "300"}));
}

TEST_F(Download, LoadWithAMissingPortReportsAndKeepsWaiting)
{
    Form1->ComPort->SetPort("/nonexistent/ttyVEXOREL");
    Form1->BitBtn1->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "Vexorel!");
    EXPECT_EQ(Form1->Label1->text(), "Waiting...");
    EXPECT_EQ(Form1->BitBtn1->text(), "Stop");
    EXPECT_EQ(Form1->BitBtn1->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_FALSE(Form1->Button2->isEnabled());
    EXPECT_FALSE(Form1->ComPort->Connected());
    Form1->LOAD1->trigger();
    EXPECT_EQ(prompter.messages.size(), 2u) << "the next press tries to open again";
}

} // namespace
