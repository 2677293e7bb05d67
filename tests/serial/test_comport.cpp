// The port against the fake device: settings reach the device as they should, and the
// opening and closing sequences keep their order and their failures.
#include "serial/comport.h"
#include "serial/os/fakedevice.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace serial;

namespace {

struct FakePort : ::testing::Test {
    // Declared before the port: its destructor closes and still notifies.
    std::vector<std::string> log;
    TComLink link;
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    TComPort port;

    FakePort()
    {
        port.setDeviceOpener(fakeOpener(line));
        port.SetEvents({}); // no event thread unless a test wants one
        port.OnBeforeOpen = [this](TCustomComPort*) { log.push_back("beforeOpen"); };
        port.OnAfterOpen = [this](TCustomComPort*) { log.push_back("afterOpen"); };
        port.OnBeforeClose = [this](TCustomComPort*) { log.push_back("beforeClose"); };
        port.OnAfterClose = [this](TCustomComPort*) { log.push_back("afterClose"); };
        port.OnCTSChange = [this](TCustomComPort*, bool on) {
            log.push_back(on ? "CTS+" : "CTS-");
        };
        port.OnDSRChange = [this](TCustomComPort*, bool on) {
            log.push_back(on ? "DSR+" : "DSR-");
        };
        port.OnRLSDChange = [this](TCustomComPort*, bool on) {
            log.push_back(on ? "RLSD+" : "RLSD-");
        };
        link.OnConnectionChange = [this](TCustomComPort*, bool on) {
            log.push_back(on ? "link:open" : "link:close");
        };
        link.OnCTSChange = [this](TCustomComPort*, bool on) {
            log.push_back(on ? "link:CTS+" : "link:CTS-");
        };
    }
};

} // namespace

TEST(EComPortText, CodeTextAndSystemCode)
{
    EXPECT_STREQ(EComPort(1, 2).what(), "Unable to open com port (win error code: 2)");
    EXPECT_STREQ(EComPort(14).what(), "Cannot set property while connected");
    EXPECT_EQ(EComPort(14).WinCode(), -1);
    EXPECT_EQ(EComPort(23, 13).Code(), 23);
    EXPECT_EQ(comErrorText(8), "SetCommTimeouts failed");
    EXPECT_EQ(comErrorText(23), "Registry error");
}

TEST(ComEventMask, ConvertsBothWays)
{
    EXPECT_EQ(ComEventsToMask({evRxChar}), 0x0001u);
    EXPECT_EQ(ComEventsToMask(allComEvents), 0x05FFu);
    EXPECT_EQ(MaskToComEvents(0x0201), TComEvents{evRxChar});
    EXPECT_EQ(MaskToComEvents(0x05FF), allComEvents);
}

// A PortMessage runs the one event its value names; several bits, an unused bit or none run
// nothing.
TEST(ComEventMask, APortMessageNamesOneEventOrNone)
{
    for (TComEvent event : comEventOrder)
        EXPECT_EQ(portMessageEvent(ComEventsToMask(TComEvents{event})), event);
    for (std::uint32_t value : {0x0000u, 0x0003u, 0x0120u, 0x05FFu, 0x0200u, 0x0800u, 0x10001u})
        EXPECT_EQ(portMessageEvent(value), std::nullopt) << std::hex << value;
}

// --- the device control block

struct DcbCase {
    const char* name;
    std::function<void(TComPort&)> set;
    std::function<void(const DCB&)> check;
};

class DcbTable : public ::testing::TestWithParam<DcbCase> {};

