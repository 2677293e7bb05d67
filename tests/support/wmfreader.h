#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Walks a placeable metafile as a player would and checks what libwmf does not: the
// placeable checksum and the header's size, largest-record and object-count fields.
struct WmfRecord {
    std::uint16_t function;
    std::vector<std::uint16_t> params;
};

struct WmfFile {
    std::vector<std::string> problems; // empty when the file is sound
    std::uint16_t objectCount = 0;
    int width = 0, height = 0;
    std::vector<WmfRecord> records;
};

WmfFile readWmf(const std::string& bytes);
