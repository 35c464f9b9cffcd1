#pragma once
// A private temporary directory removed with everything in it at scope end.
#include <filesystem>
#include <string>

namespace hpa::test {

class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes bytes to a file below the directory and returns its path.
    std::filesystem::path Write(const std::string& strName, const std::string& strBytes) const;
    // Reads a whole file as bytes.
    static std::string Read(const std::filesystem::path& path);

private:
    std::filesystem::path m_path;
};

} // namespace hpa::test
