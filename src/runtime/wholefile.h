#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rt {

// Reads a binary file whole, for formats that are parsed in memory. As with text files, only
// a regular file opens (NotRegularFile otherwise) and opening never waits for a writer, as it
// would on a FIFO; failures throw InOutError with the runtime's texts. A file of more than
// maxBytes gives nothing, and no more than maxBytes + 1 bytes are ever read, whatever the
// file's size says, so neither a huge file nor one that grows while it is read fills the
// memory.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::size_t maxBytes);

// The first `bytes` bytes of a file opened as readWholeFile opens it (fewer for a shorter
// file), to tell its format by.
std::vector<std::uint8_t> readFileStart(const std::string& path, std::size_t bytes);

} // namespace rt
