// Any bytes read as a LabRadar series report: see importcheck.h.

#include "importcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return checkImport(data, size, readWith<imports::readLabRadar>);
}
