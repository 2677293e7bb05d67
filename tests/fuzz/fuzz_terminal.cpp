// Any bytes from the line, in any split into blocks, through the terminal of either
// emulation on an open port: the same characters reach OnChar whatever the split, the
// cursor stays on the screen, replies go out, and nothing overflows or grows unbounded.

#include "serial/comport.h"
#include "serial/comterminal.h"
#include "serial/os/fakedevice.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

class Terminal : public TComTerminal {
public:
    explicit Terminal(TTermEmulation emulation)
    {
        SetEmulation(emulation);
        OnChar = [this](TCustomComTerminal*, char ch) { chars += ch; };
    }
    void receive(std::string_view block)
    {
        rxBuf(reinterpret_cast<const AnsiChar*>(block.data()), static_cast<int>(block.size()));
        if (cursorColumn() < 1 || cursorColumn() > Columns() || cursorRow() < 1 ||
            cursorRow() > Rows())
            std::abort();
        if (escapeCodes() && escapeCodes()->data().size() > TEscapeCodes::maxSequenceText)
            std::abort();
    }
    std::string chars;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first byte picks the emulation and the screen, the second where the bytes split.
    const TTermEmulation emulation = (data[0] & 1) ? teVT52 : teVT100orANSI;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t split = bytes.empty() ? 0 : data[1] % (bytes.size() + 1);

    auto line = std::make_shared<serial::FakeLine>();
    TComPort port;
    port.setDeviceOpener(serial::fakeOpener(line));
    port.SetEvents({});
    port.Open();

    Terminal whole(emulation);
    whole.SetColumns(2 + (data[0] >> 1) % 255);
    whole.SetRows(2 + (data[0] >> 1) % 99);
    whole.SetWrapLines((data[0] & 0x80) != 0);
    whole.SetComPort(&port);
    whole.receive(bytes);

    Terminal split2(emulation);
    split2.receive(bytes.substr(0, split));
    split2.receive(bytes.substr(split));
    if (whole.chars != split2.chars)
        std::abort();
    whole.SetComPort(nullptr);
    port.Close();
    return 0;
}
