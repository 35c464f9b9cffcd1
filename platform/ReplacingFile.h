#pragma once
// Writing a file so that a failure never costs the previous one: the bytes
// go to a temporary file beside the target, which replaces the target only
// after every write succeeded and the file was closed. A target that exists
// but is not a regular file (a device such as /dev/null, a FIFO) is written
// in place: renaming over it would replace the device node.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace hpa {

class CReplacingFile {
public:
    CReplacingFile() = default;
    // Removes the temporary file unless Commit succeeded.
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates the temporary file (mode 0666 less the umask, as a new file
    // would get). False when it cannot be created; Errno() says why.
    bool Open(const std::filesystem::path& target);
    // Buffered; false once any write failed (later writes are refused).
    bool Write(std::string_view bytes);
    // Flushes, closes and puts the file in place of the target. False (and
    // the target untouched) when any write, the close or the rename failed.
    bool Commit();
    int Errno() const { return m_nErrno; }

private:
    void Discard();

    std::FILE* m_pFile = nullptr;
    std::filesystem::path m_target;
    std::string m_strTemp; // empty when writing in place
    bool m_bFailed = false;
    int m_nErrno = 0;
};

} // namespace hpa
