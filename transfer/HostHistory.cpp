#include "transfer/HostHistory.h"

#include "platform/Profile.h"

#include <algorithm>
#include <cstdio>

namespace hpa {

CHostHistory g_hostHistory;

void CHostHistory::Use(const std::string& strHost)
{
    if (strHost.empty())
        return;
    const auto it = std::find(m_entries.begin(), m_entries.end(), strHost);
    if (it != m_entries.end())
        m_entries.erase(it);
    else if (m_entries.size() >= kMaxEntries)
        m_entries.pop_back();
    m_entries.insert(m_entries.begin(), strHost);
}

void CHostHistory::Load(const CProfile& profile)
{
    m_entries.clear();
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        std::string strHost = profile.GetString(kProfileSection, ValueName(i));
        if (strHost.empty())
            break;
        // A hand-edited profile may repeat a name; the list never does.
        if (std::find(m_entries.begin(), m_entries.end(), strHost) == m_entries.end())
            m_entries.push_back(std::move(strHost));
    }
}

bool CHostHistory::Save(CProfile& profile) const
{
    bool bWritten = true;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        bWritten = profile.WriteString(kProfileSection, ValueName(i), m_entries[i]) && bWritten;
    return bWritten;
}

std::string CHostHistory::ValueName(std::size_t nPosition)
{
    char szName[32];
    std::snprintf(szName, sizeof szName, "HostName%02zu", nPosition);
    return szName;
}

} // namespace hpa
