// The history's job reader against the job grid: for the decode sample sets,
// the simulator's generated sets (fields in mixed order, CR LF, version "1"
// without ink) and a set of awkward records, reading the job file straight
// into a job list gives the same jobs, byte for byte, as filling a grid with
// every field selected and reading the jobs back from it.
#include "accounting/Acc.h"
#include "accounting/AccText.h"
#include "accounting/FieldMasks.h"
#include "grid/GridStore.h"
#include "grid/UGCtrl.h"
#include "history/HistoryValues.h"
#include "history/JobFileList.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "test_printer_sim_harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace hpa {
namespace {

namespace fs = std::filesystem;

// The reference: the jobs of a job grid filled with every field selected,
// one per record: its ordinary fields from the record's first row, its index
// pairs from all of its rows.
class CGridJobList : public CHistoryJobList {
public:
    // recordRows: what the job reader listed (each record's first row, then
    // the row after the last); bHasInk: false for version "1" files.
    CGridJobList(CUGCtrl& grid, std::vector<int> recordRows, bool bHasInk);

    std::size_t Count() const override;
    void Get(std::size_t nIndex, CHistoryJob& job) const override;

private:
    std::string_view Cell(int nCol, int nRow) const;

    CGridMemStore* m_pStore;
    std::vector<int> m_recordRows;
    bool m_bHasInk;
};

// Columns of a grid with every field selected; version "1" files lack the
// four ink columns.
constexpr int kInkColumns = 4;
constexpr int kPaperTypesPos = 20; // "Paper types count": index lines per record

CGridJobList::CGridJobList(CUGCtrl& grid, std::vector<int> recordRows, bool bHasInk)
    : m_pStore(grid.GetMemStore()), m_recordRows(std::move(recordRows)), m_bHasInk(bHasInk)
{
}

std::size_t CGridJobList::Count() const
{
    return m_recordRows.size() < 2 ? 0 : m_recordRows.size() - 1;
}

std::string_view CGridJobList::Cell(int nCol, int nRow) const
{
    const CUGCell* pCell = m_pStore ? m_pStore->PeekCell(nCol, nRow) : nullptr;
    return pCell ? std::string_view(pCell->GetText()) : std::string_view();
}

void CGridJobList::Get(std::size_t nIndex, CHistoryJob& job) const
{
    const int nRow = m_recordRows[nIndex];
    const int nEnd = m_recordRows[nIndex + 1];
    const int nFields = m_bHasInk ? kHistoryFieldCount : kHistoryFieldCount - kInkColumns;
    job.m_bHasInk = m_bHasInk;
    for (int nPos = 0; nPos < kHistoryFieldCount; ++nPos)
        job.m_field[static_cast<std::size_t>(nPos)] =
            nPos < nFields ? Cell(nPos, nRow) : std::string_view();
    job.m_strIndex.clear();
    if (LeadingInteger(job.m_field[kPaperTypesPos]) <= 0)
        return;
    for (int r = nRow; r < nEnd; ++r) {
        AppendIndexValue(job.m_strIndex, Cell(nFields, r));
        AppendIndexValue(job.m_strIndex, Cell(nFields + 1, r));
    }
}

// Both readers over the working files in dir; every job compared.
void ExpectSameJobs(const fs::path& dir, std::size_t nExpectedJobs)
{
    CUGCtrl jobGrid, paperGrid, statusGrid;
    CFieldMasks masks;
    masks.m_strJobMask = kAllJobFieldsMask;
    masks.Recount();
    test::CRecordingMessages messages;
    std::vector<int> recordRows;
    CAcc acc;
    CAccBinding binding;
    binding.m_pathWorkDir = dir;
    binding.m_pGrids = {&jobGrid, &paperGrid, &statusGrid};
    binding.m_pMasks = &masks;
    binding.m_pMessages = &messages;
    binding.m_pRecordRows = &recordRows;
    acc.Bind(binding);
    ASSERT_TRUE(acc.ReadStatusFile() && acc.ReadDictionaryFile() && acc.ReadPaperFile());

    const bool bHasInk = acc.m_strFieldValue[kFieldVersion] != "1";
    CJobFileList fromFile;
    std::string strError;
    ASSERT_TRUE(fromFile.Read(dir / "JOB.tmp", acc.m_strFieldValue,
                              LeadingInteger(acc.m_strFieldValue[kFieldNumberOfJobs]), bHasInk,
                              strError))
        << strError;
    ASSERT_TRUE(acc.ReadJobFile());
    CGridJobList fromGrid(jobGrid, recordRows, bHasInk);

    ASSERT_EQ(fromFile.Count(), fromGrid.Count()) << dir;
    EXPECT_EQ(fromFile.Count(), nExpectedJobs) << dir;
    CHistoryJob a, b;
    for (std::size_t n = 0; n < fromGrid.Count(); ++n) {
        fromFile.Get(n, a);
        fromGrid.Get(n, b);
        ASSERT_EQ(a.m_bHasInk, b.m_bHasInk) << dir << " job " << n;
        for (std::size_t f = 0; f < kHistoryFieldCount; ++f)
            ASSERT_EQ(a.m_field[f], b.m_field[f]) << dir << " job " << n << " field " << f;
        ASSERT_EQ(a.m_strIndex, b.m_strIndex) << dir << " job " << n;
    }
}

// A generated set's files under the names a download gives them.
void Generate(const test::CTempDir& dir, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--generate", dir.Path().string()});
    ASSERT_EQ(test::sim::RunSim(args), 0);
    for (const auto& [from, to] : {std::pair{"acc.sta", "STA.tmp"},
                                   {"acc.dic", "DIC.tmp"},
                                   {"acc.pap", "PAP.tmp"},
                                   {"acc1.job", "JOB.tmp"}})
        fs::copy_file(dir.Path() / from, dir.Path() / to);
}

TEST(HistoryJobReader, SampleSetsReadAsTheGridShowsThem)
{
    ExpectSameJobs(fs::path(test::sim::SourceDir()) / "testdata/decode/office", 4);
}

TEST(HistoryJobReader, GeneratedSetsReadAsTheGridShowsThem)
{
    test::CTempDir plain, mixed, version1;
    Generate(plain, {"--jobs", "3000", "--paper-types", "4", "--seed", "11"});
    Generate(mixed,
             {"--jobs", "3000", "--paper-types", "3", "--seed", "12", "--mixed-order", "--crlf"});
    Generate(version1,
             {"--jobs", "2000", "--paper-types", "2", "--seed", "13", "--format-version", "1"});
    ExpectSameJobs(plain.Path(), 3000);
    ExpectSameJobs(mixed.Path(), 3000);
    ExpectSameJobs(version1.Path(), 2000);
}

TEST(HistoryJobReader, AwkwardRecordsReadAsTheGridShowsThem)
{
    test::CTempDir dir;
    fs::copy_file(fs::path(test::sim::SourceDir()) / "testdata/decode/office/DIC.tmp",
                  dir.Path() / "DIC.tmp");
    dir.Write("PAP.tmp", "22:1, 23:{Letter}\n");
    // Seven jobs announced, six records present.
    dir.Write("STA.tmp", "28:2,29:1,30:1000,32:10,36:7\n");
    std::string strJobs =
        // Two index lines.
        "0:1,1:5,2:{09:00:00}, 3:{ 3/ 7/2026}, 4:0,5:{ann}, 6:{ws}, 45:{tcp}, 7:{a.pdf}, "
        "8:{x}, 9:1,10:1500,11:1,12:0,13:4,14:2,15:1,16:0,17:1,18:0,19:2,46:1,47:2,48:3,49:4\n"
        "count: 1,index:  A4\n"
        "count:2,index:Letter\r\n"
        // Only two fields: the rest carried, and two index lines again.
        "0:2, 3:{ 3/ 8/2026}\n"
        "tag-only\n"
        "count:3,index:Legal\n"
        // Mixed order, CR LF, an unknown field, junk after a brace, no index.
        "19:0, 5:{bob}junk more, 77:9, 0:3, 2:{10:00:00}\r\n"
        // A NUL byte ends the text of the line; an overlong line goes on in
        // the next piece, which is read as a record of its own.
        "0:4, 5:{c" +
        std::string(1, '\0') + "d}, 7:{" + std::string(420, 'z') +
        "}\n"
        // More index lines announced than the file holds.
        "0:5, 19:40\n"
        "count:1,index:A3\n";
    dir.Write("JOB.tmp", strJobs);
    ExpectSameJobs(dir.Path(), 6);
}

} // namespace
} // namespace hpa