TEST_P(DcbTable, FilledFieldByField)
{
    auto line = std::make_shared<FakeLine>();
    TComPort port;
    port.setDeviceOpener(fakeOpener(line));
    port.SetEvents({});
    GetParam().set(port);
    port.Open();
    GetParam().check(line->dcb());
    // Every setting reaches the device the same way when changed on an open port.
    TComPort other;
    other.setDeviceOpener(fakeOpener(line));
    other.SetEvents({});
    other.SetPort("other");
    other.Open();
    GetParam().set(other);
    GetParam().check(line->dcb());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DcbTable,
    ::testing::Values(DcbCase{"Defaults", [](TComPort&) {},
                              [](const DCB& d) {
                                  EXPECT_EQ(d.DCBlength, 28u);
                                  EXPECT_EQ(d.BaudRate, 9600u);
                                  EXPECT_EQ(d.Flags, dcbBinary);
                                  EXPECT_EQ(d.XonLim, 256);
                                  EXPECT_EQ(d.XoffLim, 256);
                                  EXPECT_EQ(d.ByteSize, 8);
                                  EXPECT_EQ(d.Parity, 0);
                                  EXPECT_EQ(d.StopBits, 0);
                                  EXPECT_EQ(d.XonChar, 17);
                                  EXPECT_EQ(d.XoffChar, 19);
                                  EXPECT_EQ(d.ErrorChar, 0);
                                  EXPECT_EQ(d.EofChar, 0);
                                  EXPECT_EQ(d.EvtChar, 0);
                              }},
                      DcbCase{"CustomRateUnchanged",
                              [](TComPort& p) {
                                  p.SetCustomBaudRate(31250);
                                  p.SetBaudRate(brCustom);
                              },
                              [](const DCB& d) { EXPECT_EQ(d.BaudRate, 31250u); }},
                      DcbCase{"TopRate", [](TComPort& p) { p.SetBaudRate(br256000); },
                              [](const DCB& d) { EXPECT_EQ(d.BaudRate, 256000u); }},
                      DcbCase{"FrameSettings",
                              [](TComPort& p) {
                                  p.SetDataBits(dbSeven);
                                  p.SetStopBits(sbTwoStopBits);
                                  p.Parity().SetBits(prSpace);
                              },
                              [](const DCB& d) {
                                  EXPECT_EQ(d.ByteSize, 7);
                                  EXPECT_EQ(d.StopBits, 2);
                                  EXPECT_EQ(d.Parity, 4);
                              }},
                      DcbCase{"CheckAndReplace",
                              [](TComPort& p) {
                                  p.Parity().SetReplaceChar('?');
                                  p.Parity().SetReplace(true);
                                  p.Parity().SetCheck(true);
                              },
                              [](const DCB& d) {
                                  EXPECT_TRUE(d.Flags & dcbParity);
                                  EXPECT_TRUE(d.Flags & dcbErrorChar);
                                  EXPECT_EQ(d.ErrorChar, '?');
                              }},
                      DcbCase{"ReplaceWithoutCheckSetsNothing",
                              [](TComPort& p) {
                                  p.Parity().SetReplaceChar('?');
                                  p.Parity().SetReplace(true);
                              },
                              [](const DCB& d) {
                                  EXPECT_FALSE(d.Flags & dcbParity);
                                  EXPECT_FALSE(d.Flags & dcbErrorChar);
                                  EXPECT_EQ(d.ErrorChar, 0);
                              }},
                      DcbCase{"FlowControlMembers",
                              [](TComPort& p) {
                                  TComFlowControl& f = p.FlowControl();
                                  f.SetOutCTSFlow(true);
                                  f.SetOutDSRFlow(true);
                                  f.SetControlDTR(dtrHandshake);
                                  f.SetControlRTS(rtsToggle);
                                  f.SetDSRSensitivity(true);
                                  f.SetTxContinueOnXoff(true);
                                  f.SetXonXoffOut(true);
                                  f.SetXonXoffIn(true);
                                  f.SetXonChar('a');
                                  f.SetXoffChar('b');
                              },
                              [](const DCB& d) {
                                  const std::uint32_t want =
                                      dcbBinary | dcbOutxCtsFlow | dcbOutxDsrFlow | (2u << 4) |
                                      dcbDsrSensitivity | dcbTXContinueOnXoff | dcbOutX | dcbInX |
                                      (3u << 12);
                                  EXPECT_EQ(d.Flags, want);
                                  EXPECT_EQ(dtrControl(d), dtrControlHandshake);
                                  EXPECT_EQ(rtsControl(d), rtsControlToggle);
                                  EXPECT_EQ(d.XonChar, 'a');
                                  EXPECT_EQ(d.XoffChar, 'b');
                              }},
                      DcbCase{"OthersAndQueueThresholds",
                              [](TComPort& p) {
                                  p.Buffer().SetInputSize(4001); // stored as 4000
                                  p.SetDiscardNull(true);
                                  p.SetEventChar('\n');
                              },
                              [](const DCB& d) {
                                  EXPECT_TRUE(d.Flags & dcbNull);
                                  EXPECT_EQ(d.EvtChar, '\n');
                                  EXPECT_EQ(d.XonLim, 1000);
                                  EXPECT_EQ(d.XoffLim, 1000);
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComBuffer, OddPositiveSizesAreRoundedDown)
{
    TComBuffer b;
    b.SetInputSize(1025);
    EXPECT_EQ(b.InputSize(), 1024);
    b.SetInputSize(-3);
    EXPECT_EQ(b.InputSize(), -3);
    b.SetOutputSize(7);
    EXPECT_EQ(b.OutputSize(), 6);
}

TEST(ComFlowControl, CombinedChoiceReadsOnlyItsFourMembers)
{
    TComFlowControl f;
    EXPECT_EQ(f.FlowControl(), fcNone);
    f.SetControlRTS(rtsHandshake);
    f.SetOutCTSFlow(true);
    f.SetOutDSRFlow(true);
    f.SetControlDTR(dtrEnable);
    EXPECT_EQ(f.FlowControl(), fcHardware);
    f.SetFlowControl(fcSoftware);
    EXPECT_EQ(f.FlowControl(), fcSoftware);
    EXPECT_TRUE(f.OutDSRFlow()); // not one of the four
    EXPECT_EQ(f.ControlDTR(), dtrEnable);
    f.SetFlowControl(fcNone);
    f.SetControlRTS(rtsEnable);
    EXPECT_EQ(f.FlowControl(), fcCustom);
    f.SetFlowControl(fcCustom);
    EXPECT_EQ(f.ControlRTS(), rtsEnable);
    f.SetFlowControl(fcHardware);
    EXPECT_EQ(f.ControlRTS(), rtsHandshake);
    EXPECT_TRUE(f.OutCTSFlow());
    EXPECT_FALSE(f.XonXoffIn());
}

TEST_F(FakePort, CustomFlowControlStillReappliesTheLineSettings)
{
    port.Open();
    line->clearCalls();
    port.FlowControl().SetFlowControl(fcCustom);
    port.FlowControl().SetFlowControl(fcCustom);
    EXPECT_EQ(line->settingCalls(), (std::vector<std::string>{"setCommState", "setCommState"}));
    port.SetBaudRate(br9600); // unchanged: nothing
    port.Timeouts().SetReadInterval(-1);
    EXPECT_EQ(line->settingCalls().size(), 2u);
}

TEST_F(FakePort, OpeningAppliesAllGroupsInOrderAndNotifies)
{
    line->setModemStatus(MS_CTS_ON | MS_RLSD_ON);
    port.RegisterLink(&link);
    port.Open();
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(line->settingCalls(),
              (std::vector<std::string>{"setupComm", "setCommState", "setCommTimeouts"}));
    const COMMTIMEOUTS t = line->timeouts();
    EXPECT_EQ(t.ReadIntervalTimeout, 0xFFFFFFFFu);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 100u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 1000u);
    EXPECT_EQ(log, (std::vector<std::string>{"beforeOpen", "link:open", "afterOpen", "link:CTS+",
                                             "CTS+", "DSR-", "RLSD+"}));
    log.clear();
    port.Open(); // already open: nothing
    EXPECT_TRUE(log.empty());
    port.Close();
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(log, (std::vector<std::string>{"link:CTS-", "CTS-", "DSR-", "RLSD-", "beforeClose",
                                             "link:close", "afterClose"}));
    log.clear();
    port.Close();
    EXPECT_TRUE(log.empty());
    port.UnregisterLink(&link);
}

TEST_F(FakePort, FailedOpenLeavesThePortClosedAndALaterOpenTriesAgain)
{
    port.RegisterLink(&link);
    line->failOpen(ENOENT);
    const auto e = thrown<EComPort>([&] { port.Open(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 1);
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(log, std::vector<std::string>{"beforeOpen"});
    line->failOpen(0);
    port.Open();
    EXPECT_TRUE(port.Connected());
    port.UnregisterLink(&link);
}

struct ApplyFailure {
    const char* operation;
    int code;
};

class ApplyFailures : public FakePort, public ::testing::WithParamInterface<ApplyFailure> {};

TEST_P(ApplyFailures, DuringOpenCloseTheDeviceAgain)
{
    line->fail(GetParam().operation, EINVAL);
    const auto e = thrown<EComPort>([&] { port.Open(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), GetParam().code);
    EXPECT_EQ(e->WinCode(), EINVAL);
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(line->calls().back(), "close");
    EXPECT_EQ(log, std::vector<std::string>{"beforeOpen"});
}

TEST_P(ApplyFailures, OnAnOpenPortKeepItOpenWithTheNewValue)
{
    port.Open();
    line->fail(GetParam().operation, EIO);
    port.BeginUpdate();
    port.SetBaudRate(br19200);
    EXPECT_THROW(port.EndUpdate(), EComPort);
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.BaudRate(), br19200);
    line->fail(GetParam().operation, 0);
    port.ApplySettings();
    EXPECT_EQ(line->dcb().BaudRate, 19200u);
}

INSTANTIATE_TEST_SUITE_P(Groups, ApplyFailures,
                         ::testing::Values(ApplyFailure{"setupComm", 9},
                                           ApplyFailure{"setCommState", 7},
                                           ApplyFailure{"setCommTimeouts", 8}),
                         [](const auto& info) { return std::string(info.param.operation); });

TEST_F(FakePort, BeginUpdateDefersEveryDeviceCallToTheLastEndUpdate)
{
    port.Open();
    line->clearCalls();
    port.BeginUpdate();
    port.BeginUpdate();
    port.SetBaudRate(br115200);
    port.Timeouts().SetReadInterval(10);
    port.Buffer().SetOutputSize(2048);
    port.EndUpdate();
    EXPECT_TRUE(line->calls().empty());
    port.EndUpdate();
    EXPECT_EQ(line->settingCalls(),
              (std::vector<std::string>{"setupComm", "setCommState", "setCommTimeouts"}));
    EXPECT_EQ(line->dcb().BaudRate, 115200u);
    EXPECT_EQ(line->timeouts().ReadIntervalTimeout, 10u);
    line->clearCalls();
    port.EndUpdate(); // surplus: nothing
    EXPECT_TRUE(line->calls().empty());
}

TEST_F(FakePort, OpenInsideAnUpdateAppliesNothingUntilItEnds)
{
    port.BeginUpdate();
    port.Open();
    EXPECT_TRUE(line->settingCalls().empty());
    port.EndUpdate();
    EXPECT_EQ(line->settingCalls().size(), 3u);
}

TEST_F(FakePort, SyncMethodCannotChangeWhileOpen)
{
    port.SetSyncMethod(smNone);
    EXPECT_EQ(port.SyncMethod(), smNone);
    port.Open();
    port.SetSyncMethod(smNone); // same value: fine
    const auto e = thrown<EComPort>([&] { port.SetSyncMethod(smWindowSync); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 14);
    EXPECT_EQ(e->WinCode(), -1);
    EXPECT_EQ(port.SyncMethod(), smNone);
}

TEST_F(FakePort, ChangingPortWhileOpenClosesAndReopens)
{
    port.Open();
    port.SetPort("COM1"); // the same text: nothing
    EXPECT_EQ(line->openCount(), 1);
    log.clear();
    line->clearCalls();
    port.SetPort("ttyUSB0");
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(line->calls().front(), "purge 3");
    EXPECT_EQ(line->calls()[1], "close");
    EXPECT_EQ(line->calls()[2], "open ttyUSB0");
    EXPECT_EQ(log, (std::vector<std::string>{"CTS-", "DSR-", "RLSD-", "beforeClose", "afterClose",
                                             "beforeOpen", "afterOpen", "CTS-", "DSR-", "RLSD-"}));
    port.Close();
    port.SetPort("ttyUSB1"); // closed: stored only
    EXPECT_EQ(line->openCount(), 2);
}

TEST_F(FakePort, FailedPurgeKeepsThePortOpen)
{
    port.Open();
    line->fail("purge", EIO);
    const auto e = thrown<EComPort>([&] { port.Close(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 5);
    EXPECT_TRUE(port.Connected());
    line->fail("purge", 0);
}

TEST_F(FakePort, LinkRegistrationTwiceOrMissingRaises18)
{
    port.RegisterLink(&link);
    const auto e = thrown<EComPort>([&] { port.RegisterLink(&link); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 18);
    EXPECT_STREQ(e->what(), "Link (un)registration failed");
    port.UnregisterLink(&link);
    EXPECT_THROW(port.UnregisterLink(&link), EComPort);
}

TEST_F(FakePort, LineErrorsMapBitsAndParityOnlyWhileChecked)
{
    port.Open();
    line->setErrors(CE_FRAME | CE_RXPARITY | CE_OVERRUN | CE_BREAK | CE_IOE | CE_MODE | CE_RXOVER |
                    CE_TXFULL | 0x20);
    TComErrors e = port.LineErrors();
    EXPECT_EQ(e, (TComErrors{ceFrame, ceOverrun, ceBreak, ceIOE, ceMode, ceRxOver, ceTxFull}));
    port.Parity().SetCheck(true);
    line->setErrors(CE_RXPARITY);
    EXPECT_EQ(port.LineErrors(), TComErrors{ceRxParity});
    EXPECT_TRUE(port.LineErrors().empty()); // read and cleared
}

TEST_F(FakePort, ModemSignalsMapStatusBits)
{
    port.Open();
    line->setModemStatus(MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON);
    EXPECT_EQ(port.ModemSignals(), (TComSignals{csCTS, csDSR, csRing, csRLSD}));
    line->fail("getModemStatus", EIO);
    const auto e = thrown<EComPort>([&] { port.ModemSignals(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 11);
    line->fail("getModemStatus", 0);
}

TEST_F(FakePort, RequestsCopyTheirBytesAndTellTheLinks)
{
    std::string txData;
    std::vector<std::string> activity;
    link.OnTxActivity = [&](TCustomComPort*, bool on) { activity.push_back(on ? "tx+" : "tx-"); };
    link.OnRxActivity = [&](TCustomComPort*, bool on) { activity.push_back(on ? "rx+" : "rx-"); };
    link.OnTxData = [&](TCustomComPort*, const AnsiChar* b, int n) {
        txData.assign(reinterpret_cast<const char*>(b), n);
    };
    port.RegisterLink(&link);
    port.Open();
    EXPECT_EQ(port.WriteText(""), 0);
    EXPECT_TRUE(activity.empty());
    EXPECT_EQ(port.WriteText("\x1b[0n"), 4);
    EXPECT_EQ(line->written(), "\x1b[0n");
    EXPECT_EQ(txData, "\x1b[0n");
    line->receive("abc", false);
    char buf[8];
    EXPECT_EQ(port.Read(buf, 8), 3);
    EXPECT_EQ(activity, (std::vector<std::string>{"tx+", "rx-"}));

    TComAsync* async = nullptr;
    EXPECT_THROW(port.ReadAsync(buf, 1, async), EComPort);
    NewAsync(async);
    EXPECT_EQ(port.WaitForAsync(async), 0); // never used: done at once
    line->fail("write", EIO);
    const auto e = thrown<EComPort>([&] { port.WriteAsync("x", 1, async); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 2);
    EXPECT_EQ(e->WinCode(), EIO);
    FreeAsync(async);
    EXPECT_EQ(async, nullptr);
    port.UnregisterLink(&link);
}

TEST_F(FakePort, EmptyEventsOpenWithoutAThread)
{
    port.RegisterLink(&link);
    port.Open();
    for (const std::string& call : line->calls())
        EXPECT_FALSE(call.starts_with("setCommMask")) << call;
    EXPECT_EQ(log[1], "link:open");
    port.Close();
    port.UnregisterLink(&link);
}
