#include "serial/os/fakedevice.h"

#include <algorithm>
#include <cstring>
#include <poll.h>

namespace serial {

std::vector<std::string> FakeLine::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<std::string> FakeLine::settingCalls() const
{
    std::vector<std::string> result;
    for (const std::string& call : calls())
        if (call.starts_with("setupComm") || call.starts_with("setCommState") ||
            call.starts_with("setCommTimeouts"))
            result.push_back(call.substr(0, call.find(' ')));
    return result;
}

void FakeLine::clearCalls()
{
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

DCB FakeLine::dcb() const
{
    std::lock_guard lock(m_mutex);
    return m_dcb;
}

COMMTIMEOUTS FakeLine::timeouts() const
{
    std::lock_guard lock(m_mutex);
    return m_timeouts;
}

std::uint32_t FakeLine::mask() const
{
    std::lock_guard lock(m_mutex);
    return m_mask;
}

int FakeLine::openCount() const
{
    std::lock_guard lock(m_mutex);
    return m_openCount;
}

std::string FakeLine::written() const
{
    std::lock_guard lock(m_mutex);
    return m_output;
}

void FakeLine::failOpen(int error)
{
    std::lock_guard lock(m_mutex);
    m_openError = error;
}

void FakeLine::fail(const std::string& operation, int error)
{
    std::lock_guard lock(m_mutex);
    m_failures[operation] = error;
}

void FakeLine::receive(const std::string& bytes, bool notify)
{
    {
        std::lock_guard lock(m_mutex);
        m_input += bytes;
        if (notify)
            m_pending |= EV_RXCHAR;
    }
    if (notify)
        m_arrived.set();
}

void FakeLine::raise(std::uint32_t events)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending |= events;
    }
    m_arrived.set();
}

void FakeLine::setModemStatus(std::uint32_t status)
{
    std::lock_guard lock(m_mutex);
    m_modem = status;
}

void FakeLine::setErrors(std::uint32_t errors)
{
    std::lock_guard lock(m_mutex);
    m_errors = errors;
}

int FakeLine::failure(const std::string& operation) const
{
    const auto it = m_failures.find(operation);
    return it == m_failures.end() ? 0 : it->second;
}

void FakeLine::record(std::string call)
{
    m_calls.push_back(std::move(call));
}

class FakeCommDevice final : public CommDevice {
public:
    explicit FakeCommDevice(std::shared_ptr<FakeLine> line)
        : m_line(std::move(line))
    {
    }

    ~FakeCommDevice() override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record("close");
    }

    int setupComm(int inQueue, int outQueue) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record("setupComm " + std::to_string(inQueue) + " " + std::to_string(outQueue));
        return m_line->failure("setupComm");
    }

    int setCommState(const DCB& dcb) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record("setCommState");
        if (int e = m_line->failure("setCommState"))
            return e;
        m_line->m_dcb = dcb;
        return 0;
    }

    int setCommTimeouts(const COMMTIMEOUTS& timeouts) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record("setCommTimeouts");
        if (int e = m_line->failure("setCommTimeouts"))
            return e;
        m_line->m_timeouts = timeouts;
        return 0;
    }

    int setCommMask(std::uint32_t mask) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record("setCommMask " + std::to_string(mask));
        m_line->m_mask = mask;
        return 0;
    }

    bool waitCommEvent(std::uint32_t& events, const Event& stop) override
    {
        events = 0;
        pollfd fds[2] = {{stop.fd(), POLLIN, 0}, {m_line->m_arrived.fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || fds[0].revents)
            return false;
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_arrived.reset();
        events = m_line->m_pending & m_line->m_mask;
        m_line->m_pending = 0;
        return true;
    }

    int read(void* buffer, int count, int& done) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record("read " + std::to_string(count));
        done = 0;
        if (int e = m_line->failure("read"))
            return e;
        const std::size_t n = std::min<std::size_t>(count, m_line->m_input.size());
        std::memcpy(buffer, m_line->m_input.data(), n);
        m_line->m_input.erase(0, n);
        done = static_cast<int>(n);
        return 0;
    }

    int write(const void* buffer, int count, int& done) override
    {
        return take("write", buffer, count, done);
    }

    // The fake line takes everything at once, so waiting or not makes no difference; only
    // the trace tells the two apart.
    int writeNow(const void* buffer, int count, int& done) override
    {
        return take("writeNow", buffer, count, done);
    }

    int purge(std::uint32_t flags) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record("purge " + std::to_string(flags));
        if (int e = m_line->failure("purge"))
            return e;
        if (flags & PURGE_RXCLEAR)
            m_line->m_input.clear();
        return 0;
    }

    int clearCommError(std::uint32_t& errors, int& inQueue) override
    {
        std::lock_guard lock(m_line->m_mutex);
        errors = 0;
        inQueue = 0;
        if (int e = m_line->failure("clearCommError"))
            return e;
        errors = m_line->m_errors;
        m_line->m_errors = 0;
        inQueue = static_cast<int>(m_line->m_input.size());
        return 0;
    }

    int getModemStatus(std::uint32_t& status) override
    {
        std::lock_guard lock(m_line->m_mutex);
        status = m_line->m_modem;
        return m_line->failure("getModemStatus");
    }

private:
    int take(const char* what, const void* buffer, int count, int& done)
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->record(std::string(what) + ' ' + std::to_string(count));
        done = 0;
        if (int e = m_line->failure("write"))
            return e;
        m_line->m_output.append(static_cast<const char*>(buffer), count);
        done = count;
        return 0;
    }

    std::shared_ptr<FakeLine> m_line;
};

DeviceOpener fakeOpener(std::shared_ptr<FakeLine> line)
{
    return [line](const std::string& port, int& error) -> std::unique_ptr<CommDevice> {
        std::lock_guard lock(line->m_mutex);
        line->record("open " + port);
        error = line->m_openError;
        if (error)
            return nullptr;
        ++line->m_openCount;
        return std::make_unique<FakeCommDevice>(line);
    };
}

} // namespace serial
