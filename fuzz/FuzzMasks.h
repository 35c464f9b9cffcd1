#pragma once
// Fuzz target for the field masks as they come back from the profile (the
// settings file can be edited by hand): any three texts give three usable
// masks with matching counts, and a mask judged usable is kept as it is.
// The input holds the job, paper and status values separated by line feeds.
#include "fuzz/FuzzCheck.h"

#include "accounting/FieldMasks.h"
#include "platform/Profile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hpa::fuzz {

inline void CheckUsableMasks(const CFieldMasks& masks)
{
    for (int nKind = 0; nKind < kDataKindCount; ++nKind) {
        const std::string& strMask = masks.Mask(nKind);
        HPA_FUZZ_CHECK(MaskProblem(nKind, strMask) == nullptr);
    }
    HPA_FUZZ_CHECK(masks.m_nJobColumns == CountMaskOnes(masks.m_strJobMask, 27));
    HPA_FUZZ_CHECK(masks.m_nPaperColumns == CountMaskOnes(masks.m_strPaperMask, 6));
    HPA_FUZZ_CHECK(masks.m_nStatusRows == CountMaskOnes(masks.m_strStatusMask, 17));
}

inline int FuzzMaskParsing(const std::uint8_t* pData, std::size_t nSize)
{
    std::string_view input(reinterpret_cast<const char*>(pData), nSize);
    std::string strValues[kDataKindCount];
    for (std::string& strValue : strValues) {
        const std::size_t nLf = input.find('\n');
        strValue = input.substr(0, nLf);
        input.remove_prefix(nLf == std::string_view::npos ? input.size() : nLf + 1);
    }

    for (int nKind = 0; nKind < kDataKindCount; ++nKind) {
        const std::string& strValue = strValues[nKind];
        const std::string strSanitized = SanitizeStoredMask(nKind, strValue);
        HPA_FUZZ_CHECK(MaskProblem(nKind, strSanitized) == nullptr);
        // A usable mask survives unchanged; a sanitised one is stable.
        if (MaskProblem(nKind, strValue) == nullptr)
            HPA_FUZZ_CHECK(strSanitized == strValue);
        HPA_FUZZ_CHECK(SanitizeStoredMask(nKind, strSanitized) == strSanitized);
    }

    CMemoryProfile profile;
    profile.WriteString(kProfileSection, kProfileJobMask, strValues[kKindJob]);
    profile.WriteString(kProfileSection, kProfilePaperMask, strValues[kKindPaper]);
    profile.WriteString(kProfileSection, kProfileStatusMask, strValues[kKindStatus]);
    CFieldMasks masks;
    masks.m_strJobMask = "garbage";
    LoadFieldMasks(profile, masks);
    CheckUsableMasks(masks);

    // What is saved loads back the same.
    CMemoryProfile saved;
    HPA_FUZZ_CHECK(SaveFieldMasks(saved, masks));
    CFieldMasks reloaded;
    LoadFieldMasks(saved, reloaded);
    for (int nKind = 0; nKind < kDataKindCount; ++nKind)
        HPA_FUZZ_CHECK(reloaded.Mask(nKind) == masks.Mask(nKind));
    return 0;
}

} // namespace hpa::fuzz
