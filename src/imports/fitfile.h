#pragma once

#include "imports/importfile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The Garmin Xero C1's shot sessions as the device stores them on its USB drive: FIT files,
// Garmin's binary format of definition and data records between a header and a CRC. Only
// what a chronograph file holds is taken; every other message is stepped over by its
// definition. Values stay the integers the device recorded, so nothing is lost to rounding.
namespace imports {

// A chronograph file of the most shots an import takes is under 1 MB; a file this large is
// something else, and is never read whole.
inline constexpr std::size_t kMaxFitFileBytes = 16 * 1024 * 1024;

struct FitShot {
    // m/s × 1000: 265391 is 265.391 m/s.
    std::uint32_t speedMillimetresPerSecond = 0;
    std::optional<std::uint16_t> number;
    // Seconds since 1970, from the shot's timestamp or from its compressed record header.
    std::optional<std::int64_t> unixTime;

    friend bool operator==(const FitShot&, const FitShot&) = default;
};

// Each value is absent where the file has none or records it as invalid (all ones).
struct FitSession {
    std::optional<std::int64_t> unixTime;
    std::optional<std::uint32_t> weightTenthGrains;
    // As the session message gives it; the shots read may differ.
    std::optional<std::uint16_t> shotCount;
    std::optional<std::uint32_t> minSpeedMillimetresPerSecond;
    std::optional<std::uint32_t> maxSpeedMillimetresPerSecond;
    std::optional<std::uint32_t> averageSpeedMillimetresPerSecond;
    // In the file's order. A shot message without a valid speed is no shot and is left out.
    std::vector<FitShot> shots;

    friend bool operator==(const FitSession&, const FitSession&) = default;
};

// A FIT file that cannot be imported. A FIT file has no lines: line() is 0, and byte() is the
// offset (from 0) where damage or the shot too many is found, 0 for the other reasons.
class FitRefused : public ImportRefused {
public:
    enum class Reason { Damaged, NotChronograph, TooManyShots, TooLarge };
    FitRefused(Reason reason, std::string path, std::size_t byte = 0);
    Reason reason() const { return m_reason; }
    std::size_t byte() const { return m_byte; }

private:
    Reason m_reason;
    std::size_t m_byte;
};

// The start of a file is a FIT header: its size byte says 12 or 14 and ".FIT" follows the
// sizes. Needs 12 bytes.
bool isFitHeader(std::span<const std::uint8_t> head);

// Reads a chronograph session. FitRefused for anything else: a damaged FIT file (a CRC that
// does not match, a cut file, a record past the end, data of an undefined local type, a
// definition of impossible sizes), a FIT file of another kind (an activity), more than
// kMaxImportShots shots. `path` only names the file in messages.
FitSession readFit(std::span<const std::uint8_t> bytes, const std::string& path);

// readFit of a file, which must be regular (rt::NotRegularFile otherwise; the runtime's errors
// if it cannot be read) and at most kMaxFitFileBytes long (FitRefused TooLarge).
FitSession readFitFile(const std::string& path);

// CRC-16/ARC as FIT files carry it (reflected polynomial 0xA001, initial value 0), going on
// from `crc`.
std::uint16_t fitCrc(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

} // namespace imports
