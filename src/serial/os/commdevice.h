#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace serial {

// The device control block: the line settings as the port hands them to a device, in the
// layout its users know (28 bytes). Flag bits of `Flags` are the dcb* constants below.
struct DCB {
    std::uint32_t DCBlength = 0;
    std::uint32_t BaudRate = 0;
    std::uint32_t Flags = 0;
    std::uint16_t wReserved = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t Parity = 0;
    std::uint8_t StopBits = 0;
    std::uint8_t XonChar = 0;
    std::uint8_t XoffChar = 0;
    std::uint8_t ErrorChar = 0;
    std::uint8_t EofChar = 0;
    std::uint8_t EvtChar = 0;
    std::uint16_t wReserved1 = 0;
};
static_assert(sizeof(DCB) == 28);

inline constexpr std::uint32_t dcbBinary = 1u << 0;
inline constexpr std::uint32_t dcbParity = 1u << 1;
inline constexpr std::uint32_t dcbOutxCtsFlow = 1u << 2;
inline constexpr std::uint32_t dcbOutxDsrFlow = 1u << 3;
inline constexpr int dcbDtrControlShift = 4; // two bits
inline constexpr std::uint32_t dcbDsrSensitivity = 1u << 6;
inline constexpr std::uint32_t dcbTXContinueOnXoff = 1u << 7;
inline constexpr std::uint32_t dcbOutX = 1u << 8;
inline constexpr std::uint32_t dcbInX = 1u << 9;
inline constexpr std::uint32_t dcbErrorChar = 1u << 10;
inline constexpr std::uint32_t dcbNull = 1u << 11;
inline constexpr int dcbRtsControlShift = 12; // two bits
inline constexpr std::uint32_t dcbAbortOnError = 1u << 14;

inline unsigned dtrControl(const DCB& dcb)
{
    return (dcb.Flags >> dcbDtrControlShift) & 3u;
}
inline unsigned rtsControl(const DCB& dcb)
{
    return (dcb.Flags >> dcbRtsControlShift) & 3u;
}

inline constexpr unsigned dtrControlDisable = 0, dtrControlEnable = 1, dtrControlHandshake = 2;
inline constexpr unsigned rtsControlDisable = 0, rtsControlEnable = 1, rtsControlHandshake = 2,
                          rtsControlToggle = 3;
inline constexpr unsigned noParity = 0, oddParity = 1, evenParity = 2, markParity = 3,
                          spaceParity = 4;
inline constexpr unsigned oneStopBit = 0, one5StopBits = 1, twoStopBits = 2;

// Communication timeouts in milliseconds; 0xFFFFFFFF in ReadIntervalTimeout with both read
// totals 0 means "return what is there".
struct COMMTIMEOUTS {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

// Event mask bits.
inline constexpr std::uint32_t EV_RXCHAR = 0x0001;
inline constexpr std::uint32_t EV_RXFLAG = 0x0002;
inline constexpr std::uint32_t EV_TXEMPTY = 0x0004;
inline constexpr std::uint32_t EV_CTS = 0x0008;
inline constexpr std::uint32_t EV_DSR = 0x0010;
inline constexpr std::uint32_t EV_RLSD = 0x0020;
inline constexpr std::uint32_t EV_BREAK = 0x0040;
inline constexpr std::uint32_t EV_ERR = 0x0080;
inline constexpr std::uint32_t EV_RING = 0x0100;
inline constexpr std::uint32_t EV_RX80FULL = 0x0400;

// Purge flags.
inline constexpr std::uint32_t PURGE_TXABORT = 1;
inline constexpr std::uint32_t PURGE_RXABORT = 2;
inline constexpr std::uint32_t PURGE_TXCLEAR = 4;
inline constexpr std::uint32_t PURGE_RXCLEAR = 8;

// Modem status bits.
inline constexpr std::uint32_t MS_CTS_ON = 0x10;
inline constexpr std::uint32_t MS_DSR_ON = 0x20;
inline constexpr std::uint32_t MS_RING_ON = 0x40;
inline constexpr std::uint32_t MS_RLSD_ON = 0x80;

// Line error bits.
inline constexpr std::uint32_t CE_RXOVER = 0x1;
inline constexpr std::uint32_t CE_OVERRUN = 0x2;
inline constexpr std::uint32_t CE_RXPARITY = 0x4;
inline constexpr std::uint32_t CE_FRAME = 0x8;
inline constexpr std::uint32_t CE_BREAK = 0x10;
inline constexpr std::uint32_t CE_TXFULL = 0x100;
inline constexpr std::uint32_t CE_IOE = 0x400;
inline constexpr std::uint32_t CE_MODE = 0x8000;

// A latched signal another thread can wait on with poll() (an eventfd): the event thread's
// stop event.
class Event {
public:
    Event();
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    bool isSet() const;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// An open serial device. Every call returns 0 or the errno of the failure. The settings
// calls, reads and writes come from the GUI thread (or the event thread under smNone);
// waitCommEvent from the event thread; implementations lock what both touch.
class CommDevice {
public:
    virtual ~CommDevice() = default;

    virtual int setupComm(int inQueue, int outQueue) = 0;
    virtual int setCommState(const DCB& dcb) = 0;
    virtual int setCommTimeouts(const COMMTIMEOUTS& timeouts) = 0;
    virtual int setCommMask(std::uint32_t mask) = 0;

    // Blocks until some events of the mask occur (stored in `events`, possibly 0 after a
    // wake-up that yielded nothing) or `stop` is set; returns false when stopped. The stop
    // event wins when both happen.
    virtual bool waitCommEvent(std::uint32_t& events, const Event& stop) = 0;

    // Both complete before returning, within the timeouts. A write that runs out of its
    // time returns ETIMEDOUT, with `done` the bytes the driver took.
    virtual int read(void* buffer, int count, int& done) = 0;
    virtual int write(const void* buffer, int count, int& done) = 0;
    // Hands the driver what it takes at once and never waits: `done` short of `count` is no
    // failure here, the rest is the caller's to drop.
    virtual int writeNow(const void* buffer, int count, int& done) = 0;

    virtual int purge(std::uint32_t flags) = 0;
    // Reads and clears the error bits; `inQueue` is the number of bytes waiting.
    virtual int clearCommError(std::uint32_t& errors, int& inQueue) = 0;
    virtual int getModemStatus(std::uint32_t& status) = 0;
};

// Opens a device by the port's name; on failure returns null and sets `error` to the errno.
using DeviceOpener =
    std::function<std::unique_ptr<CommDevice>(const std::string& port, int& error)>;

} // namespace serial
