#include "imports/fitfile.h"

#include "runtime/wholefile.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace imports {

namespace {

constexpr std::int64_t kFitEpochUnix = 631'065'600; // 1989-12-31 00:00:00 UTC
constexpr std::uint8_t kChronographFileType = 54;
constexpr std::uint16_t kFileIdMessage = 0;
constexpr std::uint16_t kSessionMessage = 387;
constexpr std::uint16_t kShotMessage = 388;
constexpr std::uint8_t kTimestampField = 253;
constexpr std::string_view kSignature = ".FIT";

// Record header bits.
constexpr std::uint8_t kCompressedTimestamp = 0x80;
constexpr std::uint8_t kDefinition = 0x40;
constexpr std::uint8_t kDeveloperFields = 0x20;

constexpr std::array<std::uint16_t, 256> makeCrcTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < table.size(); ++byte) {
        auto crc = static_cast<std::uint16_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>(crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1);
        table[byte] = crc;
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kCrcTable = makeCrcTable();

std::uint32_t unsignedValue(std::span<const std::uint8_t> bytes, bool bigEndian)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        value |= std::uint32_t{bytes[bigEndian ? bytes.size() - 1 - i : i]} << (8 * i);
    return value;
}

// The size each field this reader takes must have; nothing for the fields it steps over.
std::optional<std::uint8_t> takenFieldSize(std::uint16_t global, std::uint8_t field)
{
    switch (global) {
    case kFileIdMessage:
        if (field == 0)
            return 1;
        break;
    case kSessionMessage:
        if (field == kTimestampField || field == 0 || field == 1 || field == 2 || field == 5)
            return 4;
        if (field == 3)
            return 2;
        break;
    case kShotMessage:
        if (field == kTimestampField || field == 0)
            return 4;
        if (field == 1)
            return 2;
        break;
    default:
        break;
    }
    return std::nullopt;
}

struct TakenField {
    std::uint8_t number;
    std::uint8_t size;
    // From the first byte after the record header.
    std::size_t offset;
};

struct Definition {
    std::uint16_t global = 0;
    bool bigEndian = false;
    // The bytes of a data record after its header, developer fields included.
    std::size_t size = 0;
    std::vector<TakenField> fields;
};

// The values of one data record this reader takes, by field number; absent or all ones:
// nothing.
class TakenValues {
public:
    void set(std::uint8_t field, std::uint32_t value, std::uint8_t size)
    {
        const std::uint32_t invalid = size == 4 ? 0xFFFF'FFFF : (std::uint32_t{1} << 8 * size) - 1;
        if (value == invalid)
            return;
        if (field == kTimestampField)
            m_timestamp = value;
        else if (field < m_values.size())
            m_values[field] = value;
    }
    std::optional<std::uint32_t> timestamp() const { return m_timestamp; }
    std::optional<std::uint32_t> operator[](std::size_t field) const { return m_values[field]; }
    std::optional<std::uint16_t> narrow(std::size_t field) const
    {
        if (!m_values[field])
            return std::nullopt;
        return static_cast<std::uint16_t>(*m_values[field]);
    }

private:
    std::array<std::optional<std::uint32_t>, 6> m_values;
    std::optional<std::uint32_t> m_timestamp;
};

class FitReader {
public:
    FitReader(std::span<const std::uint8_t> bytes, const std::string& path)
        : m_bytes(bytes)
        , m_path(path)
    {
    }

    FitSession read()
    {
        const std::size_t end = recordsEnd();
        for (std::size_t at = m_bytes[0]; at < end;) {
            const std::uint8_t header = m_bytes[at];
            if (header & kCompressedTimestamp)
                at = readData(at, (header >> 5) & 0x03, header & 0x1F, end);
            else if (header & kDefinition)
                at = readDefinition(at, end);
            else
                at = readData(at, header & 0x0F, std::nullopt, end);
        }
        if (m_fileType != kChronographFileType || !m_chronographMessages)
            throw FitRefused(FitRefused::Reason::NotChronograph, m_path);
        return std::move(m_session);
    }

private:
    [[noreturn]] void damaged(std::size_t at) const
    {
        throw FitRefused(FitRefused::Reason::Damaged, m_path, at);
    }

