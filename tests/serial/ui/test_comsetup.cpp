// The port's setup dialog, driven offscreen through the scripted prompter, on ports over
// the fake device and a faked device tree for the port list.
#include "serial/comport.h"
#include "serial/os/fakedevice.h"
#include "serial/settingtexts.h"
#include "serial/ui/comcombobox.h"
#include "serial/ui/comsetupfrm.h"
#include "support/tempdir.h"
#include "support/ui/scriptedprompter.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

using namespace serial;
namespace fs = std::filesystem;

namespace {

struct SetupDialog : ::testing::Test {
    TempDir dir;
    std::string sys = dir.file("sys");
    std::string dev = dir.file("dev");
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    ScriptedPrompter prompter;
    TComPort port;

    SetupDialog()
    {
        fs::create_directories(sys);
        fs::create_directories(dev);
        addPort("ttyUSB0");
        TComSetupFrm::setPortListRoots(sys, dev);
        installComSetupDialog();
        port.setDeviceOpener(fakeOpener(line));
    }
    ~SetupDialog() override
    {
        TComSetupFrm::setPortListRoots("/sys/class/tty", "/dev");
        TCustomComPort::setSetupDialogRunner({});
    }
    void addPort(const std::string& name) { fs::create_directories(sys + "/" + name + "/device"); }

    // What the six lists show at the moment the dialog would appear.
    std::vector<std::string> shown;
    std::vector<std::string> portItems;

