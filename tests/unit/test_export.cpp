// The export text of the three grids: heading line, separators, CR LF,
// quoting of awkward cells, the Job date column correction.
#include "view/ExportWriter.h"

#include "accounting/FieldCatalogue.h"
#include "grid/UGCtrl.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace hpa {
namespace {

// A grid of the given headings and rows; row headings are set too, to show
// that they are never exported.
void Fill(CUGCtrl& grid, const std::vector<std::string>& headings,
          const std::vector<std::vector<std::string>>& rows)
{
    grid.SetColumnCount(static_cast<int>(headings.size()));
    grid.SetRowCount(static_cast<int>(rows.size()));
    for (std::size_t c = 0; c < headings.size(); ++c)
        grid.SetCellText(static_cast<int>(c), -1, headings[c]);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        grid.SetCellText(-1, static_cast<int>(r), std::to_string(r + 1));
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            if (!rows[r][c].empty())
                grid.SetCellText(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
    }
}

TEST(ExportSeparator, OnlyTheExtensionDecides)
{
    EXPECT_EQ(ExportSeparatorFor("jobs.txt"), '\t');
    EXPECT_EQ(ExportSeparatorFor("/tmp/JOBS.TXT"), '\t');
    EXPECT_EQ(ExportSeparatorFor("a.b.Txt"), '\t');
    EXPECT_EQ(ExportSeparatorFor("jobs.csv"), ',');
    EXPECT_EQ(ExportSeparatorFor("jobs.txt.csv"), ',');
    EXPECT_EQ(ExportSeparatorFor("txt"), ',');
    EXPECT_EQ(ExportSeparatorFor("dir.txt/jobs"), ',');
    EXPECT_EQ(ExportSeparatorFor("jobs.text"), ',');
    EXPECT_EQ(ExportSeparatorFor("-"), ',');
}

TEST(Export, StatusHasNoHeadingLine)
{
    CUGCtrl grid;
    Fill(grid, {"A", "B"}, {{"Version", "2"}, {"Enabled", ""}});
    EXPECT_EQ(ExportToString(grid, kKindStatus, "Date", '\t'), "Version\t2\r\nEnabled\t\r\n");
}

TEST(Export, PaperHasItsHeadingLineFirst)
{
    CUGCtrl grid;
    Fill(grid, {"Paper Width", "Paper Height"}, {{"210", "297"}, {"", "279"}});
    EXPECT_EQ(ExportToString(grid, kKindPaper, "Date", ','),
              "Paper Width,Paper Height\r\n210,297\r\n,279\r\n");
}

TEST(Export, JobDateColumnGetsItsFirstBlankReplaced)
{
    CUGCtrl grid;
    Fill(grid, {"Job Id", "Date", "Date", "User"},
         {{"1", " 4/ 5/2026", " 4/ 5/2026", "ann"},
          {"", "", "", ""},
          {"2", "12/24/2025", "", "bob"}});
    // Only the first column headed by the name is the date column.
    EXPECT_EQ(
        ExportToString(grid, kKindJob, "Date", ','),
        "Job Id,Date,Date,User\r\n1,04/ 5/2026, 4/ 5/2026,ann\r\n,,,\r\n2,12/24/2025,,bob\r\n");
    // The heading line is corrected too, when the name holds a blank.
    CUGCtrl named;
    Fill(named, {"Job Date"}, {{"x y z"}});
    EXPECT_EQ(ExportToString(named, kKindJob, "Job Date", ','), "Job0Date\r\nx0y z\r\n");
    // An empty name finds no date column, even over empty headings.
    CUGCtrl blank;
    Fill(blank, {""}, {{" 1/ 2/2026"}});
    EXPECT_EQ(ExportToString(blank, kKindJob, "", ','), "\r\n 1/ 2/2026\r\n");
    // Paper and Status grids never get the correction.
    EXPECT_EQ(ExportToString(named, kKindPaper, "Job Date", ','), "Job Date\r\nx y z\r\n");
}

TEST(Export, CellsThatWouldBreakTheLineAreQuoted)
{
    struct Case {
        const char* cell;
        char sep;
        const char* field;
    } cases[] = {
        {"a,b", ',', "\"a,b\""},
        {"a,b", '\t', "a,b"},
        {"a\tb", '\t', "\"a\tb\""},
        {"say \"hi\"", ',', "\"say \"\"hi\"\"\""},
        {"two\nlines", ',', "\"two\nlines\""},
        {"cr\r", '\t', "\"cr\r\""},
        {"caf\xe9 ;'", ',', "caf\xe9 ;'"},
    };
    for (const Case& c : cases) {
        CUGCtrl grid;
        Fill(grid, {"A", "B"}, {{c.cell, "z"}});
        EXPECT_EQ(ExportToString(grid, kKindStatus, "", c.sep),
                  std::string(c.field) + c.sep + "z\r\n")
            << c.cell;
    }
}

TEST(Export, EmptyGrids)
{
    CUGCtrl job;
    EXPECT_EQ(ExportToString(job, kKindJob, "Date", ','), "\r\n");
    CUGCtrl status;
    EXPECT_EQ(ExportToString(status, kKindStatus, "Date", ','), "");
}

TEST(Export, LargeGridsArriveInPiecesAndWhole)
{
    CUGCtrl grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(20000);
    for (int r = 0; r < 20000; ++r) {
        grid.SetCellText(0, r, std::to_string(r));
        grid.SetCellText(1, r, "user");
    }
    int nPieces = 0;
    std::string strAll;
    ASSERT_TRUE(WriteExport(grid, kKindStatus, "", ',', [&](std::string_view s) {
        ++nPieces;
        strAll.append(s);
        return true;
    }));
    EXPECT_GT(nPieces, 1);
    EXPECT_EQ(strAll.substr(0, 14), "0,user\r\n1,user");
    EXPECT_EQ(strAll.size(), ExportToString(grid, kKindStatus, "", ',').size());
    // A failing sink stops the export and is reported.
    int nCalls = 0;
    EXPECT_FALSE(WriteExport(grid, kKindStatus, "", ',', [&](std::string_view) {
        ++nCalls;
        return false;
    }));
    EXPECT_EQ(nCalls, 1);
}

TEST(Export, ToFile)
{
    test::CTempDir dir;
    CUGCtrl grid;
    Fill(grid, {"A", "B"}, {{"x", "y"}});
    const auto path = dir.Path() / "out.txt";
    dir.Write("out.txt", "old content that is longer");
    ASSERT_EQ(ExportToFile(grid, kKindStatus, "", path, ExportSeparatorFor(path.string())),
              ExportFileResult::Ok);
    EXPECT_EQ(test::CTempDir::Read(path), "x\ty\r\n");
    EXPECT_EQ(ExportToFile(grid, kKindStatus, "", dir.Path() / "no" / "such.csv", ','),
              ExportFileResult::CannotCreate);
}

} // namespace
} // namespace hpa
