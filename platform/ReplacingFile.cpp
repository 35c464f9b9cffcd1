#include "platform/ReplacingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace hpa {

namespace {

// An existing target that is not a regular file (or a link to one).
bool IsSpecialFile(const std::filesystem::path& target)
{
    struct stat st {};
    return ::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

} // namespace

CReplacingFile::~CReplacingFile()
{
    Discard();
}

bool CReplacingFile::Open(const std::filesystem::path& target)
{
    Discard();
    m_target = target;
    m_bFailed = false;
    m_nErrno = 0;
    if (IsSpecialFile(target)) {
        m_pFile = std::fopen(target.c_str(), "wb");
        if (!m_pFile)
            m_nErrno = errno;
        return m_pFile != nullptr;
    }
    const std::filesystem::path dir =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::string strTemp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(strTemp.data());
    if (fd < 0) {
        m_nErrno = errno;
        return false;
    }
    const mode_t nMask = ::umask(0);
    ::umask(nMask);
    ::fchmod(fd, 0666 & ~nMask);
    m_pFile = ::fdopen(fd, "wb");
    if (!m_pFile) {
        m_nErrno = errno;
        ::close(fd);
        ::unlink(strTemp.c_str());
        return false;
    }
    m_strTemp = std::move(strTemp);
    return true;
}

bool CReplacingFile::Write(std::string_view bytes)
{
    if (!m_pFile || m_bFailed)
        return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_pFile) != bytes.size()) {
        m_bFailed = true;
        m_nErrno = errno ? errno : EIO;
    }
    return !m_bFailed;
}

bool CReplacingFile::Commit()
{
    if (!m_pFile)
        return false;
    errno = 0;
    const bool bFlushed = std::fflush(m_pFile) == 0;
    if (!bFlushed && !m_bFailed) {
        m_bFailed = true;
        m_nErrno = errno ? errno : EIO;
    }
    const bool bClosed = std::fclose(m_pFile) == 0;
    m_pFile = nullptr;
    if (!bClosed && !m_bFailed) {
        m_bFailed = true;
        m_nErrno = errno ? errno : EIO;
    }
    if (m_bFailed) {
        Discard();
        return false;
    }
    if (!m_strTemp.empty()) {
        if (std::rename(m_strTemp.c_str(), m_target.c_str()) != 0) {
            m_nErrno = errno;
            Discard();
            return false;
        }
        m_strTemp.clear();
    }
    return true;
}

void CReplacingFile::Discard()
{
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    if (!m_strTemp.empty()) {
        ::unlink(m_strTemp.c_str());
        m_strTemp.clear();
    }
}

} // namespace hpa
