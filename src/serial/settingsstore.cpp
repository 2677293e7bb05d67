// The port's settings in an INI section or a registry key, by stored group.
#include "serial/comport.h"
#include "serial/inifile.h"
#include "serial/settingtexts.h"

namespace {

// One place for both stores: a writer and a reader of named texts and integers.
struct Sink {
    std::function<void(const std::string&, const std::string&)> text;
    std::function<void(const std::string&, int)> integer;
};
struct Source {
    // Each returns false for a missing value, which leaves the setting as it is.
    std::function<bool(const std::string&, std::string&)> text;
    std::function<bool(const std::string&, int&)> integer;
};

void store(TCustomComPort& port, const Sink& out)
{
    const StoredGroupSet groups = port.StoredGroups();
    if (groups.contains(stBasic)) {
        out.text("Port", port.Port());
        out.text("BaudRate", BaudRateName(port.BaudRate()));
        if (port.BaudRate() == brCustom)
            out.integer("CustomBaudRate", port.CustomBaudRate());
        out.text("StopBits", StopBitsName(port.StopBits()));
        out.text("DataBits", DataBitsName(port.DataBits()));
        out.text("Parity", ParityName(port.Parity().Bits()));
        out.text("FlowControl", FlowControlName(port.FlowControl().FlowControl()));
    }
    if (groups.contains(stOthers)) {
        out.text("EventChar", CharSettingText(port.EventChar()));
        out.text("DiscardNull", boolSettingText(port.DiscardNull()));
    }
    if (groups.contains(stParity)) {
        out.text("Parity.Check", boolSettingText(port.Parity().Check()));
        out.text("Parity.Replace", boolSettingText(port.Parity().Replace()));
        out.text("Parity.ReplaceChar", CharSettingText(port.Parity().ReplaceChar()));
    }
    if (groups.contains(stBuffer)) {
        out.integer("Buffer.OutputSize", port.Buffer().OutputSize());
        out.integer("Buffer.InputSize", port.Buffer().InputSize());
    }
    if (groups.contains(stTimeouts)) {
        const TComTimeouts& t = port.Timeouts();
        out.integer("Timeouts.ReadInterval", t.ReadInterval());
        out.integer("Timeouts.ReadTotalConstant", t.ReadTotalConstant());
        out.integer("Timeouts.ReadTotalMultiplier", t.ReadTotalMultiplier());
        out.integer("Timeouts.WriteTotalConstant", t.WriteTotalConstant());
        out.integer("Timeouts.WriteTotalMultiplier", t.WriteTotalMultiplier());
    }
    if (groups.contains(stFlowControl)) {
        const TComFlowControl& f = port.FlowControl();
        out.text("FlowControl.ControlRTS", RTSControlName(f.ControlRTS()));
        out.text("FlowControl.ControlDTR", DTRControlName(f.ControlDTR()));
        out.text("FlowControl.DSRSensitivity", boolSettingText(f.DSRSensitivity()));
        out.text("FlowControl.OutCTSFlow", boolSettingText(f.OutCTSFlow()));
        out.text("FlowControl.OutDSRFlow", boolSettingText(f.OutDSRFlow()));
        out.text("FlowControl.TxContinueOnXoff", boolSettingText(f.TxContinueOnXoff()));
        out.text("FlowControl.XonXoffIn", boolSettingText(f.XonXoffIn()));
        out.text("FlowControl.XonXoffOut", boolSettingText(f.XonXoffOut()));
        out.text("FlowControl.XoffChar", CharSettingText(f.XoffChar()));
        out.text("FlowControl.XonChar", CharSettingText(f.XonChar()));
    }
}

void load(TCustomComPort& port, const Source& in)
{
    const StoredGroupSet groups = port.StoredGroups();
    std::string s;
    int n = 0;
    auto text = [&](const char* key, auto apply) {
        if (in.text(key, s))
            apply(s);
    };
    auto integer = [&](const char* key, auto apply) {
        if (in.integer(key, n))
            apply(n);
    };
    if (groups.contains(stBasic)) {
        text("Port", [&](const std::string& v) { port.SetPort(v); });
        text("BaudRate", [&](const std::string& v) { port.SetBaudRate(ParseBaudRate(v)); });
        if (port.BaudRate() == brCustom)
            integer("CustomBaudRate", [&](int v) { port.SetCustomBaudRate(v); });
        text("StopBits", [&](const std::string& v) { port.SetStopBits(ParseStopBits(v)); });
        text("DataBits", [&](const std::string& v) { port.SetDataBits(ParseDataBits(v)); });
        text("Parity", [&](const std::string& v) { port.Parity().SetBits(ParseParity(v)); });
        text("FlowControl",
             [&](const std::string& v) { port.FlowControl().SetFlowControl(ParseFlowControl(v)); });
    }
    if (groups.contains(stOthers)) {
        text("EventChar", [&](const std::string& v) { port.SetEventChar(ParseCharSetting(v)); });
        text("DiscardNull",
             [&](const std::string& v) { port.SetDiscardNull(parseBoolSetting(v)); });
    }
    if (groups.contains(stParity)) {
        TComParity& p = port.Parity();
        text("Parity.Check", [&](const std::string& v) { p.SetCheck(parseBoolSetting(v)); });
        text("Parity.Replace", [&](const std::string& v) { p.SetReplace(parseBoolSetting(v)); });
        text("Parity.ReplaceChar",
             [&](const std::string& v) { p.SetReplaceChar(ParseCharSetting(v)); });
    }
    if (groups.contains(stBuffer)) {
        integer("Buffer.OutputSize", [&](int v) { port.Buffer().SetOutputSize(v); });
        integer("Buffer.InputSize", [&](int v) { port.Buffer().SetInputSize(v); });
    }
    if (groups.contains(stTimeouts)) {
        TComTimeouts& t = port.Timeouts();
        integer("Timeouts.ReadInterval", [&](int v) { t.SetReadInterval(v); });
        integer("Timeouts.ReadTotalConstant", [&](int v) { t.SetReadTotalConstant(v); });
        integer("Timeouts.ReadTotalMultiplier", [&](int v) { t.SetReadTotalMultiplier(v); });
        integer("Timeouts.WriteTotalConstant", [&](int v) { t.SetWriteTotalConstant(v); });
        integer("Timeouts.WriteTotalMultiplier", [&](int v) { t.SetWriteTotalMultiplier(v); });
    }
    if (groups.contains(stFlowControl)) {
        TComFlowControl& f = port.FlowControl();
        auto flag = [&](const char* key, void (TComFlowControl::*set)(bool)) {
            text(key, [&](const std::string& v) { (f.*set)(parseBoolSetting(v)); });
        };
        text("FlowControl.ControlRTS",
             [&](const std::string& v) { f.SetControlRTS(ParseRTSControl(v)); });
        text("FlowControl.ControlDTR",
             [&](const std::string& v) { f.SetControlDTR(ParseDTRControl(v)); });
        flag("FlowControl.DSRSensitivity", &TComFlowControl::SetDSRSensitivity);
        flag("FlowControl.OutCTSFlow", &TComFlowControl::SetOutCTSFlow);
        flag("FlowControl.OutDSRFlow", &TComFlowControl::SetOutDSRFlow);
        flag("FlowControl.TxContinueOnXoff", &TComFlowControl::SetTxContinueOnXoff);
        flag("FlowControl.XonXoffIn", &TComFlowControl::SetXonXoffIn);
        flag("FlowControl.XonXoffOut", &TComFlowControl::SetXonXoffOut);
        text("FlowControl.XoffChar",
             [&](const std::string& v) { f.SetXoffChar(ParseCharSetting(v)); });
        text("FlowControl.XonChar",
             [&](const std::string& v) { f.SetXonChar(ParseCharSetting(v)); });
    }
}

} // namespace

