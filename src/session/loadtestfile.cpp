#include "session/loadtestfile.h"

#include "runtime/asciitext.h"
#include "session/loadtestfields.h"

#include <algorithm>

namespace session {

NotLoadTestFile::NotLoadTestFile(std::string path, std::size_t line)
    : Exception("'" + path + "' is not a Vexorel load test (line " + std::to_string(line) + ")")
    , m_path(std::move(path))
    , m_line(line)
{
}

NewerLoadTestFile::NewerLoadTestFile(std::string path, std::uint64_t version)
    : Exception("'" + path + "' is a Vexorel load test of version " + std::to_string(version) +
                "; this program reads version " + std::to_string(kLoadTestVersion))
    , m_path(std::move(path))
    , m_version(version)
{
}

bool isLoadTestName(const std::string& path)
{
    return rt::endsWithText(path, ".vxl");
}

namespace loadtestfields {

std::string_view kindName(VariableKind kind)
{
    return kKinds[static_cast<std::size_t>(kind)];
}

std::optional<VariableKind> kindNamed(std::string_view name)
{
    const auto at = std::find(kKinds.begin(), kKinds.end(), name);
    if (at == kKinds.end())
        return std::nullopt;
    return static_cast<VariableKind>(at - kKinds.begin());
}

} // namespace loadtestfields

} // namespace session
