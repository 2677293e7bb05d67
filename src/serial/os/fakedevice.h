#pragma once

#include "serial/os/commdevice.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace serial {

// The line a test scripts: what the port asked of its device, and what the device
// answers. Shared between the test and every device opened on it; all members are
// ui::guarded by `mutex` except through the helper methods, which lock themselves.
class FakeLine {
public:
    // Device calls in order ("setupComm 1024 1024", "setCommState", "purge 3" ...);
    // waits and queries (clearCommError, getModemStatus) are not recorded.
    std::vector<std::string> calls() const;
    // Only the three calls that apply settings.
    std::vector<std::string> settingCalls() const;
    void clearCalls();

    DCB dcb() const;
    COMMTIMEOUTS timeouts() const;
    std::uint32_t mask() const;
    int openCount() const;
    std::string written() const;

    // Scripting.
    void failOpen(int error);
    // Every later call of that operation fails with `error` (0 clears it).
    void fail(const std::string& operation, int error);
    // Bytes arrive; with `notify` the waiter wakes with EV_RXCHAR.
    void receive(const std::string& bytes, bool notify = true);
    // Wakes the waiter with these events at once (one wake-up).
    void raise(std::uint32_t events);
    void setModemStatus(std::uint32_t status);
    void setErrors(std::uint32_t errors);

private:
    friend class FakeCommDevice;
    friend DeviceOpener fakeOpener(std::shared_ptr<FakeLine> line);
    int failure(const std::string& operation) const;
    void record(std::string call);

    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
    std::map<std::string, int> m_failures;
    int m_openError = 0;
    int m_openCount = 0;
    DCB m_dcb{};
    COMMTIMEOUTS m_timeouts{};
    std::uint32_t m_mask = 0;
    std::string m_input;
    std::string m_output;
    std::uint32_t m_pending = 0;
    std::uint32_t m_modem = 0;
    std::uint32_t m_errors = 0;
    Event m_arrived;
};

// Opens devices on `line` whatever the port's name.
DeviceOpener fakeOpener(std::shared_ptr<FakeLine> line);

} // namespace serial
