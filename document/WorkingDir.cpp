#include "document/WorkingDir.h"

#include "accounting/Acc.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace hpa {

CWorkingDir g_workDir;

namespace {

bool IsPrivateDirOfOurs(const std::filesystem::path& dir)
{
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

} // namespace

std::filesystem::path RuntimeBaseDir()
{
    if (const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR"); pszRuntime && *pszRuntime) {
        std::filesystem::path dir(pszRuntime);
        if (dir.is_absolute() && IsPrivateDirOfOurs(dir))
            return dir;
    }
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : dir;
}

CWorkingDir::~CWorkingDir()
{
    Remove();
}

bool CWorkingDir::Create(const std::filesystem::path& base)
{
    if (IsCreated())
        return true;
    const std::filesystem::path parent = base.empty() ? RuntimeBaseDir() : base;
    // mkdtemp makes a new directory with mode 0700 under a name nobody can
    // have prepared for us.
    std::string strTemplate = (parent / "hpa-XXXXXX").string();
    if (!::mkdtemp(strTemplate.data()))
        return false;
    m_path = strTemplate;
    return true;
}

std::filesystem::path CWorkingDir::File(std::string_view strName) const
{
    return m_path.empty() ? std::filesystem::path(strName) : m_path / strName;
}

void CWorkingDir::DeleteWorkingFiles() const
{
    for (const char* pszName :
         {kDictionaryFileName, kStatusFileName, kPaperFileName, kJobFileName}) {
        std::error_code ec;
        std::filesystem::remove(File(pszName), ec);
    }
}

void CWorkingDir::Remove()
{
    if (m_path.empty())
        return;
    DeleteWorkingFiles();
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
    m_path.clear();
}

} // namespace hpa