    std::uint32_t littleEndian(std::size_t at, std::size_t size) const
    {
        return unsignedValue(m_bytes.subspan(at, size), false);
    }

    // Checks the header, the sizes and both CRCs; gives the end of the records.
    std::size_t recordsEnd() const
    {
        if (m_bytes.empty() || (m_bytes[0] != 12 && m_bytes[0] != 14))
            damaged(0);
        const std::size_t headerSize = m_bytes[0];
        if (m_bytes.size() < headerSize)
            damaged(m_bytes.size());
        if (!isFitHeader(m_bytes))
            damaged(8);
        if (headerSize == 14) {
            const std::uint32_t crc = littleEndian(12, 2);
            if (crc != 0 && crc != fitCrc(m_bytes.first(12)))
                damaged(12);
        }
        const std::uint64_t end = std::uint64_t{headerSize} + littleEndian(4, 4);
        if (m_bytes.size() < end + 2)
            damaged(m_bytes.size());
        if (m_bytes.size() > end + 2)
            damaged(end + 2);
        if (littleEndian(end, 2) != fitCrc(m_bytes.first(end)))
            damaged(end);
        return end;
    }

    std::size_t readDefinition(std::size_t at, std::size_t end)
    {
        // Header, reserved byte, architecture, global number (2 bytes), field count.
        if (end - at < 6)
            damaged(at);
        const std::uint8_t header = m_bytes[at];
        const std::uint8_t architecture = m_bytes[at + 2];
        if (architecture > 1)
            damaged(at + 2);
        Definition definition;
        definition.bigEndian = architecture == 1;
        definition.global = static_cast<std::uint16_t>(
            unsignedValue(m_bytes.subspan(at + 3, 2), definition.bigEndian));
        std::size_t pos = at + 6;
        const std::size_t fieldCount = m_bytes[at + 5];
        if ((end - pos) / 3 < fieldCount)
            damaged(at);
        for (std::size_t i = 0; i < fieldCount; ++i, pos += 3) {
            const std::uint8_t number = m_bytes[pos];
            const std::uint8_t size = m_bytes[pos + 1];
            if (size == 0)
                damaged(pos + 1);
            const std::optional<std::uint8_t> taken = takenFieldSize(definition.global, number);
            if (taken && size != *taken)
                damaged(pos + 1);
            // Any message's timestamp is the reference of compressed ones that follow.
            if (taken || (number == kTimestampField && size == 4))
                definition.fields.push_back({number, size, definition.size});
            definition.size += size;
        }
        if (header & kDeveloperFields) {
            if (end - pos < 1)
                damaged(at);
            const std::size_t developerCount = m_bytes[pos++];
            if ((end - pos) / 3 < developerCount)
                damaged(at);
            for (std::size_t i = 0; i < developerCount; ++i, pos += 3) {
                if (m_bytes[pos + 1] == 0)
                    damaged(pos + 1);
                definition.size += m_bytes[pos + 1];
            }
        }
        m_definitions[header & 0x0F] = std::move(definition);
        return pos;
    }

