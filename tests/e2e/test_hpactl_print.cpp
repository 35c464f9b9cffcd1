// hpactl print and hpactl summary on saved documents, with no display: the
// PDF's pages (count and page header of every page, read back with
// poppler's pdfinfo and pdftotext), page sizes, the summary as text and as
// a printed table, and the failures.
#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"
#include "support/ShellRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace hpa {
namespace {

namespace fs = std::filesystem;
using test::CTempDir;
using test::Quoted;
using test::RunResult;

// A saved document: a Job grid of 100 rows in seven 100-pixel columns, a
// Paper grid of three rows, a Status grid of two, and the summary figures.
void WriteDocument(const fs::path& path, int nStatusRows = 2)
{
    CUGCtrl grids[3];
    CUGCtrl& job = grids[kKindJob];
    job.SetColumnCount(7);
    job.SetRowCount(100);
    for (int nCol = 0; nCol < 7; ++nCol) {
        job.SetColumnWidth(nCol, 100);
        job.SetCellText(nCol, -1, "Field " + std::to_string(nCol));
    }
    for (int nRow = 0; nRow < 100; ++nRow) {
        job.SetCellText(-1, nRow, std::to_string(nRow + 1));
        job.SetCellText(0, nRow, std::to_string(1001 + nRow));
        job.SetCellText(2, nRow, nRow % 2 ? "ann" : "bob");
    }
    CUGCtrl& paper = grids[kKindPaper];
    paper.SetColumnCount(2);
    paper.SetRowCount(3);
    paper.SetCellText(0, -1, "Paper Width");
    paper.SetCellText(1, -1, "Paper Height");
    for (int nRow = 0; nRow < 3; ++nRow) {
        paper.SetCellText(-1, nRow, std::to_string(nRow + 1));
        paper.SetCellText(0, nRow, std::to_string(210 + nRow));
        paper.SetCellText(1, nRow, std::to_string(297 + nRow));
    }
    CUGCtrl& status = grids[kKindStatus];
    status.SetColumnCount(nStatusRows > 0 ? 2 : 0);
    status.SetRowCount(nStatusRows);
    for (int nRow = 0; nRow < nStatusRows; ++nRow) {
        status.SetCellText(0, nRow, "Version");
        status.SetCellText(1, nRow, "2");
    }
    CAcc acc;
    acc.m_strHost = "PRN-4";
    acc.m_strDownloadDate = "03/07/2024";
    acc.m_strDownloadTime = "14:05:09";
    acc.m_nJobFileConsumption = 85;
    acc.m_nJobs = 100;
    acc.m_nSimplexSheets = 40;
    acc.m_nDuplexSheets = 60;
    acc.m_nJams = 2;
    acc.m_nPrintingTime = 3661;
    acc.m_nUsers = 2;
    CAccDocumentContent content;
    content.m_pGrids = {&grids[0], &grids[1], &grids[2]};
    content.m_pAcc = &acc;
    std::FILE* pFile = std::fopen(path.c_str(), "wb");
    ASSERT_NE(pFile, nullptr);
    const std::string bytes = StoreAccDocument(content);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), pFile), bytes.size());
    std::fclose(pFile);
}

class HpactlPrint : public ::testing::Test {
protected:
    void SetUp() override { WriteDocument(Doc()); }

    fs::path Doc() const { return m_dir.Path() / "office.hpa"; }
    fs::path Out(const char* pszName) const { return m_dir.Path() / pszName; }

    // Runs a command line with no display and no platform chosen.
    RunResult Shell(const std::string& strCommand)
    {
        return test::RunHeadless(m_dir.Path(), m_dir.Path(), strCommand);
    }
    RunResult Hpactl(const std::string& strArgs)
    {
        return test::RunHpactl(m_dir.Path(), m_dir.Path(), strArgs);
    }
    // The text with every run of white space made one space, framed by
    // spaces, so words and "label value" pairs are found whatever the
    // layout put between them.
    static std::string Squeezed(const std::string& strText)
    {
        std::string strOut = " ";
        for (const char c : strText) {
            const bool bSpace = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
            if (!bSpace)
                strOut += c;
            else if (strOut.back() != ' ')
                strOut += ' ';
        }
        if (strOut.back() != ' ')
            strOut += ' ';
        return strOut;
    }
    int Pages(const fs::path& pdf)
    {
        const RunResult r = Shell("pdfinfo " + Quoted(pdf.string()));
        const std::string strInfo = Squeezed(r.out);
        const std::size_t nAt = strInfo.find(" Pages: ");
        return nAt == std::string::npos ? -1 : std::atoi(strInfo.c_str() + nAt + 8);
    }
    std::string PageText(const fs::path& pdf, int nPage)
    {
        const std::string strPage = std::to_string(nPage);
        return Shell("pdftotext -layout -f " + strPage + " -l " + strPage + " " +
                     Quoted(pdf.string()) + " -")
            .out;
    }
    void ExpectHeader(const std::string& strText, int nPage, const char* pszTitle)
    {
        for (const char* pszPart : {"Date:", "03/07/2024", "Time:", "14:05:09", "Host:", "PRN-4"})
            EXPECT_NE(strText.find(pszPart), std::string::npos) << pszPart << " on " << nPage;
        const std::string strWords = Squeezed(strText);
        EXPECT_NE(strWords.find(" Page: " + std::to_string(nPage) + " "), std::string::npos)
            << "page " << nPage << ":\n"
            << strText;
        EXPECT_NE(strWords.find(std::string(" ") + pszTitle + " "), std::string::npos)
            << pszTitle << " on " << nPage;
    }

