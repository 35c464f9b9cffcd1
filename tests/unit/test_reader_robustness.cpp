// Arbitrary bytes in the printer's files: the readers never crash, never
// read outside their input, and leave every grid consistent.
#include "accounting/AccText.h"
#include "support/AccFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace hpa {
namespace {

std::string RandomFile(std::mt19937& rng, std::size_t nSize)
{
    // Mostly the characters the formats are made of, some of anything.
    static const char kAlphabet[] = "0123456789:,{} \n\r\t-x19";
    std::string bytes;
    for (std::size_t n = 0; n < nSize; ++n)
        bytes.push_back(rng() % 8 == 0 ? static_cast<char>(rng() % 256)
                                       : kAlphabet[rng() % (sizeof kAlphabet - 1)]);
    return bytes;
}

std::string RandomMask(std::mt19937& rng, int nKind)
{
    std::string mask;
    for (int n = 0; n < kMaskLength[static_cast<std::size_t>(nKind)]; ++n)
        mask.push_back(rng() % 2 ? '1' : '0');
    if (nKind == kKindJob) {
        mask[23] = mask[24] = mask[22];
        mask[26] = mask[25];
    }
    return mask;
}

TEST(ReaderRobustness, RandomFilesLeaveConsistentGrids)
{
    std::mt19937 rng(2026);
    for (int nRound = 0; nRound < 300; ++nRound) {
        test::CAccFixture fx;
        fx.SetMasks(RandomMask(rng, kKindJob), RandomMask(rng, kKindPaper),
                    RandomMask(rng, kKindStatus));
        fx.Write("STA.tmp", RandomFile(rng, rng() % 400));
        fx.Write("DIC.tmp", "id acc_a\n" + RandomFile(rng, rng() % 400));
        fx.Write("PAP.tmp", RandomFile(rng, rng() % 2000));
        fx.Write("JOB.tmp", RandomFile(rng, rng() % 20000));
        ASSERT_EQ(fx.m_acc.ReadStatusFile(), 1);
        // Keep the announced counts small so a round stays quick.
        fx.m_acc.m_strFieldValue[kFieldPaperTypes] = std::to_string(rng() % 40);
        fx.m_acc.m_strFieldValue[kFieldNumberOfJobs] = std::to_string(rng() % 300);
        fx.m_acc.m_strFieldValue[kFieldVersion] = rng() % 2 ? "1" : "2";
        ASSERT_EQ(fx.m_acc.ReadDictionaryFile(), 1);
        fx.m_acc.FillStatusGrid();
        ASSERT_EQ(fx.m_acc.ReadPaperFile(), 1);
        ASSERT_EQ(fx.m_acc.ReadJobFile(), 1);
        EXPECT_TRUE(fx.m_messages.m_messages.empty());

        CUGCtrl& job = fx.Grid(kKindJob);
        const int nAnnounced = LeadingInteger(fx.m_acc.m_strFieldValue[kFieldNumberOfJobs]);
        if (job.ColumnCount() > 0) {
            EXPECT_GE(job.RowCount(), nAnnounced);
        }
        // Row headings are 1..n on a leading run of rows and absent after it.
        CUGCell cell;
        bool bHeadingsEnded = false;
        for (int nRow = 0; nRow < job.RowCount(); ++nRow) {
            cell.ClearCell();
            job.ReadCell(-1, nRow, &cell);
            if (cell.GetText().empty()) {
                bHeadingsEnded = true;
                continue;
            }
            ASSERT_FALSE(bHeadingsEnded) << "round " << nRound << " row " << nRow;
            ASSERT_EQ(cell.GetText(), std::to_string(nRow + 1));
        }
        EXPECT_EQ(fx.Grid(kKindPaper).ColumnCount(), fx.m_masks.m_nPaperColumns);
        EXPECT_EQ(fx.Grid(kKindStatus).RowCount(), fx.m_masks.m_nStatusRows);
    }
}

} // namespace
} // namespace hpa
