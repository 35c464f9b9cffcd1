#include "accounting/FieldMasks.h"

#include "platform/Profile.h"

namespace hpa {

CFieldMasks g_masks;
std::string& g_strJobMask = g_masks.m_strJobMask;
std::string& g_strPaperMask = g_masks.m_strPaperMask;
std::string& g_strStatusMask = g_masks.m_strStatusMask;
int& g_nJobColumns = g_masks.m_nJobColumns;
int& g_nPaperColumns = g_masks.m_nPaperColumns;
int& g_nStatusRows = g_masks.m_nStatusRows;

const char* DefaultMask(int nKind)
{
    switch (nKind) {
    case kKindJob:
        return kDefaultJobMask;
    case kKindPaper:
        return kDefaultPaperMask;
    default:
        return kDefaultStatusMask;
    }
}

std::string& CFieldMasks::Mask(int nKind)
{
    return nKind == kKindJob     ? m_strJobMask
           : nKind == kKindPaper ? m_strPaperMask
                                 : m_strStatusMask;
}

const std::string& CFieldMasks::Mask(int nKind) const
{
    return nKind == kKindJob     ? m_strJobMask
           : nKind == kKindPaper ? m_strPaperMask
                                 : m_strStatusMask;
}

void CFieldMasks::SetDefaults()
{
    m_strJobMask = kDefaultJobMask;
    m_strPaperMask = kDefaultPaperMask;
    m_strStatusMask = kDefaultStatusMask;
    Recount();
}

void CFieldMasks::Recount()
{
    m_nJobColumns = CountMaskOnes(m_strJobMask, static_cast<std::size_t>(kMaskLength[kKindJob]));
    m_nPaperColumns =
        CountMaskOnes(m_strPaperMask, static_cast<std::size_t>(kMaskLength[kKindPaper]));
    m_nStatusRows =
        CountMaskOnes(m_strStatusMask, static_cast<std::size_t>(kMaskLength[kKindStatus]));
}

int CountMaskOnes(std::string_view strMask, std::size_t nLength)
{
    int nCount = 0;
    for (std::size_t n = 0; n < nLength && n < strMask.size(); ++n)
        nCount += strMask[n] == '1';
    return nCount;
}

const char* MaskProblem(int nKind, std::string_view strMask)
{
    if (nKind < 0 || nKind >= kDataKindCount)
        return "unknown data kind";
    if (strMask.size() != static_cast<std::size_t>(kMaskLength[static_cast<std::size_t>(nKind)]))
        return "wrong length";
    if (strMask.find_first_not_of("01") != std::string_view::npos)
        return "characters other than '0' and '1'";
    if (nKind == kKindJob) {
        if (strMask[22] != strMask[23] || strMask[22] != strMask[24])
            return "positions 22 to 24 (Color ink) differ";
        if (strMask[25] != strMask[26])
            return "positions 25 and 26 (Index count/index) differ";
    }
    return nullptr;
}

std::string SanitizeStoredMask(int nKind, std::string_view strMask)
{
    const auto nLength = static_cast<std::size_t>(kMaskLength[static_cast<std::size_t>(nKind)]);
    // Only the first nLength characters ever count; a short mask reads '0'
    // past its end.
    std::string strResult(strMask.substr(0, nLength));
    strResult.resize(nLength, '0');
    if (MaskProblem(nKind, strResult))
        return DefaultMask(nKind);
    return strResult;
}

void LoadFieldMasks(const CProfile& profile, CFieldMasks& masks)
{
    const std::string strJob = profile.GetString(kProfileSection, kProfileJobMask, {});
    if (strJob.empty()) {
        masks.SetDefaults();
        return;
    }
    masks.m_strJobMask = SanitizeStoredMask(kKindJob, strJob);
    masks.m_strPaperMask =
        SanitizeStoredMask(kKindPaper, profile.GetString(kProfileSection, kProfilePaperMask, {}));
    masks.m_strStatusMask =
        SanitizeStoredMask(kKindStatus, profile.GetString(kProfileSection, kProfileStatusMask, {}));
    masks.Recount();
}

bool SaveFieldMasks(CProfile& profile, const CFieldMasks& masks)
{
    bool bOk = profile.WriteString(kProfileSection, kProfileJobMask, masks.m_strJobMask);
    bOk = profile.WriteString(kProfileSection, kProfilePaperMask, masks.m_strPaperMask) && bOk;
    bOk = profile.WriteString(kProfileSection, kProfileStatusMask, masks.m_strStatusMask) && bOk;
    return bOk;
}

} // namespace hpa
