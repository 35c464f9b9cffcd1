#include "accounting/Acc.h"

#include "accounting/FieldMasks.h"
#include "platform/Archive.h"
#include "platform/Messages.h"

#include <utility>

namespace hpa {

CAcc g_acc;

std::filesystem::path CAcc::WorkFile(const char* pszName) const
{
    if (m_binding.m_pathWorkDir.empty())
        return pszName;
    return m_binding.m_pathWorkDir / pszName;
}

const CFieldMasks& CAcc::Masks() const
{
    return m_binding.m_pMasks ? *m_binding.m_pMasks : g_masks;
}

void CAcc::Report(const char* pszMessage) const
{
    if (m_binding.m_pMessages)
        m_binding.m_pMessages->Exclamation(pszMessage);
}

bool StatusIndicatesInvalidInitialization(const std::string& strVersion,
                                          const std::string& strPaperTypes)
{
    return strVersion == "0" || strPaperTypes == "0";
}

bool CAcc::IndicatesInvalidInitialization() const
{
    return StatusIndicatesInvalidInitialization(m_strFieldValue[kFieldVersion],
                                                m_strFieldValue[kFieldPaperTypes]);
}

void CAcc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strHost << m_strDownloadDate << m_strDownloadTime;
        ar << m_nJams << m_nSimplexSheets << m_nDuplexSheets << m_nUsers << m_nPrintingTime
           << m_nJobFileConsumption << m_nJobs;
    } else {
        // Load into a copy so that a truncated file leaves the set as it was.
        CAcc loaded;
        ar >> loaded.m_strHost >> loaded.m_strDownloadDate >> loaded.m_strDownloadTime;
        ar >> loaded.m_nJams >> loaded.m_nSimplexSheets >> loaded.m_nDuplexSheets >>
            loaded.m_nUsers >> loaded.m_nPrintingTime >> loaded.m_nJobFileConsumption >>
            loaded.m_nJobs;
        m_strHost = std::move(loaded.m_strHost);
        m_strDownloadDate = std::move(loaded.m_strDownloadDate);
        m_strDownloadTime = std::move(loaded.m_strDownloadTime);
        m_nJams = loaded.m_nJams;
        m_nSimplexSheets = loaded.m_nSimplexSheets;
        m_nDuplexSheets = loaded.m_nDuplexSheets;
        m_nUsers = loaded.m_nUsers;
        m_nPrintingTime = loaded.m_nPrintingTime;
        m_nJobFileConsumption = loaded.m_nJobFileConsumption;
        m_nJobs = loaded.m_nJobs;
    }
}

} // namespace hpa
