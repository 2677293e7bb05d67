// Any bytes read as a series file: a series of at least one record whose texts are cut to
// their limit, or a refusal; never a crash.

#include "charts/externalseries.h"
#include "memfile.h"
#include "runtime/encoding.h"
#include "runtime/errors.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemFile input(data, size);
    charts::ExternalSeries series;
    try {
        series = charts::readExternalSeries(input.path());
    } catch (const rt::Exception&) {
        return 0; // refused, not a measurement file, or unreadable: reported, never a crash
    }
    if (series.count() < 1)
        std::abort();
    for (std::size_t i = 0; i < series.count(); ++i) {
        for (std::string_view text : {series.v(i), series.e(i), series.dV(i)}) {
            if (rt::utf8Length(text) > charts::kValueChars)
                std::abort();
        }
    }
    return 0;
}
