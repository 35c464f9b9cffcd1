#pragma once
// The three field masks: strings of '0' and '1', one character per mask
// position, '1' selecting the field(s) of that position for display; and the
// number of '1' characters of each. Loaded from and stored to the profile.
#include "accounting/FieldCatalogue.h"

#include <string>
#include <string_view>

namespace hpa {

class CProfile;

inline constexpr const char* kDefaultJobMask = "100011011011000000000000000";
inline constexpr const char* kDefaultPaperMask = "110000";
inline constexpr const char* kDefaultStatusMask = "10101000101000000";

// Profile value names (section kProfileSection).
inline constexpr const char* kProfileJobMask = "JobMask";
inline constexpr const char* kProfilePaperMask = "PaperMask";
inline constexpr const char* kProfileStatusMask = "StatusMask";

const char* DefaultMask(int nKind);

struct CFieldMasks {
    std::string m_strJobMask = kDefaultJobMask;
    std::string m_strPaperMask = kDefaultPaperMask;
    std::string m_strStatusMask = kDefaultStatusMask;
    int m_nJobColumns = 7;
    int m_nPaperColumns = 2;
    int m_nStatusRows = 5;

    std::string& Mask(int nKind);
    const std::string& Mask(int nKind) const;
    // All three masks and counts to their defaults.
    void SetDefaults();
    // The three counts from the masks as they stand.
    void Recount();
};

// The process-wide masks the programs use, and their customary names.
extern CFieldMasks g_masks;
extern std::string& g_strJobMask;
extern std::string& g_strPaperMask;
extern std::string& g_strStatusMask;
extern int& g_nJobColumns;
extern int& g_nPaperColumns;
extern int& g_nStatusRows;

// True when position nPosition holds '1'; positions beyond the end of a
// short mask read as '0'.
inline bool MaskSelects(std::string_view strMask, int nPosition)
{
    return nPosition >= 0 && static_cast<std::size_t>(nPosition) < strMask.size() &&
           strMask[static_cast<std::size_t>(nPosition)] == '1';
}

// The '1' characters among the first nLength characters (never past the end).
int CountMaskOnes(std::string_view strMask, std::size_t nLength);

// Why a mask cannot be used as it is, or nullptr when it can: full length,
// only '0' and '1', and for the job mask positions 22 to 24 equal ("Color
// ink") and 25 and 26 equal ("Index count/index"), which the job reader's
// column arithmetic relies on.
const char* MaskProblem(int nKind, std::string_view strMask);

// A mask as read from the profile made usable: only its first mask-length
// characters count and a short mask is filled up with '0' (positions beyond
// its end read as '0'); a mask that is still unusable (other characters,
// broken equalities) falls back to its default.
std::string SanitizeStoredMask(int nKind, std::string_view strMask);

// Start-up loading: "JobMask" absent or empty gives all three defaults;
// otherwise the three stored values, each sanitised. Then the counts.
void LoadFieldMasks(const CProfile& profile, CFieldMasks& masks);

// Writes the three masks; false when the profile refused a value.
bool SaveFieldMasks(CProfile& profile, const CFieldMasks& masks);

} // namespace hpa
