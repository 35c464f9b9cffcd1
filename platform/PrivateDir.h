#pragma once
// A private working directory (mode 0700, from mkdtemp) under the temporary
// directory, removed with its files when the object goes. Downloads keep
// their working files there, so parallel runs never share them.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace hpa {

class CPrivateDir {
public:
    // pszPrefix names the directory, e.g. "hpactl-fetch"; Path() is empty
    // when it could not be made.
    explicit CPrivateDir(const char* pszPrefix)
    {
        std::string strTemplate =
            (std::filesystem::temp_directory_path() / (std::string(pszPrefix) + "-XXXXXX"))
                .string();
        if (::mkdtemp(strTemplate.data()))
            m_path = strTemplate;
    }
    ~CPrivateDir()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    CPrivateDir(const CPrivateDir&) = delete;
    CPrivateDir& operator=(const CPrivateDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace hpa
