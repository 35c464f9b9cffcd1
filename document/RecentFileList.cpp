#include "document/RecentFileList.h"

#include "platform/Profile.h"

#include <algorithm>

namespace hpa {

namespace {

std::string EntryName(int nIndex)
{
    return "File" + std::to_string(nIndex + 1);
}

} // namespace

CRecentFileList::CRecentFileList(CProfile& profile, int nSize) : m_profile(profile), m_nSize(nSize)
{
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    for (int i = 0; i < m_nSize; ++i) {
        std::string strPath = m_profile.GetString(kRecentFileSection, EntryName(i));
        if (!strPath.empty() && std::find(m_files.begin(), m_files.end(), strPath) == m_files.end())
            m_files.push_back(std::move(strPath));
    }
}

bool CRecentFileList::WriteList() const
{
    bool bOk = true;
    for (int i = 0; i < m_nSize; ++i) {
        const auto n = static_cast<std::size_t>(i);
        bOk &= m_profile.WriteString(kRecentFileSection, EntryName(i),
                                     n < m_files.size() ? m_files[n] : std::string());
    }
    return bOk;
}

void CRecentFileList::Add(const std::string& strPath)
{
    if (strPath.empty())
        return;
    auto it = std::find(m_files.begin(), m_files.end(), strPath);
    if (it != m_files.end())
        m_files.erase(it);
    m_files.insert(m_files.begin(), strPath);
    if (m_files.size() > static_cast<std::size_t>(m_nSize))
        m_files.resize(static_cast<std::size_t>(m_nSize));
    WriteList();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_files.size())
        return;
    m_files.erase(m_files.begin() + nIndex);
    WriteList();
}

} // namespace hpa