    CTempDir m_dir;
};

} // namespace

TEST_F(HpactlPrint, EveryPageCarriesTheHeaderAndThePagesAreThePreparedOnes)
{
    const RunResult r = Hpactl("print " + Quoted(Doc().string()) + " --kind job --pdf job.pdf");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // A4 at 300 dpi leaves 398 x 697 screen pixels beside the headings:
    // three 100-pixel columns and 43 rows a page, so 3 x 3 pages.
    ASSERT_EQ(Pages(Out("job.pdf")), 9);
    for (int nPage = 1; nPage <= 9; ++nPage)
        ExpectHeader(PageText(Out("job.pdf"), nPage), nPage, "JOB");
    // Across then down: page 2 shows the second block of columns of the
    // first rows, page 4 the first columns of the next rows.
    EXPECT_NE(PageText(Out("job.pdf"), 1).find("Field 0"), std::string::npos);
    EXPECT_NE(PageText(Out("job.pdf"), 2).find("Field 3"), std::string::npos);
    EXPECT_EQ(PageText(Out("job.pdf"), 2).find("1001"), std::string::npos);
    EXPECT_NE(PageText(Out("job.pdf"), 4).find("1044"), std::string::npos);
}

TEST_F(HpactlPrint, OtherKindsAndLetterPaper)
{
    RunResult r = Hpactl("print " + Quoted(Doc().string()) +
                         " --kind paper --pdf paper.pdf --page-size Letter");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(Pages(Out("paper.pdf")), 1);
    ExpectHeader(PageText(Out("paper.pdf"), 1), 1, "PAPER");
    const RunResult info = Shell("pdfinfo " + Quoted(Out("paper.pdf").string()));
    EXPECT_NE(info.out.find("612 x 792"), std::string::npos) << info.out;

    r = Hpactl("print " + Quoted(Doc().string()) + " --pdf status.pdf --kind status");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(Pages(Out("status.pdf")), 1);
    ExpectHeader(PageText(Out("status.pdf"), 1), 1, "STATUS");
    EXPECT_NE(Shell("pdfinfo " + Quoted(Out("status.pdf").string())).out.find("595"),
              std::string::npos); // A4 by default
}

TEST_F(HpactlPrint, SummaryAsTextAndAsThePrintedTable)
{
    RunResult r = Hpactl("summary " + Quoted(Doc().string()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Host\tPRN-4\nDownload Date\t03/07/2024\nDownload Time\t14:05:09\n"
                     "Job File Consumption\t85%\nJobs\t100\nSimplex Sheets\t40\n"
                     "Duplex Sheets\t60\nTotal Sheets\t100\nJams\t2\n"
                     "Printing Time\t1:01:01\nUsers\t2\n");

    r = Hpactl("summary " + Quoted(Doc().string()) + " --pdf summary.pdf");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(Pages(Out("summary.pdf")), 1);
    const std::string strText = PageText(Out("summary.pdf"), 1);
    EXPECT_NE(Squeezed(strText).find(" Job File Consumption 85% "), std::string::npos) << strText;
    EXPECT_NE(Squeezed(strText).find(" Printing Time 1:01:01 "), std::string::npos) << strText;
    EXPECT_EQ(strText.find("Page:"), std::string::npos); // the table only, no header
}

TEST_F(HpactlPrint, Failures)
{
    RunResult r = Hpactl("print missing.hpa --kind job --pdf x.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.hpa"), std::string::npos);

    r = Hpactl("print " + Quoted(Doc().string()) + " --kind jobs --pdf x.pdf");
    EXPECT_EQ(r.status, 2);
    r = Hpactl("print " + Quoted(Doc().string()) + " --kind job");
    EXPECT_EQ(r.status, 2);
    r = Hpactl("summary " + Quoted(Doc().string()) + " --kind job");
    EXPECT_EQ(r.status, 2);
    r = Hpactl("print " + Quoted(Doc().string()) + " --kind job --pdf x.pdf --page-size A3");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(Out("x.pdf")));

    r = Hpactl("print " + Quoted(Doc().string()) + " --kind job --pdf no/dir/x.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no/dir/x.pdf"), std::string::npos);

    // Not a document.
    m_dir.Write("bad.hpa", "\x01\x02");
    r = Hpactl("print bad.hpa --kind job --pdf x.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Unexpected file format."), std::string::npos);

    // A grid with no cells has no pages; an older file of the name stays.
    WriteDocument(Doc(), 0);
    m_dir.Write("status.pdf", "older");
    r = Hpactl("print " + Quoted(Doc().string()) + " --kind status --pdf status.pdf");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(CTempDir::Read(Out("status.pdf")), "older");
}

} // namespace hpa