    std::size_t readData(std::size_t at, std::size_t local, std::optional<std::uint8_t> timeOffset,
                         std::size_t end)
    {
        const std::optional<Definition>& definition = m_definitions[local];
        if (!definition || end - at - 1 < definition->size)
            damaged(at);
        TakenValues values;
        for (const TakenField& field : definition->fields)
            values.set(field.number,
                       unsignedValue(m_bytes.subspan(at + 1 + field.offset, field.size),
                                     definition->bigEndian),
                       field.size);

        std::optional<std::int64_t> time;
        if (timeOffset && m_lastTime) {
            // The offset holds the low 5 bits of the time; fewer than the last time's mean
            // that they rolled over.
            std::int64_t next = (*m_lastTime & ~std::int64_t{0x1F}) + *timeOffset;
            if (*timeOffset < (*m_lastTime & 0x1F))
                next += 0x20;
            time = m_lastTime = next;
        }
        if (const std::optional<std::uint32_t> timestamp = values.timestamp())
            time = m_lastTime = *timestamp;
        const std::optional<std::int64_t> unixTime =
            time ? std::optional(*time + kFitEpochUnix) : std::nullopt;

        switch (definition->global) {
        case kFileIdMessage:
            m_fileType = values[0];
            break;
        case kSessionMessage:
            m_chronographMessages = true;
            takeSession(values, unixTime);
            break;
        case kShotMessage:
            m_chronographMessages = true;
            if (const std::optional<std::uint32_t> speed = values[0]) {
                if (m_session.shots.size() == kMaxImportShots)
                    throw FitRefused(FitRefused::Reason::TooManyShots, m_path, at);
                m_session.shots.push_back({*speed, values.narrow(1), unixTime});
            }
            break;
        default:
            break;
        }
        return at + 1 + definition->size;
    }

    // The device writes one session message; should there be more, a later value wins.
    void takeSession(const TakenValues& values, std::optional<std::int64_t> unixTime)
    {
        const auto take = [](auto& into, const auto& value) {
            if (value)
                into = value;
        };
        take(m_session.unixTime, unixTime);
        take(m_session.minSpeedMillimetresPerSecond, values[0]);
        take(m_session.maxSpeedMillimetresPerSecond, values[1]);
        take(m_session.averageSpeedMillimetresPerSecond, values[2]);
        take(m_session.shotCount, values.narrow(3));
        take(m_session.weightTenthGrains, values[5]);
    }

    std::span<const std::uint8_t> m_bytes;
    const std::string& m_path;
    std::array<std::optional<Definition>, 16> m_definitions;
    // In FIT seconds; compressed timestamps count from it.
    std::optional<std::int64_t> m_lastTime;
    std::optional<std::uint32_t> m_fileType;
    bool m_chronographMessages = false;
    FitSession m_session;
};

std::string refusalText(FitRefused::Reason reason, const std::string& path, std::size_t byte)
{
    const std::string file = "'" + path + "'";
    switch (reason) {
    case FitRefused::Reason::Damaged:
        return file + " is a damaged FIT file (byte " + std::to_string(byte) + ")";
    case FitRefused::Reason::NotChronograph:
        return file + " is a FIT file without chronograph shots";
    case FitRefused::Reason::TooManyShots:
        return file + " is not a valid Garmin Xero FIT file (byte " + std::to_string(byte) +
               "): more than " + std::to_string(kMaxImportShots) + " shots";
    case FitRefused::Reason::TooLarge:
        break;
    }
    return file + " is too large for a chronograph FIT file (more than " +
           std::to_string(kMaxFitFileBytes >> 20) + " MiB)";
}

} // namespace

FitRefused::FitRefused(Reason reason, std::string path, std::size_t byte)
    : ImportRefused(path, 0, refusalText(reason, path, byte))
    , m_reason(reason)
    , m_byte(byte)
{
}

bool isFitHeader(std::span<const std::uint8_t> head)
{
    return head.size() >= 12 && (head[0] == 12 || head[0] == 14) &&
           std::equal(kSignature.begin(), kSignature.end(), head.begin() + 8);
}

FitSession readFit(std::span<const std::uint8_t> bytes, const std::string& path)
{
    return FitReader(bytes, path).read();
}

FitSession readFitFile(const std::string& path)
{
    const std::optional<std::vector<std::uint8_t>> bytes =
        rt::readWholeFile(path, kMaxFitFileBytes);
    if (!bytes)
        throw FitRefused(FitRefused::Reason::TooLarge, path);
    return readFit(*bytes, path);
}

std::uint16_t fitCrc(std::span<const std::uint8_t> bytes, std::uint16_t crc)
{
    for (const std::uint8_t byte : bytes)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kCrcTable[(crc ^ byte) & 0xFF]);
    return crc;
}

} // namespace imports
