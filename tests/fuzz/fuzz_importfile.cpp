// Any bytes through the format test and whichever reader it picks: see importcheck.h.

#include "importcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return checkImport(data, size,
                       [](const std::string& path) { return imports::readImportFile(path); });
}
