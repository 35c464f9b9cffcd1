// The field catalogue and the field masks: field numbers, kinds, mask
// positions, defaults, counts, and loading the masks from the profile.
#include "accounting/FieldCatalogue.h"
#include "accounting/FieldMasks.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace hpa {
namespace {

TEST(FieldCatalogue, EveryFieldHasOneKindAndPositionThatMapsBack)
{
    std::set<std::pair<int, int>> seen;
    for (int nField = 0; nField < kFieldCount; ++nField) {
        const CFieldInfo& info = FieldInfo(nField);
        EXPECT_EQ(info.m_nField, nField);
        const int nExpectedKind = (nField >= 22 && nField <= 27)   ? kKindPaper
                                  : (nField >= 28 && nField <= 44) ? kKindStatus
                                                                   : kKindJob;
        EXPECT_EQ(info.m_kind, nExpectedKind) << nField;
        EXPECT_EQ(FieldOfMaskPosition(info.m_kind, info.m_nMaskPosition), nField) << nField;
        EXPECT_TRUE(seen.insert({info.m_kind, info.m_nMaskPosition}).second) << nField;
    }
    // 27 + 6 + 17 positions, one field each.
    EXPECT_EQ(seen.size(), 50u);
    EXPECT_EQ(FieldOfMaskPosition(kKindJob, 27), -1);
    EXPECT_EQ(FieldOfMaskPosition(kKindPaper, -1), -1);
    EXPECT_EQ(FieldOfMaskPosition(3, 0), -1);
}

TEST(FieldCatalogue, FilterListsUseTheDisplayNames)
{
    // Job items 0 to 21 are positions 0 to 21; the last two stand for
    // positions 22 and 25.
    for (int nItem = 0; nItem < 22; ++nItem)
        EXPECT_STREQ(kJobFilterItems[static_cast<std::size_t>(nItem)],
                     FieldInfo(FieldOfMaskPosition(kKindJob, nItem)).m_pszDisplayName);
    EXPECT_STREQ(kJobFilterItems[22], "Color ink");
    EXPECT_STREQ(FieldInfo(46).m_pszDisplayName, "Color ink");
    EXPECT_STREQ(kJobFilterItems[23], "Index count/index");
    for (int nItem = 0; nItem < 6; ++nItem)
        EXPECT_STREQ(kPaperFilterItems[static_cast<std::size_t>(nItem)],
                     FieldInfo(22 + nItem).m_pszDisplayName);
    for (int nItem = 0; nItem < 17; ++nItem)
        EXPECT_STREQ(kStatusFilterItems[static_cast<std::size_t>(nItem)],
                     FieldInfo(28 + nItem).m_pszDisplayName);
    EXPECT_STREQ(kDataKindPaneText[kKindStatus], "STATUS");
    EXPECT_EQ(kDataKindCommand[kKindPaper], 32779);
}

TEST(FieldMasks, DefaultsAndCounts)
{
    CFieldMasks masks;
    masks.m_strJobMask = "1";
    masks.SetDefaults();
    EXPECT_EQ(masks.m_strJobMask, "100011011011000000000000000");
    EXPECT_EQ(masks.m_strPaperMask, "110000");
    EXPECT_EQ(masks.m_strStatusMask, "10101000101000000");
    EXPECT_EQ(masks.m_nJobColumns, 7);
    EXPECT_EQ(masks.m_nPaperColumns, 2);
    EXPECT_EQ(masks.m_nStatusRows, 5);
    // "Color ink" is three positions and counts three columns.
    masks.m_strJobMask = "000000000000000000000011100";
    masks.Recount();
    EXPECT_EQ(masks.m_nJobColumns, 3);
    // Counting never looks past the mask's end nor past its length.
    EXPECT_EQ(CountMaskOnes("11", 6), 2);
    EXPECT_EQ(CountMaskOnes("1111111", 6), 6);
    EXPECT_FALSE(MaskSelects("1", 1));
    EXPECT_TRUE(MaskSelects("01", 1));
    EXPECT_FALSE(MaskSelects("1", -1));
}

TEST(FieldMasks, ProcessWideNamesShareOneObject)
{
    g_strPaperMask = "101010";
    g_masks.Recount();
    EXPECT_EQ(g_masks.m_strPaperMask, "101010");
    EXPECT_EQ(g_nPaperColumns, 3);
    g_masks.SetDefaults();
    EXPECT_EQ(g_strPaperMask, "110000");
}

TEST(FieldMasks, ProblemsOfAGivenMask)
{
    struct Case {
        int kind;
        const char* mask;
        bool ok;
    } cases[] = {
        {kKindJob, "100011011011000000000000000", true},
        {kKindJob, "000000000000000000000000000", true},
        {kKindJob, "111111111111111111111111111", true},
        {kKindJob, "10001101101100000000000000", false},   // 26 characters
        {kKindJob, "1000110110110000000000000000", false}, // 28
        {kKindJob, "000000000000000000000010000", false},  // Color ink 22 alone
        {kKindJob, "000000000000000000000001100", false},  // 23, 24 without 22
        {kKindJob, "000000000000000000000000010", false},  // Index 25 alone
        {kKindJob, "000000000000000000000000001", false},  // Index 26 alone
        {kKindJob, "10001101101100000000000000x", false},
        {kKindPaper, "110000", true},
        {kKindPaper, "11000", false},
        {kKindPaper, "1100002", false},
        {kKindPaper, "11 000", false},
        {kKindStatus, "10101000101000000", true},
        {kKindStatus, "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MaskProblem(c.kind, c.mask) == nullptr, c.ok) << c.kind << " " << c.mask;
}

TEST(FieldMasks, StoredMasksAreMadeUsable)
{
    struct Case {
        int kind;
        const char* stored;
        const char* used;
    } cases[] = {
        {kKindPaper, "1", "100000"}, // short: the rest reads '0'
        {kKindPaper, "", "000000"},
        {kKindPaper, "0110001111", "011000"}, // only the first six count
        {kKindPaper, "1x0000", "110000"},     // other characters: default
        {kKindStatus, "11", "11000000000000000"},
        {kKindJob, "11111111111111111111111111",
         "100011011011000000000000000"}, // 26 long: 25, 26 differ
        {kKindJob, "1111111111111111111111111", "111111111111111111111111100"},
        {kKindJob, "11111111111111111111111111111", "111111111111111111111111111"},
        {kKindJob, "000000000000000000000011000", "100011011011000000000000000"},
        {kKindJob, "0000000000000000000000", "000000000000000000000000000"},
        {kKindJob, "00000000000000000000001", "100011011011000000000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SanitizeStoredMask(c.kind, c.stored), c.used) << c.kind << " " << c.stored;
}

TEST(FieldMasks, LoadingFromTheProfile)
{
    CFieldMasks masks;
    {
        // First start: nothing stored.
        CMemoryProfile profile;
        masks.m_strPaperMask = "000000";
        LoadFieldMasks(profile, masks);
        EXPECT_EQ(masks.m_strJobMask, kDefaultJobMask);
        EXPECT_EQ(masks.m_strPaperMask, kDefaultPaperMask);
        EXPECT_EQ(masks.m_nJobColumns + masks.m_nPaperColumns + masks.m_nStatusRows, 14);
    }
    {
        // An empty job mask means defaults for all three, whatever the others say.
        CMemoryProfile profile;
        profile.WriteString("1.1", "JobMask", "");
        profile.WriteString("1.1", "PaperMask", "111111");
        LoadFieldMasks(profile, masks);
        EXPECT_EQ(masks.m_strPaperMask, kDefaultPaperMask);
    }
    {
        // With a job mask the stored paper mask is used even if it differs;
        // a missing status mask reads as all '0'.
        CMemoryProfile profile;
        profile.WriteString("1.1", "JobMask", "111111111111111111111111111");
        profile.WriteString("1.1", "PaperMask", "001100");
        LoadFieldMasks(profile, masks);
        EXPECT_EQ(masks.m_strPaperMask, "001100");
        EXPECT_EQ(masks.m_strStatusMask, "00000000000000000");
        EXPECT_EQ(masks.m_nJobColumns, 27);
        EXPECT_EQ(masks.m_nPaperColumns, 2);
        EXPECT_EQ(masks.m_nStatusRows, 0);
    }
}

TEST(FieldMasks, SavedMasksLoadBack)
{
    CMemoryProfile profile;
    CFieldMasks masks;
    masks.m_strJobMask = "000000000000000000000011111";
    masks.m_strPaperMask = "000001";
    masks.m_strStatusMask = "11111111111111111";
    ASSERT_TRUE(SaveFieldMasks(profile, masks));
    EXPECT_EQ(profile.GetString("1.1", "JobMask"), "000000000000000000000011111");
    CFieldMasks loaded;
    LoadFieldMasks(profile, loaded);
    EXPECT_EQ(loaded.m_strJobMask, masks.m_strJobMask);
    EXPECT_EQ(loaded.m_strPaperMask, masks.m_strPaperMask);
    EXPECT_EQ(loaded.m_strStatusMask, masks.m_strStatusMask);
    EXPECT_EQ(loaded.m_nJobColumns, 5);
    EXPECT_EQ(loaded.m_nPaperColumns, 1);
    EXPECT_EQ(loaded.m_nStatusRows, 17);
}

} // namespace
} // namespace hpa
