// Any bytes read as a bullet file must load without crashing, every name and weight cut to
// at most 128 characters, and at least one pair.

#include "memfile.h"
#include "runtime/encoding.h"
#include "runtime/textfile.h"
#include "table/bulletlist.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemFile input(data, size);
    rt::TextReader reader(input.path());
    std::vector<table::BulletEntry> pairs;
    try {
        table::readBulletPairs(reader, input.path(), table::kMaxBulletTextLength,
                               [&](std::string_view name, std::string_view weight) {
                                   pairs.push_back({std::string(name), std::string(weight)});
                               });
    } catch (const table::NotBulletFile&) {
        return 0; // a line beyond the limit: refused, which is what it must be
    }
    if (pairs.empty())
        std::abort();
    for (const auto& pair : pairs) {
        if (rt::utf8Length(pair.name) > table::kMaxBulletTextLength ||
            rt::utf8Length(pair.weight) > table::kMaxBulletTextLength ||
            !rt::isValidUtf8(pair.name) || !rt::isValidUtf8(pair.weight))
            std::abort();
    }
    return 0;
}
