#pragma once

#include <string>
#include <string_view>

namespace rt {

// Replaces a file as a whole: the bytes go to a temporary file in the target's folder,
// which is renamed over the target only once it is complete and on disk. A failure at any
// step leaves the previous file as it was. The new file keeps the old one's permissions,
// and a symbolic link is written through to its target rather than replaced, except another
// user's link in a sticky folder open to everyone (/tmp), which is refused as the kernel's
// protected-symlinks rule refuses it. Only a regular file that the user may write is
// replaced; anything else is refused with EACCES before a byte is written.
//
// Every failing step throws InOutError with the errno of the call.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::string_view bytes);
    // Puts the file in place; without it the destructor discards the temporary file.
    void commit();

    // The file that is really replaced (the link's target for a symbolic link).
    const std::string& targetPath() const { return m_target; }

private:
    void flushBuffer();
    void discard() noexcept;

    std::string m_target;
    std::string m_tempPath;
    std::string m_buffer;
    int m_fd = -1;
};

// Follows symbolic links (also dangling ones, and those on the way) to the path that a write
// would replace, under the sticky-folder rule above.
std::string resolveLinkTarget(const std::string& path);

// Writes an exported file (a picture, a spreadsheet, a report) whole through AtomicFile. Any
// failure raises Exception "Cannot create file <path>": the text a user knows from saving
// pictures, where the errno's own text would say less.
void createFile(const std::string& path, std::string_view bytes);

} // namespace rt
