#include "serial/inifile.h"
#include "serial/settingtexts.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

TEST(SettingTexts, NamesInTheirListOrder)
{
    std::vector<std::string> rates;
    for (int i = brCustom; i <= br256000; ++i)
        rates.push_back(BaudRateName(static_cast<TBaudRate>(i)));
    EXPECT_EQ(rates, (std::vector<std::string>{"Custom", "110", "300", "600", "1200", "2400",
                                               "4800", "9600", "14400", "19200", "38400", "56000",
                                               "57600", "115200", "128000", "256000"}));
    EXPECT_EQ(StopBitsName(sbOne5StopBits), "1.5");
    EXPECT_EQ(DataBitsName(dbFive), "5");
    EXPECT_EQ(ParityName(prSpace), "Space");
    EXPECT_EQ(FlowControlName(fcNone), "None");
    EXPECT_EQ(DTRControlName(dtrHandshake), "Handshake");
    EXPECT_EQ(RTSControlName(rtsToggle), "Toggle");
}

TEST(SettingTexts, ParsersIgnoreCaseAndFallBack)
{
    EXPECT_EQ(ParseBaudRate("custom"), brCustom);
    EXPECT_EQ(ParseBaudRate("115200"), br115200);
    EXPECT_EQ(ParseBaudRate("12345"), br9600);
    EXPECT_EQ(ParseBaudRate(""), br9600);
    EXPECT_EQ(ParseStopBits("1.5"), sbOne5StopBits);
    EXPECT_EQ(ParseStopBits("3"), sbOneStopBit);
    EXPECT_EQ(ParseDataBits("x"), dbEight);
    EXPECT_EQ(ParseParity("mArK"), prMark);
    EXPECT_EQ(ParseParity("?"), prNone);
    EXPECT_EQ(ParseFlowControl("HARDWARE"), fcHardware);
    EXPECT_EQ(ParseFlowControl("RTS/CTS"), fcCustom);
    EXPECT_EQ(ParseDTRControl("enable"), dtrEnable);
    EXPECT_EQ(ParseDTRControl("toggle"), dtrDisable);
    EXPECT_EQ(ParseRTSControl("toggle"), rtsToggle);
    // Every name parses back to its member.
    for (int i = brCustom; i <= br256000; ++i)
        EXPECT_EQ(ParseBaudRate(BaudRateName(static_cast<TBaudRate>(i))), i);
    for (int i = fcHardware; i <= fcCustom; ++i)
        EXPECT_EQ(ParseFlowControl(FlowControlName(static_cast<TFlowControl>(i))), i);
}

TEST(SettingTexts, CharacterSettings)
{
    const struct {
        int code;
        const char* text;
    } written[] = {{0, "#0"}, {10, "#10"},   {17, "#17"},   {32, "#32"},  {33, "!"},
                   {65, "A"}, {127, "\x7f"}, {128, "#128"}, {255, "#255"}};
    for (const auto& c : written)
        EXPECT_EQ(CharSettingText(static_cast<AnsiChar>(c.code)), c.text) << c.code;

    const struct {
        const char* text;
        int code;
    } parsed[] = {{"", 0},      {"#17", 17}, {"#300", 44}, {"#", '#'}, {"#a", 0},
                  {"ABC", 'A'}, {"#1x", 0},  {"#-1", 255}, {"!", '!'}};
    for (const auto& c : parsed)
        EXPECT_EQ(ParseCharSetting(c.text), c.code) << c.text;
    EXPECT_TRUE(parseBoolSetting("yes"));
    EXPECT_FALSE(parseBoolSetting("Y"));
    EXPECT_EQ(boolSettingText(false), "No");
}

// --- settings store

TEST(SettingsStore, IniFileRoundTripThroughEveryGroup)
{
    TempDir dir;
    TComPort stored;
    stored.SetStoredGroups({stBasic, stOthers, stParity, stBuffer, stTimeouts, stFlowControl});
    stored.SetPort("ttyUSB3");
    stored.SetCustomBaudRate(31250);
    stored.SetBaudRate(brCustom);
    stored.SetStopBits(sbTwoStopBits);
    stored.SetDataBits(dbSeven);
    stored.Parity().SetBits(prOdd);
    stored.Parity().SetCheck(true);
    stored.Parity().SetReplaceChar(' ');
    stored.SetEventChar('\n');
    stored.SetDiscardNull(true);
    stored.Buffer().SetInputSize(4096);
    stored.Timeouts().SetReadInterval(50);
    stored.FlowControl().SetFlowControl(fcHardware);
    stored.FlowControl().SetXonChar('Q');
    {
        IniFile ini(dir.file("port.ini"));
        stored.StoreToIniFile(ini);
    }
    const std::string text = readBytes(dir.file("port.ini"));
    EXPECT_NE(text.find("[ComPort]\r\nPort=ttyUSB3\r\nBaudRate=Custom\r\nCustomBaudRate=31250\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("EventChar=#10"), std::string::npos);

    TComPort loaded;
    loaded.SetStoredGroups(stored.StoredGroups());
    IniFile ini(dir.file("port.ini"));
    loaded.LoadFromIniFile(ini);
    EXPECT_EQ(loaded.Port(), "ttyUSB3");
    EXPECT_EQ(loaded.BaudRate(), brCustom);
    EXPECT_EQ(loaded.CustomBaudRate(), 31250);
    EXPECT_EQ(loaded.StopBits(), sbTwoStopBits);
    EXPECT_EQ(loaded.DataBits(), dbSeven);
    EXPECT_EQ(loaded.Parity().Bits(), prOdd);
    EXPECT_TRUE(loaded.Parity().Check());
    EXPECT_EQ(loaded.Parity().ReplaceChar(), ' ');
    EXPECT_EQ(loaded.EventChar(), '\n');
    EXPECT_TRUE(loaded.DiscardNull());
    EXPECT_EQ(loaded.Buffer().InputSize(), 4096);
    EXPECT_EQ(loaded.Timeouts().ReadInterval(), 50);
    EXPECT_EQ(loaded.FlowControl().FlowControl(), fcHardware);
    EXPECT_EQ(loaded.FlowControl().XonChar(), 'Q');
}

TEST(SettingsStore, MissingKeysLeaveSettingsAsTheyAre)
{
    TempDir dir;
    dir.write("port.ini", "[comport]\r\nbaudrate=57600\r\n");
    TComPort port;
    port.SetPort("ttyACM0");
    IniFile ini(dir.file("port.ini"));
    port.LoadFromIniFile(ini);
    EXPECT_EQ(port.BaudRate(), br57600);
    EXPECT_EQ(port.Port(), "ttyACM0");
}

TEST(SettingsStore, RegistryKeyRoundTrip)
{
    TempDir dir;
    TComPort stored;
    stored.SetStoredGroups({stBasic, stBuffer});
    stored.SetBaudRate(br115200);
    stored.Buffer().SetOutputSize(512);
    {
        FileRegistryKey key(dir.file("key"));
        stored.StoreToRegistry(key);
    }
    FileRegistryKey key(dir.file("key"));
    EXPECT_EQ(key.readInteger("Buffer.OutputSize"), 512);
    TComPort loaded;
    loaded.SetStoredGroups({stBasic, stBuffer});
    loaded.LoadFromRegistry(key);
    EXPECT_EQ(loaded.BaudRate(), br115200);
    EXPECT_EQ(loaded.Buffer().OutputSize(), 512);
    EXPECT_EQ(loaded.FlowControl().FlowControl(), fcNone);
}
