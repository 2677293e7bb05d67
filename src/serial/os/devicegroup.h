#pragma once

#include <string>

namespace serial {

// The name of the group that owns the file at `path`, as the system reports it ("dialout"),
// its number when the group has no name, or "" when the file cannot be examined.
std::string deviceGroup(const std::string& path);

} // namespace serial
