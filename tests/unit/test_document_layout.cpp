// The .hpa byte layout: grid blocks (job, paper, status) and the accounting
// block, stored byte for byte and loaded with every count bounded.
#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"

#include <gtest/gtest.h>

#include <memory>

namespace hpa {

namespace {

std::string Int(std::int32_t n)
{
    std::string out;
    CArchive ar(out);
    ar.WriteInt32(n);
    return out;
}

std::string Str(std::string_view s)
{
    std::string out;
    CArchive ar(out);
    ar.WriteString(s);
    return out;
}

// Three grids and an accounting set, as a document holds them.
struct Doc {
    CUGCtrl job, paper, status;
    CAcc acc;
    CAccDocumentContent Content() { return {{&job, &paper, &status}, &acc}; }
};

void Fill(CUGCtrl& grid, int nCols, int nRows, const std::string& strTag)
{
    grid.SetColumnCount(nCols);
    grid.SetRowCount(nRows);
    for (int r = -1; r < nRows; ++r)
        for (int c = -1; c < nCols; ++c)
            if (r >= 0 || c >= 0)
                grid.SetCellText(c, r, strTag + std::to_string(c) + "," + std::to_string(r));
}

std::string Text(CUGCtrl& grid, int nCol, int nRow)
{
    CUGCell cell;
    grid.ReadCell(nCol, nRow, &cell);
    return cell.GetText();
}

// A document with 28 job columns written by hand (the store side cannot make
// one) and empty paper and status grids and accounting block after it.
std::string JobBlockOf(int nCols, int nRows)
{
    std::string bytes = Int(nCols) + Int(nRows);
    for (int c = 0; c < nCols; ++c)
        bytes += Int(40);
    for (int c = 0; c < nCols; ++c)
        bytes += Int(-1);
    for (int i = 0; i < (nRows + 1) * (nCols + 1); ++i)
        bytes += Str("j");
    return bytes;
}

const std::string kEmptyBlock = Int(0) + Int(0) + Str("");
const std::string kAccBlock = Str("HOST") + Str("01/02/2024") + Str("10:11:12") + Int(1) + Int(2) +
                              Int(3) + Int(4) + Int(5) + Int(6) + Int(7);

} // namespace

TEST(DocumentLayout, PaperBlockOfTwoTypesHoldsCountsWidthsAlignmentsAndNineTexts)
{
    CUGCtrl grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(2);
    grid.SetColumnWidth(0, 93);
    grid.SetColumnWidth(1, 101);
    CUGCell def;
    grid.GetColumnDefaults(1, &def);
    def.SetAlignment(kAlignRight | kAlignVCenter);
    grid.SetColumnDefaults(1, &def);
    grid.GetColumnDefaults(0, &def);
    def.SetAlignment(-1);
    grid.SetColumnDefaults(0, &def);
    grid.SetCellText(0, -1, "Paper width");
    grid.SetCellText(1, -1, "Paper height");
    grid.SetCellText(-1, 0, "1");
    grid.SetCellText(-1, 1, "2");
    grid.SetCellText(0, 0, "210");
    grid.SetCellText(1, 0, "297");
    grid.SetCellText(0, 1, "216");
    grid.SetCellText(1, 1, "279");

    std::string bytes;
    CArchive ar(bytes);
    StoreGridBlock(ar, grid);
    const std::string expected = Int(2) + Int(2) + Int(93) + Int(101) + Int(-1) + Int(0x22) +
                                 Str("") + Str("Paper width") + Str("Paper height") + //
                                 Str("1") + Str("210") + Str("297") +                 //
                                 Str("2") + Str("216") + Str("279");
    EXPECT_EQ(bytes, expected);
}

TEST(DocumentLayout, EmptyGridIsTwoCountsAndTheCornerText)
{
    CUGCtrl grid;
    std::string bytes;
    CArchive ar(bytes);
    StoreGridBlock(ar, grid);
    EXPECT_EQ(bytes, kEmptyBlock);
}

TEST(DocumentLayout, DocumentIsJobPaperStatusThenAccountingBlock)
{
    Doc doc;
    doc.status.SetColumnCount(1);
    doc.status.SetCellText(0, -1, "A");
    doc.acc.m_strHost = "HOST";
    doc.acc.m_strDownloadDate = "01/02/2024";
    doc.acc.m_strDownloadTime = "10:11:12";
    doc.acc.m_nJams = 1;
    doc.acc.m_nSimplexSheets = 2;
    doc.acc.m_nDuplexSheets = 3;
    doc.acc.m_nUsers = 4;
    doc.acc.m_nPrintingTime = 5;
    doc.acc.m_nJobFileConsumption = 6;
    doc.acc.m_nJobs = 7;
    CUGCell def;
    doc.status.GetColumnDefaults(0, &def);
    const std::string statusBlock = Int(1) + Int(0) + Int([&] {
                                        int w = 0;
                                        doc.status.GetColumnWidth(0, &w);
                                        return w;
                                    }()) +
                                    Int(def.GetAlignment()) + Str("") + Str("A");
    EXPECT_EQ(StoreAccDocument(doc.Content()), kEmptyBlock + kEmptyBlock + statusBlock + kAccBlock);
}

TEST(DocumentLayout, RoundTripRestoresTextsWidthsAlignmentsAndCounters)
{
    Doc a;
    Fill(a.job, 7, 30, "j");
    Fill(a.paper, 2, 2, "p");
    Fill(a.status, 2, 5, "s");
    a.job.SetColumnWidth(3, 77);
    CUGCell def;
    a.paper.GetColumnDefaults(1, &def);
    def.SetAlignment(kAlignCenter);
    a.paper.SetColumnDefaults(1, &def);
    a.job.SetCellText(2, 4, std::string(70000, 'x')); // the 32-bit length prefix
    a.acc.m_strHost = "PRINTER-7";
    a.acc.m_nJobs = 30;
    a.acc.m_nJams = -3;
    const std::string bytes = StoreAccDocument(a.Content());

    Doc b;
    LoadAccDocument(bytes.data(), bytes.size(), b.Content());
    EXPECT_EQ(b.job.ColumnCount(), 7);
    EXPECT_EQ(b.job.RowCount(), 30);
    EXPECT_EQ(b.status.RowCount(), 5);
    EXPECT_EQ(Text(b.job, 6, 29), "j6,29");
    EXPECT_EQ(Text(b.job, -1, 12), "j-1,12");
    EXPECT_EQ(Text(b.paper, 1, -1), "p1,-1");
    EXPECT_EQ(Text(b.job, 2, 4), std::string(70000, 'x'));
    int nWidth = 0;
    b.job.GetColumnWidth(3, &nWidth);
    EXPECT_EQ(nWidth, 77);
    b.paper.GetColumnDefaults(1, &def);
    EXPECT_EQ(def.GetAlignment(), kAlignCenter);
    EXPECT_EQ(b.acc.m_strHost, "PRINTER-7");
    EXPECT_EQ(b.acc.m_nJobs, 30);
    EXPECT_EQ(b.acc.m_nJams, -3);
    // Storing what was loaded gives the same bytes again.
    EXPECT_EQ(StoreAccDocument(b.Content()), bytes);
}

TEST(DocumentLayout, TextBytesAreKeptAsTheyAre)
{
    Doc a;
    const std::string strRaw("caf\xe9 \xc3\xa9\x01\x00\xff", 11);
    a.paper.SetColumnCount(1);
    a.paper.SetRowCount(1);
    a.paper.SetCellText(0, 0, strRaw);
    const std::string bytes = StoreAccDocument(a.Content());
    EXPECT_NE(bytes.find(strRaw), std::string::npos);
    Doc b;
    LoadAccDocument(bytes.data(), bytes.size(), b.Content());
    EXPECT_EQ(Text(b.paper, 0, 0), strRaw);
}

TEST(DocumentLayout, JobBlockTakes27ColumnsAndRefuses28)
{
    {
        const std::string bytes = JobBlockOf(27, 1) + kEmptyBlock + kEmptyBlock + kAccBlock;
        Doc doc;
        ASSERT_NO_THROW(LoadAccDocument(bytes.data(), bytes.size(), doc.Content()));
        EXPECT_EQ(doc.job.ColumnCount(), 27);
        EXPECT_EQ(doc.acc.m_strHost, "HOST");
    }
    {
        const std::string bytes = JobBlockOf(28, 1) + kEmptyBlock + kEmptyBlock + kAccBlock;
        Doc doc;
        EXPECT_THROW(LoadAccDocument(bytes.data(), bytes.size(), doc.Content()), CArchiveException);
        EXPECT_EQ(doc.job.ColumnCount(), 0); // refused before anything was sized
    }
}

TEST(DocumentLayout, PaperAndStatusBlocksAreBoundedByTheirMasks)
{
    struct Case {
        const char* pszName;
        std::string bytes;
        bool bAccepted;
    };
    const Case cases[] = {
        {"paper 6", kEmptyBlock + JobBlockOf(6, 2) + kEmptyBlock + kAccBlock, true},
        {"paper 7", kEmptyBlock + JobBlockOf(7, 2) + kEmptyBlock + kAccBlock, false},
        {"status 2", kEmptyBlock + kEmptyBlock + JobBlockOf(2, 17) + kAccBlock, true},
        {"status 3", kEmptyBlock + kEmptyBlock + JobBlockOf(3, 17) + kAccBlock, false},
        {"negative columns", Int(-1) + Int(0) + Str("") + kEmptyBlock + kEmptyBlock + kAccBlock,
         false},
        {"negative rows", Int(0) + Int(-5) + kEmptyBlock + kEmptyBlock + kAccBlock, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        Doc doc;
        if (c.bAccepted)
            EXPECT_NO_THROW(LoadAccDocument(c.bytes.data(), c.bytes.size(), doc.Content()));
        else
            EXPECT_THROW(LoadAccDocument(c.bytes.data(), c.bytes.size(), doc.Content()),
                         CArchiveException);
    }
}

TEST(DocumentLayout, CountsThatCannotFitAreRefusedBeforeSizingTheGrid)
{
    // Two billion rows announced in a file of a few dozen bytes.
    const std::string bytes = Int(1) + Int(0x7FFFFFFF) + Int(50) + Int(0) + Str("") + Str("") +
                              kEmptyBlock + kEmptyBlock + kAccBlock;
    Doc doc;
    try {
        LoadAccDocument(bytes.data(), bytes.size(), doc.Content());
        FAIL() << "accepted";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badFormat);
    }
    EXPECT_EQ(doc.job.RowCount(), 0);
}

TEST(DocumentLayout, FileTruncatedAtEveryOffsetIsRefused)
{
    Doc a;
    Fill(a.job, 3, 4, "j");
    Fill(a.paper, 2, 2, "p");
    Fill(a.status, 2, 3, "s");
    a.job.SetCellText(1, 1, std::string(300, 'y')); // a three-byte length prefix
    a.acc.m_strHost = "H";
    const std::string bytes = StoreAccDocument(a.Content());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        Doc b;
        EXPECT_THROW(LoadAccDocument(bytes.data(), n, b.Content()), CArchiveException)
            << "prefix of " << n << " bytes";
    }
    Doc whole;
    EXPECT_NO_THROW(LoadAccDocument(bytes.data(), bytes.size(), whole.Content()));
}

TEST(DocumentLayout, LoadOverwritesCoveredCellsAndLeavesOthers)
{
    Doc a;
    Fill(a.paper, 1, 1, "new");
    const std::string bytes = StoreAccDocument(a.Content());
    Doc b;
    Fill(b.paper, 2, 3, "old");
    LoadAccDocument(bytes.data(), bytes.size(), b.Content());
    EXPECT_EQ(b.paper.ColumnCount(), 1);
    EXPECT_EQ(Text(b.paper, 0, 0), "new0,0");
    // Outside the loaded size a stored cell is not shown but still stored.
    CUGCell cell;
    b.paper.GetStore(1)->GetCellProps(1, 2, &cell);
    EXPECT_EQ(cell.GetText(), "old1,2");
}

} // namespace hpa
