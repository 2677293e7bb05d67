#include "support/wmfreader.h"

#include <algorithm>
#include <set>

namespace {

std::uint16_t word(const std::string& b, std::size_t i)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[2 * i]) |
                                      static_cast<unsigned char>(b[2 * i + 1]) << 8);
}

} // namespace

WmfFile readWmf(const std::string& bytes)
{
    WmfFile f;
    if (bytes.size() < 40 || bytes.size() % 2) {
        f.problems.push_back("too short or odd size");
        return f;
    }
    const std::size_t words = bytes.size() / 2;
    if (word(bytes, 0) != 0xCDD7 || word(bytes, 1) != 0x9AC6)
        f.problems.push_back("no placeable key");
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 10; ++i)
        sum ^= word(bytes, i);
    if (sum != word(bytes, 10))
        f.problems.push_back("placeable checksum");
    f.width = static_cast<std::int16_t>(word(bytes, 5)) - static_cast<std::int16_t>(word(bytes, 3));
    f.height =
        static_cast<std::int16_t>(word(bytes, 6)) - static_cast<std::int16_t>(word(bytes, 4));
    const std::size_t h = 11;
    if (word(bytes, h) != 1 || word(bytes, h + 1) != 9 || word(bytes, h + 2) != 0x0300)
        f.problems.push_back("metafile header");
    const std::uint32_t fileWords = word(bytes, h + 3) | (std::uint32_t(word(bytes, h + 4)) << 16);
    if (fileWords != words - h)
        f.problems.push_back("file size in words");
    f.objectCount = word(bytes, h + 5);
    const std::uint32_t maxRecord = word(bytes, h + 6) | (std::uint32_t(word(bytes, h + 7)) << 16);

    std::uint32_t largest = 0;
    std::set<std::uint16_t> live;
    std::size_t i = h + 9;
    bool sawEof = false;
    while (i + 3 <= words) {
        const std::uint32_t size = word(bytes, i) | (std::uint32_t(word(bytes, i + 1)) << 16);
        if (size < 3 || i + size > words) {
            f.problems.push_back("bad record size");
            return f;
        }
        WmfRecord r{word(bytes, i + 2), {}};
        for (std::size_t k = 3; k < size; ++k)
            r.params.push_back(word(bytes, i + k));
        largest = std::max(largest, size);
        switch (r.function) {
        case 0x02FA:
        case 0x02FB:
        case 0x02FC: {
            std::uint16_t slot = 0;
            while (live.count(slot))
                ++slot;
            live.insert(slot);
            if (slot >= f.objectCount)
                f.problems.push_back("object beyond the header's count");
            break;
        }
        case 0x012D:
            if (r.params.empty() || !live.count(r.params[0]))
                f.problems.push_back("select of a free slot");
            break;
        case 0x01F0:
            if (r.params.empty() || !live.erase(r.params[0]))
                f.problems.push_back("delete of a free slot");
            break;
        default:
            break;
        }
        f.records.push_back(std::move(r));
        i += size;
        if (f.records.back().function == 0) {
            sawEof = true;
            break;
        }
    }
    if (!sawEof || i != words)
        f.problems.push_back("no end record at the end");
    if (largest != maxRecord)
        f.problems.push_back("largest record field");
    return f;
}
