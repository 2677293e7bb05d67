#include "runtime/asciitext.h"
#include "runtime/textfile.h"
#include "serial/comport.h"
#include "serial/inifile.h"
#include "serial/settingtexts.h"

#include <charconv>
#include <sys/stat.h>

namespace {

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool toInt(const std::string& text, int& value)
{
    const std::string t = trimmed(text);
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size() && !t.empty();
}

} // namespace

// --- TIniFile

TIniFile::TIniFile(std::string path)
    : m_path(std::move(path))
{
    struct stat st {};
    if (stat(m_path.c_str(), &st) != 0)
        return;
    rt::TextReader reader(m_path);
    Section* current = nullptr;
    while (!reader.eof()) {
        const std::string line = trimmed(reader.readLine());
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            m_sections.push_back({line.substr(1, line.size() - 2), {}});
            current = &m_sections.back();
            continue;
        }
        const auto eq = line.find('=');
        if (!current || eq == std::string::npos)
            continue;
        current->values.emplace_back(trimmed(line.substr(0, eq)), line.substr(eq + 1));
    }
}

const std::string* TIniFile::find(const std::string& section, const std::string& key) const
{
    for (const Section& s : m_sections)
        if (rt::sameText(s.name, section))
            for (const auto& [k, v] : s.values)
                if (rt::sameText(k, key))
                    return &v;
    return nullptr;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return find(section, key) != nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const
{
    const std::string* v = find(section, key);
    return v ? *v : fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    int value = 0;
    const std::string* v = find(section, key);
    return v && toInt(*v, value) ? value : fallback;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value)
{
    Section* target = nullptr;
    for (Section& s : m_sections)
        if (rt::sameText(s.name, section))
            target = &s;
    if (!target) {
        m_sections.push_back({section, {}});
        target = &m_sections.back();
    }
    bool replaced = false;
    for (auto& [k, v] : target->values)
        if (rt::sameText(k, key)) {
            v = value;
            replaced = true;
        }
    if (!replaced)
        target->values.emplace_back(key, value);
    save();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::save() const
{
    rt::TextWriter writer(m_path);
    for (const Section& s : m_sections) {
        writer.writeLine("[" + s.name + "]");
        for (const auto& [k, v] : s.values)
            writer.writeLine(k + "=" + v);
    }
    writer.close();
}

// --- TFileRegistryKey

namespace {
const std::string keySection = "Key";
}

TFileRegistryKey::TFileRegistryKey(std::string path)
    : m_file(std::move(path))
{
}

bool TFileRegistryKey::ValueExists(const std::string& name) const
{
    return m_file.ValueExists(keySection, name);
}

std::string TFileRegistryKey::ReadString(const std::string& name) const
{
    return m_file.ReadString(keySection, name, "");
}

int TFileRegistryKey::ReadInteger(const std::string& name) const
{
    return m_file.ReadInteger(keySection, name, 0);
}

void TFileRegistryKey::WriteString(const std::string& name, const std::string& value)
{
    m_file.WriteString(keySection, name, value);
}

void TFileRegistryKey::WriteInteger(const std::string& name, int value)
{
    m_file.WriteInteger(keySection, name, value);
}

// --- the port's settings store

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
    const TStoredGroups groups = port.StoredGroups();
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
        out.text("DiscardNull", BoolSettingText(port.DiscardNull()));
    }
    if (groups.contains(stParity)) {
        out.text("Parity.Check", BoolSettingText(port.Parity().Check()));
        out.text("Parity.Replace", BoolSettingText(port.Parity().Replace()));
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
        out.text("FlowControl.DSRSensitivity", BoolSettingText(f.DSRSensitivity()));
        out.text("FlowControl.OutCTSFlow", BoolSettingText(f.OutCTSFlow()));
        out.text("FlowControl.OutDSRFlow", BoolSettingText(f.OutDSRFlow()));
        out.text("FlowControl.TxContinueOnXoff", BoolSettingText(f.TxContinueOnXoff()));
        out.text("FlowControl.XonXoffIn", BoolSettingText(f.XonXoffIn()));
        out.text("FlowControl.XonXoffOut", BoolSettingText(f.XonXoffOut()));
        out.text("FlowControl.XoffChar", CharSettingText(f.XoffChar()));
        out.text("FlowControl.XonChar", CharSettingText(f.XonChar()));
    }
}

void load(TCustomComPort& port, const Source& in)
{
    const TStoredGroups groups = port.StoredGroups();
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
             [&](const std::string& v) { port.SetDiscardNull(ParseBoolSetting(v)); });
    }
    if (groups.contains(stParity)) {
        TComParity& p = port.Parity();
        text("Parity.Check", [&](const std::string& v) { p.SetCheck(ParseBoolSetting(v)); });
        text("Parity.Replace", [&](const std::string& v) { p.SetReplace(ParseBoolSetting(v)); });
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
            text(key, [&](const std::string& v) { (f.*set)(ParseBoolSetting(v)); });
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

void TCustomComPort::StoreToIniFile(TIniFile& ini)
{
    const std::string section = Name();
    store(*this,
          {[&](const std::string& k, const std::string& v) { ini.WriteString(section, k, v); },
           [&](const std::string& k, int v) { ini.WriteInteger(section, k, v); }});
}

void TCustomComPort::StoreToRegistry(TRegistryKey& key)
{
    store(*this, {[&](const std::string& k, const std::string& v) { key.WriteString(k, v); },
                  [&](const std::string& k, int v) { key.WriteInteger(k, v); }});
}

void TCustomComPort::LoadFromIniFile(TIniFile& ini)
{
    const std::string section = Name();
    load(*this, {[&](const std::string& k, std::string& v) {
                     if (!ini.ValueExists(section, k))
                         return false;
                     v = ini.ReadString(section, k, "");
                     return true;
                 },
                 [&](const std::string& k, int& v) {
                     // CustomBaudRate falls back to 9600; other numbers stay as they are.
                     if (k == "CustomBaudRate") {
                         v = ini.ReadInteger(section, k, 9600);
                         return true;
                     }
                     if (!ini.ValueExists(section, k))
                         return false;
                     v = ini.ReadInteger(section, k, 0);
                     return true;
                 }});
}

void TCustomComPort::LoadFromRegistry(TRegistryKey& key)
{
    // A missing value leaves its setting as it is, as from an INI file.
    load(*this, {[&](const std::string& k, std::string& v) {
                     if (!key.ValueExists(k))
                         return false;
                     v = key.ReadString(k);
                     return true;
                 },
                 [&](const std::string& k, int& v) {
                     if (!key.ValueExists(k))
                         return false;
                     v = key.ReadInteger(k);
                     return true;
                 }});
}
