// Any bytes read as a MagnetoSpeed log: see importcheck.h.

#include "importcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return checkImport(data, size, readWith<imports::readMagnetoSpeed>);
}