    // Opens the dialog; `user` plays the person in front of it and answers OK or Cancel.
    void run(const std::function<int(TComSetupFrm&)>& user)
    {
        prompter.onModal = [&](QDialog* dialog) {
            auto& form = *static_cast<TComSetupFrm*>(dialog);
            shown.clear();
            for (int n = 1; n <= 6; ++n)
                shown.push_back(form.combo(n)->currentText().toStdString());
            portItems.clear();
            for (int i = 0; i < form.Combo1->count(); ++i)
                portItems.push_back(form.Combo1->itemText(i).toStdString());
            return user(form);
        };
        port.ShowSetupDialog();
    }
};

void pick(TComComboBox* combo, const char* text)
{
    const int index = combo->findText(QString::fromUtf8(text));
    ASSERT_GE(index, 0) << text;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

struct PortState {
    std::string port;
    TBaudRate baud;
    TDataBits data;
    TStopBits stop;
    TParityBits parity;
    TFlowControl flow;
    bool operator==(const PortState&) const = default;
};

PortState stateOf(const TCustomComPort& p)
{
    return {p.Port(),     p.BaudRate(),      p.DataBits(),
            p.StopBits(), p.Parity().Bits(), p.FlowControl().FlowControl()};
}

} // namespace

TEST_F(SetupDialog, ShowsTheDefaultsAndNoPortWhenCom1IsNotPresent)
{
    run([](TComSetupFrm& form) {
        EXPECT_EQ(form.Combo1->currentIndex(), -1);
        EXPECT_EQ(form.Combo2->count(), 16);
        return int(QDialog::Rejected);
    });
    ASSERT_EQ(prompter.modalShown.size(), 1u);
    EXPECT_EQ(shown, (std::vector<std::string>{"", "9600", "8", "1", "None", "None"}));
    EXPECT_EQ(portItems, std::vector<std::string>{"ttyUSB0"});
}

TEST_F(SetupDialog, CancelAfterChangingEveryListAppliesNothing)
{
    port.SetPort("ttyUSB0");
    port.Open();
    line->clearCalls();
    const PortState before = stateOf(port);
    addPort("ttyACM0");
    run([](TComSetupFrm& form) {
        pick(form.Combo1, "ttyACM0");
        pick(form.Combo2, "115200");
        pick(form.Combo3, "7");
        pick(form.Combo4, "2");
        pick(form.Combo5, "Even");
        pick(form.Combo6, "Hardware");
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(stateOf(port), before);
    EXPECT_TRUE(line->calls().empty()) << "nothing reached the device";
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SetupDialog, OkWithoutChangesLeavesThePortAsItWas)
{
    port.SetPort("ttyUSB0");
    port.Open();
    const PortState before = stateOf(port);
    const DCB dcb = port.makeDcb();
    run([](TComSetupFrm&) { return int(QDialog::Accepted); });
    EXPECT_EQ(shown, (std::vector<std::string>{"ttyUSB0", "9600", "8", "1", "None", "None"}));
    EXPECT_EQ(stateOf(port), before);
    const DCB after = port.makeDcb();
    EXPECT_EQ(std::memcmp(&dcb, &after, sizeof dcb), 0);
    EXPECT_EQ(line->openCount(), 1) << "the same name does not reopen";
    EXPECT_TRUE(port.Connected());
}

TEST_F(SetupDialog, OkAppliesEveryChoiceInOneBatch)
{
    port.SetPort("ttyUSB0");
    port.Open();
    line->clearCalls();
    run([](TComSetupFrm& form) {
        pick(form.Combo2, "19200");
        pick(form.Combo3, "7");
        pick(form.Combo4, "2");
        pick(form.Combo5, "Odd");
        pick(form.Combo6, "Software");
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(stateOf(port),
              (PortState{"ttyUSB0", br19200, dbSeven, sbTwoStopBits, prOdd, fcSoftware}));
    const auto settings = line->settingCalls();
    EXPECT_EQ(std::count(settings.begin(), settings.end(), "setCommState"), 1)
        << "one application when the batch closes";
    EXPECT_EQ(line->dcb().BaudRate, 19200u);
}

TEST_F(SetupDialog, APortNotPresentShowsNoSelectionAndOkEmptiesTheName)
{
    run([](TComSetupFrm&) { return int(QDialog::Accepted); });
    EXPECT_EQ(shown[0], "");
    EXPECT_EQ(port.Port(), "");
}

TEST_F(SetupDialog, CustomRateAndCustomFlowControl)
{
    port.SetCustomBaudRate(31250);
    port.FlowControl().SetControlRTS(rtsHandshake);
    port.FlowControl().SetXonXoffOut(true);
    ASSERT_EQ(port.FlowControl().FlowControl(), fcCustom);
    run([](TComSetupFrm& form) {
        EXPECT_EQ(form.Combo6->currentText(), "Custom");
        pick(form.Combo2, "Custom");
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(port.BaudRate(), brCustom);
    EXPECT_EQ(port.makeDcb().BaudRate, 31250u);
    EXPECT_EQ(port.FlowControl().ControlRTS(), rtsHandshake);
    EXPECT_TRUE(port.FlowControl().XonXoffOut());
    EXPECT_FALSE(port.FlowControl().XonXoffIn());
    EXPECT_FALSE(port.FlowControl().OutCTSFlow());
}

TEST_F(SetupDialog, ThePortListIsReadAfreshAtEveryOpening)
{
    auto cancel = [](TComSetupFrm&) { return int(QDialog::Rejected); };
    run(cancel);
    EXPECT_EQ(portItems, std::vector<std::string>{"ttyUSB0"});
    addPort("ttyACM0");
    run(cancel);
    EXPECT_EQ(portItems, (std::vector<std::string>{"ttyACM0", "ttyUSB0"}));
    fs::remove_all(sys + "/ttyUSB0");
    run(cancel);
    EXPECT_EQ(portItems, std::vector<std::string>{"ttyACM0"});
}

TEST_F(SetupDialog, AnUnreadablePortListIsReportedAndNoDialogAppears)
{
    TComSetupFrm::setPortListRoots(dir.file("nothing"), dev);
    run([](TComSetupFrm&) { return int(QDialog::Accepted); });
    EXPECT_TRUE(prompter.modalShown.empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text.toStdString(),
              comErrorText(23) + " (win error code: " + std::to_string(ENOENT) + ")");
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Critical);
    EXPECT_EQ(port.Port(), "COM1");
}

TEST_F(SetupDialog, AnApplyErrorIsReportedAndStopsTheLaterChoices)
{
    port.SetPort("ttyUSB0");
    port.Open();
    addPort("ttyACM0");
    line->failOpen(ENOENT);
    run([](TComSetupFrm& form) {
        pick(form.Combo1, "ttyACM0");
        pick(form.Combo5, "Odd");
        return int(QDialog::Accepted);
    });
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text.toStdString(),
              "Unable to open com port (win error code: " + std::to_string(ENOENT) + ")");
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.Parity().Bits(), prNone) << "the choices after the failing one";
    // The batch was closed: a later setting of the open port reaches the device at once.
    line->failOpen(0);
    port.Open();
    line->clearCalls();
    port.SetDataBits(dbSeven);
    EXPECT_FALSE(line->settingCalls().empty());
    port.Close();
}

// --- the choice list on its own

TEST_F(SetupDialog, ComboFollowsItsPortAndLetsGoWhenThePortGoes)
{
    TComComboBox combo;
    combo.SetComProperty(cpParity);
    EXPECT_EQ(combo.currentIndex(), 0) << "no port: item 0";
    auto other = std::make_unique<TComPort>();
    other->Parity().SetBits(prMark);
    combo.SetComPort(other.get());
    EXPECT_EQ(combo.Text(), "Mark");
    combo.SetAutoApply(true);
    pick(&combo, "Space");
    EXPECT_EQ(other->Parity().Bits(), prSpace) << "AutoApply writes the pick at once";
    combo.SetText("odd");
    EXPECT_EQ(combo.currentText(), "Odd");
    combo.SetText("nonsense");
    EXPECT_EQ(combo.currentText(), "Odd");
    other.reset();
    EXPECT_EQ(combo.ComPort(), nullptr);
    EXPECT_EQ(combo.currentIndex(), 0);
    combo.ApplyChoice(); // no port: nothing happens
    combo.SetComProperty(cpNone);
    EXPECT_EQ(combo.count(), 0);
}
