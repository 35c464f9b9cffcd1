// A saved document's jobs added to the history: columns mapped by the job
// mask it was filled under, absent fields empty, the same identities as a
// collection of the same download, nothing added twice, and documents that
// cannot identify their jobs refused.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"
#include "history/DocumentJobs.h"
#include "history/HistoryValues.h"
#include "support/AccFixture.h"
#include "support/HistoryFixture.h"
#include "transfer/AccDecoder.h"
#include "transfer/DownloadSession.h"

#include <gtest/gtest.h>

namespace hpa::test {
namespace {

// Job ID, Time, Date, User, Simplex count, Paper types count, the index pair.
constexpr const char* kFewFieldsMask = "101101000000000100001000011";

// A document as the desktop holds one: grids filled from a download under
// a job mask, saved to .hpa bytes and loaded into fresh grids.
class CSavedDocument {
public:
    CSavedDocument(const std::filesystem::path& workDir, const std::string& strJobMask)
        : m_filled(workDir)
    {
        m_filled.m_masks.m_strJobMask = strJobMask;
        m_filled.m_masks.Recount();
        CAccDecoder decoder(m_filled.m_acc);
        EXPECT_EQ(DecodeWorkingFiles(decoder, m_filled.m_messages), DownloadResult::Decoded);
        CUGCtrl* const pFilled = m_filled.m_grids;
        const std::string strBytes =
            StoreAccDocument({{&pFilled[0], &pFilled[1], &pFilled[2]}, &m_filled.m_acc});
        CAcc loadedAcc;
        LoadAccDocument(strBytes.data(), strBytes.size(),
                        {{&m_grids[0], &m_grids[1], &m_grids[2]}, &loadedAcc});
    }
    CUGCtrl& JobGrid() { return m_grids[kKindJob]; }
    CUGCtrl& StatusGrid() { return m_grids[kKindStatus]; }
    const CFieldMasks& Masks() const { return m_filled.m_masks; }

private:
    CAccFixture m_filled; // the download's grids, decoded under the mask
    std::array<CUGCtrl, 3> m_grids;
};

class HistoryDocument : public ::testing::Test {
protected:
    HistoryDocument()
    {
        std::vector<CTestJob> jobs = JobRange(1, 3);
        jobs[1].m_strUser = "bob; DROP TABLE jobs";
        jobs[1].m_index = {{"a4", "2"}, {"letter", "1"}};
        WriteWorkFiles(m_work.Path(), jobs);
        std::string strError;
        m_pStore = OpenSqliteHistory((m_dir.Path() / "h.sqlite").string(), strError);
        EXPECT_TRUE(m_pStore) << strError;
    }
    // Adds the document as printer "lab"; false and the message when refused.
    bool Add(CSavedDocument& doc, CIngestResult& result, std::string& strError)
    {
        CDocumentJobList jobs;
        CCollectionInput input;
        if (!PrepareDocumentCollection(doc.JobGrid(), doc.StatusGrid(), doc.Masks(), "lab",
                                       "printhost", 5000, jobs, input, strError))
            return false;
        return m_pStore->Ingest(input, result, strError);
    }

    CTempDir m_work;
    CTempDir m_dir;
    std::unique_ptr<CHistoryStore> m_pStore;
};

TEST_F(HistoryDocument, FieldsMappedByMaskAbsentOnesEmptyAndAddedOnce)
{
    CSavedDocument doc(m_work.Path(), kFewFieldsMask);
    CIngestResult result;
    std::string strError;
    ASSERT_TRUE(Add(doc, result, strError)) << strError;
    EXPECT_EQ(result.m_nJobsNew, 3);
    ASSERT_TRUE(Add(doc, result, strError)) << strError;
    EXPECT_EQ(result.m_nJobsNew, 0);

    std::vector<CStoredJob> stored;
    ASSERT_TRUE(m_pStore->ReadJobs("lab", stored, strError)) << strError;
    ASSERT_EQ(stored.size(), 3u);
    const CStoredJob& job = stored[1];
    EXPECT_EQ(job.m_field[kHistJobId], "2");
    EXPECT_EQ(job.m_field[kHistDate], "3/ 7/2026");
    EXPECT_EQ(job.m_field[kHistUser], "bob; DROP TABLE jobs");
    EXPECT_EQ(job.m_field[kHistSimplex], "2");
    EXPECT_EQ(job.m_field[kHistHost], ""); // not in the document
    EXPECT_EQ(job.m_field[kHistFirstInk], "");
    std::vector<std::pair<std::string, std::string>> pairs;
    ASSERT_TRUE(DecodeIndexPairs(job.m_strIndex, pairs));
    EXPECT_EQ(pairs,
              (std::vector<std::pair<std::string, std::string>>{{"a4", "2"}, {"letter", "1"}}));
    EXPECT_TRUE(stored[2].m_strIndex.empty());

    // The same download collected from the printer brings the same jobs.
    CCollectOutcome outcome;
    ASSERT_TRUE(IngestWorkFiles(m_work.Path(), "lab", "printhost", 6000, *m_pStore, outcome))
        << outcome.m_strError;
    EXPECT_EQ(outcome.m_ingest.m_nJobsNew, 0);
}

TEST_F(HistoryDocument, DocumentThatCannotIdentifyItsJobsIsRefused)
{
    // Without Date (position 3).
    CSavedDocument noDate(m_work.Path(), "101001000000000100001000011");
    CIngestResult result;
    std::string strError;
    EXPECT_FALSE(Add(noDate, result, strError));
    EXPECT_NE(strError.find("no Job ID, Date or Time column"), std::string::npos) << strError;

    // Filled under another mask than the one it is read with.
    CSavedDocument other(m_work.Path(), kDefaultJobMask);
    CFieldMasks masks;
    masks.m_strJobMask = kFewFieldsMask;
    CDocumentJobList jobs;
    CCollectionInput input;
    EXPECT_FALSE(PrepareDocumentCollection(other.JobGrid(), other.StatusGrid(), masks, "lab", "",
                                           5000, jobs, input, strError));
    EXPECT_NE(strError.find("Select the job fields"), std::string::npos) << strError;
    std::vector<CPrinterHistory> printers;
    ASSERT_TRUE(m_pStore->ReadPrinters(printers, strError));
    EXPECT_TRUE(printers.empty());
}

} // namespace
} // namespace hpa::test
