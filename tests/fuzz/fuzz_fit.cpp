// Any bytes read as a Xero FIT file must give a session the import can hold, or a refusal
// that names the file and a byte it has; never a crash, a hang or a leak. Mutated bytes
// rarely keep their CRCs, so each input is read twice: as it is, through a file, and with
// its sizes and CRCs made right, so that the fuzzer reaches the records.

#include "imports/fitfile.h"
#include "memfile.h"
#include "support/fitwriter.h"

#include <cstdlib>

namespace {

constexpr std::int64_t kFitEpochUnix = 631'065'600;

bool isDate(const std::optional<std::int64_t>& unixTime)
{
    return !unixTime || *unixTime >= kFitEpochUnix;
}

template <class Read>
void check(std::span<const std::uint8_t> bytes, const std::string& path, Read read)
{
    imports::FitSession session;
    try {
        session = read();
    } catch (const imports::FitRefused& refusal) {
        if (refusal.path() != path || refusal.line() != 0 || refusal.byte() > bytes.size() ||
            refusal.reason() == imports::FitRefused::Reason::TooLarge)
            std::abort();
        return;
    }
    if (!imports::isFitHeader(bytes) || session.shots.size() > imports::kMaxImportShots ||
        !isDate(session.unixTime) || session.weightTenthGrains == 0xFFFF'FFFF ||
        session.shotCount == 0xFFFF)
        std::abort();
    for (const imports::FitShot& shot : session.shots) {
        if (shot.speedMillimetresPerSecond == 0xFFFF'FFFF || shot.number == 0xFFFF ||
            !isDate(shot.unixTime))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemFile input(data, size);
    const std::span<const std::uint8_t> bytes(data, size);
    check(bytes, input.path(), [&] { return imports::readFitFile(input.path()); });
    const std::vector<std::uint8_t> resealed = resealFit({data, data + size});
    check(resealed, "resealed.fit", [&] { return imports::readFit(resealed, "resealed.fit"); });
    return 0;
}
