// hpactl decode/fetch --save FILE.hpa and hpactl export: the saved document
// holds what was decoded with the desktop's column widths, exports of it
// match the exports of the decode, and failures leave nothing half-written.
#include "test_printer_sim_harness.h"

#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"
#include "grid/render/QtGridDC.h"
#include "support/ShellRun.h"
#include "support/TempDir.h"
#include "view/qt/ViewGlobals.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace hpa {
namespace {

namespace fs = std::filesystem;
using test::CTempDir;
using test::Quoted;
using test::RunResult;

struct Document {
    std::array<CUGCtrl, 3> grids;
    CAcc acc;
};

class HpactlSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(fs::path(HPA_SOURCE_DIR) / "testdata" / "decode" / "office", m_data.Path(),
                 fs::copy_options::recursive);
        fs::create_directories(m_config.Path() / "HPA");
    }

    // hpactl with no display and settings of its own, in the work directory.
    RunResult Run(const std::string& strArgs)
    {
        return test::RunHpactl(m_work.Path(), m_config.Path(), strArgs);
    }
    std::string Data() const { return Quoted(m_data.Path().string()); }
    std::string Work(const char* pszName) const { return (m_work.Path() / pszName).string(); }

    static std::unique_ptr<Document> Load(const fs::path& path)
    {
        auto pDoc = std::make_unique<Document>();
        const std::string bytes = CTempDir::Read(path);
        LoadAccDocument(bytes.data(), bytes.size(),
                        {{&pDoc->grids[0], &pDoc->grids[1], &pDoc->grids[2]}, &pDoc->acc});
        return pDoc;
    }
    static std::vector<int> Widths(CUGCtrl& grid)
    {
        std::vector<int> widths;
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            int w = 0;
            grid.GetColumnWidth(c, &w);
            widths.push_back(w);
        }
        return widths;
    }
    // The alignment every column draws with, as the document stores it.
    static std::vector<int> Alignments(CUGCtrl& grid)
    {
        std::vector<int> alignments;
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            CUGCell cell;
            grid.GetColumnDefaults(c, &cell);
            alignments.push_back(cell.GetAlignment());
        }
        return alignments;
    }

    CTempDir m_data;
    CTempDir m_config;
    CTempDir m_work;
};

TEST_F(HpactlSave, SavedDocumentExportsLikeTheDecode)
{
    const RunResult r = Run("decode " + Data() +
                            " --save doc.hpa --export-job jobs.csv --export-paper paper.csv"
                            " --export-status status.txt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    struct Case {
        const char* pszKind;
        const char* pszDecoded;
        const char* pszOutput;
    };
    for (const Case& c : {Case{"job", "jobs.csv", "j.csv"}, Case{"paper", "paper.csv", "p.csv"},
                          Case{"status", "status.txt", "s.txt"}}) {
        SCOPED_TRACE(c.pszKind);
        const RunResult e =
            Run(std::string("export doc.hpa --kind ") + c.pszKind + " --output " + c.pszOutput);
        ASSERT_EQ(e.status, 0) << e.err;
        EXPECT_EQ(CTempDir::Read(Work(c.pszOutput)), CTempDir::Read(Work(c.pszDecoded)));
    }
    const RunResult e = Run("export doc.hpa --kind status --output -");
    EXPECT_EQ(e.out, "Version,2\r\nJob File Size,200000\r\nJob File Usage,170000\r\n"
                     "Number Of Jobs,4\r\nEnabled,1\r\n");
}

TEST_F(HpactlSave, SavedColumnWidthsAndAlignmentsAreTheDesktopsAndTheCountersTravel)
{
    ASSERT_EQ(Run("decode " + Data() + " --save doc.hpa").status, 0);
    const auto pDoc = Load(Work("doc.hpa"));
    EXPECT_EQ(pDoc->acc.m_nJobs, 4);
    EXPECT_EQ(pDoc->acc.m_nUsers, 3);
    EXPECT_EQ(pDoc->grids[kKindJob].ColumnCount(), 7);
    EXPECT_EQ(pDoc->grids[kKindJob].RowCount(), 4);

    // The same files decoded here with the desktop's font and Qt's measuring.
    std::unique_ptr<QGuiApplication> pApp;
    static int nArgc = 1;
    static char szName[] = "test";
    static char* apszArgv[] = {szName, nullptr};
    if (!QCoreApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        pApp = std::make_unique<QGuiApplication>(nArgc, apszArgv);
    }
    std::array<CUGCtrl, 3> desktop;
    std::array<CUGCtrl, 3> plain;
    for (CUGCtrl& grid : desktop) {
        grid.SetGridFont({"Arial", -12, 400, false, false});
        SetAccGridDefaults(grid);
        grid.SetMeasureDCFactory([] { return std::make_unique<CQtGridDC>(); });
    }
    for (auto* pGrids : {&desktop, &plain}) {
        CAcc acc;
        CAccBinding binding;
        binding.m_pathWorkDir = m_data.Path();
        binding.m_pGrids = {&(*pGrids)[0], &(*pGrids)[1], &(*pGrids)[2]};
        acc.Bind(binding);
        ASSERT_NE(acc.ReadStatusFile(), 0);
        ASSERT_NE(acc.ReadDictionaryFile(), 0);
        acc.FillStatusGrid();
        acc.ReadPaperFile();
        acc.ReadJobFile();
    }
    for (int g = 0; g < 3; ++g) {
        SCOPED_TRACE(g);
        EXPECT_EQ(Widths(pDoc->grids[g]), Widths(desktop[g]));
        EXPECT_EQ(Alignments(pDoc->grids[g]), Alignments(desktop[g]));
    }
    // Measured text, not the fixed advance of a grid without fonts.
    EXPECT_NE(Widths(desktop[kKindJob]), Widths(plain[kKindJob]));
}

