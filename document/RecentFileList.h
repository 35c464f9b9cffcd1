#pragma once
// The list of the most recently used documents shown in the File menu:
// most recent first, no duplicates, at most four, kept in the profile under
// "Recent File List" as File1..File4.
#include <string>
#include <vector>

namespace hpa {

class CProfile;

inline constexpr const char* kRecentFileSection = "Recent File List";
inline constexpr int kRecentFileCount = 4;

class CRecentFileList {
public:
    explicit CRecentFileList(CProfile& profile, int nSize = kRecentFileCount);

    // Reads File1..FileN; empty values are skipped.
    void ReadList();
    // Writes File1..FileN; positions without a file are written empty.
    bool WriteList() const;

    // Puts a path at the top (moving it up when it is listed already) and
    // writes the list.
    void Add(const std::string& strPath);
    // Drops entry nIndex (0 = top), for instance a file that no longer
    // opens, and writes the list.
    void Remove(int nIndex);

    const std::vector<std::string>& Files() const { return m_files; }
    int Size() const { return m_nSize; }

private:
    CProfile& m_profile;
    int m_nSize;
    std::vector<std::string> m_files;
};

} // namespace hpa