void TCustomComPort::StoreToIniFile(IniFile& ini)
{
    const std::string section = name();
    store(*this,
          {[&](const std::string& k, const std::string& v) { ini.writeString(section, k, v); },
           [&](const std::string& k, int v) { ini.writeInteger(section, k, v); }});
}

void TCustomComPort::StoreToRegistry(RegistryKey& key)
{
    store(*this, {[&](const std::string& k, const std::string& v) { key.writeString(k, v); },
                  [&](const std::string& k, int v) { key.writeInteger(k, v); }});
}

void TCustomComPort::LoadFromIniFile(IniFile& ini)
{
    const std::string section = name();
    load(*this, {[&](const std::string& k, std::string& v) {
                     if (!ini.valueExists(section, k))
                         return false;
                     v = ini.readString(section, k, "");
                     return true;
                 },
                 [&](const std::string& k, int& v) {
                     // CustomBaudRate falls back to 9600; other numbers stay as they are.
                     if (k == "CustomBaudRate") {
                         v = ini.readInteger(section, k, 9600);
                         return true;
                     }
                     if (!ini.valueExists(section, k))
                         return false;
                     v = ini.readInteger(section, k, 0);
                     return true;
                 }});
}

void TCustomComPort::LoadFromRegistry(RegistryKey& key)
{
    // A missing value leaves its setting as it is, as from an INI file.
    load(*this, {[&](const std::string& k, std::string& v) {
                     if (!key.valueExists(k))
                         return false;
                     v = key.readString(k);
                     return true;
                 },
                 [&](const std::string& k, int& v) {
                     if (!key.valueExists(k))
                         return false;
                     v = key.readInteger(k);
                     return true;
                 }});
}