TEST_F(HpactlSave, AFailedSaveLeavesTheOldFileAndNoTemporaries)
{
    ASSERT_EQ(Run("decode " + Data() + " --save doc.hpa").status, 0);
    const std::string strOld = CTempDir::Read(Work("doc.hpa"));

    // A second save replaces the file whole.
    m_data.Write("STA.tmp", "28:2,29:3,30:200000,31:0,32:100000,33:5120,34:1,35:1,36:4,37:1,38:1,"
                            "39:0,40:0,41:admin,42:printhost,43:none,44:none\n");
    ASSERT_EQ(Run("decode " + Data() + " --save doc.hpa").status, 0);
    EXPECT_NE(CTempDir::Read(Work("doc.hpa")), strOld);
    EXPECT_EQ(Load(Work("doc.hpa"))->acc.m_nJobFileConsumption, 50);

    const RunResult r = Run("decode " + Data() + " --save no-such-dir/doc.hpa");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Failed to save document."), std::string::npos) << r.err;

    // Saving over a directory fails and leaves it, and no temporary file.
    fs::create_directories(m_work.Path() / "taken.hpa");
    EXPECT_EQ(Run("decode " + Data() + " --save taken.hpa").status, 1);
    EXPECT_TRUE(fs::is_directory(m_work.Path() / "taken.hpa"));
    for (const auto& entry : fs::directory_iterator(m_work.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".hpa."), std::string::npos)
            << entry.path();
}

TEST_F(HpactlSave, ExportRefusesBadArgumentsAndFilesThatAreNoDocument)
{
    ASSERT_EQ(Run("decode " + Data() + " --save doc.hpa").status, 0);
    EXPECT_EQ(Run("export doc.hpa --kind jobs --output x.csv").status, 2);
    EXPECT_EQ(Run("export doc.hpa --output x.csv").status, 2);
    EXPECT_EQ(Run("export doc.hpa --kind job").status, 2);
    EXPECT_EQ(Run("export doc.hpa other.hpa --kind job --output x.csv").status, 2);
    EXPECT_FALSE(fs::exists(Work("x.csv")));

    m_work.Write("bad.hpa", "not a document");
    RunResult r = Run("export bad.hpa --kind job --output x.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Unexpected file format."), std::string::npos) << r.err;
    r = Run("export missing.hpa --kind job --output x.csv");
    EXPECT_EQ(r.status, 1);
    // A directory in place of the document was an uncaught stream exception.
    fs::create_directories(Work("folder.hpa"));
    r = Run("export folder.hpa --kind job --output x.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open"), std::string::npos) << r.err;
    r = Run("export doc.hpa --kind job --output no-such-dir/x.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error creating export file."), std::string::npos) << r.err;
}

TEST_F(HpactlSave, FetchSavesWhatThePrinterSent)
{
    test::sim::CSimProcess sim;
    ASSERT_TRUE(sim.Start({"--root", (fs::path(HPA_SOURCE_DIR) / "samples" / "printer").string(),
                           "--user", "admin", "--password", "sample"}));
    const RunResult r = Run("fetch 127.0.0.1:" + std::to_string(sim.Port()) +
                            " --user admin --password sample --quiet --save fetched.hpa"
                            " --export-job jobs.csv");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto pDoc = Load(Work("fetched.hpa"));
    EXPECT_EQ(pDoc->acc.m_strHost, "127.0.0.1:" + std::to_string(sim.Port()));
    EXPECT_FALSE(pDoc->acc.m_strDownloadDate.empty());
    EXPECT_EQ(pDoc->grids[kKindStatus].ColumnCount(), 2);
    EXPECT_GT(pDoc->grids[kKindStatus].RowCount(), 0);
    EXPECT_GT(pDoc->grids[kKindJob].RowCount(), 0);
    // The document's job export: the fetch's, except for the date correction
    // that needs the dictionary (not in the document; no date column shown
    // by default).
    ASSERT_EQ(Run("export fetched.hpa --kind job --output j.csv").status, 0);
    EXPECT_EQ(CTempDir::Read(Work("j.csv")), CTempDir::Read(Work("jobs.csv")));
}

} // namespace
} // namespace hpa
