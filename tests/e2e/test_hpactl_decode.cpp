// hpactl decode on a realistic set of printer files: the grids it writes,
// the summary, the masks it takes, and how it fails.
#include "support/ShellRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace hpa {
namespace {

namespace fs = std::filesystem;
using test::CTempDir;
using test::Quoted;
using test::RunResult;

class HpactlDecode : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A copy of the sample set that each test may change.
        fs::copy(fs::path(HPA_SOURCE_DIR) / "testdata" / "decode" / "office", m_data.Path(),
                 fs::copy_options::recursive);
        fs::create_directories(m_config.Path() / "HPA");
    }

    // Runs hpactl with no display at all and a settings directory of our own.
    RunResult Run(const std::string& strArgs)
    {
        return test::RunHpactl(m_work.Path(), m_config.Path(), strArgs);
    }
    std::string Data() const { return Quoted(m_data.Path().string()); }
    void SaveProfileMasks(const std::string& strJob, const std::string& strPaper,
                          const std::string& strStatus)
    {
        m_config.Write("HPA/HPA.conf", "[1.1]\nJobMask=" + strJob + "\nPaperMask=" + strPaper +
                                           "\nStatusMask=" + strStatus + "\n");
    }

    CTempDir m_data;
    CTempDir m_config;
    CTempDir m_work;
};

const char* const kDefaultJobExport =
    "Job Id,Completion Code,User,Connection,File,Compile Time,Print Time\r\n"
    "1001,0,ann,tcp,\"report, final.pdf\",120,4500\r\n"
    "1002,0,bob,tcp,memo.txt,80,1500\r\n"
    "1003,2,ann,usb,slides.ps,300,1500\r\n"
    "1004,0,Ann,tcp,a.pdf,50,999\r\n";

TEST_F(HpactlDecode, DefaultMasksGiveTheGridsOfADownload)
{
    const RunResult r = Run("decode " + Data() +
                            " --export-job jobs.csv --export-paper paper.TXT"
                            " --export-status=status.txt --summary");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(CTempDir::Read(m_work.Path() / "jobs.csv"), kDefaultJobExport);
    EXPECT_EQ(CTempDir::Read(m_work.Path() / "paper.TXT"),
              "Paper Width\tPaper Height\r\n210\t297\r\n216\t279\r\n297\t420\r\n");
    EXPECT_EQ(CTempDir::Read(m_work.Path() / "status.txt"),
              "Version\t2\r\nJob File Size\t200000\r\nJob File Usage\t170000\r\n"
              "Number Of Jobs\t4\r\nEnabled\t1\r\n");
    EXPECT_EQ(r.out, "Host\t\nDownload Date\t\nDownload Time\t\n"
                     "Job File Consumption\t85%\nJobs\t4\nSimplex Sheets\t4\n"
                     "Duplex Sheets\t7\nTotal Sheets\t11\nJams\t3\n"
                     "Printing Time\t0:00:06\nUsers\t3\n");
}

TEST_F(HpactlDecode, IndexRowsDateCorrectionAndInkColumns)
{
    const RunResult r =
        Run("decode " + Data() + " --job-mask 100100000000000000000111111 --export-job -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Job Id,Date,Black Ink,Cyan Ink,Magenta Ink,Yellow Ink,Index Count,Index\r\n"
                     "1001,3/07/2026,40,10,12,9,1,A4\r\n"
                     ",,,,,,2,A3\r\n"
                     "1002,3/07/2026,3,0,0,0,,\r\n"
                     "1003,3/08/2026,12,30,28,33,1,Letter\r\n"
                     "1004,12/08/2026,1,0,0,0,,\r\n");
}

TEST_F(HpactlDecode, VersionOneDropsTheInkColumns)
{
    m_data.Write("STA.tmp", "28:1,29:3,30:200000,32:170000,36:2\n");
    const RunResult r =
        Run("decode " + Data() + " --job-mask 100000000000000000000111111 --export-job -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Job Id,Index Count,Index\r\n1001,1,A4\r\n,2,A3\r\n1002,,\r\n");
}

TEST_F(HpactlDecode, MasksComeFromTheSavedSettings)
{
    SaveProfileMasks("100000000000000000000000000", "000001", "00000000100000000");
    const RunResult r = Run("decode " + Data() +
                            " --export-job - --export-paper -"
                            " --export-status -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Job Id\r\n1001\r\n1002\r\n1003\r\n1004\r\n"
                     "Paper Label\r\nA4\r\nLetter\r\nA3\r\n"
                     "Number Of Jobs,4\r\n");
    // A mask on the command line wins over the saved one.
    const RunResult r2 = Run("decode " + Data() + " --paper-mask 100000 --export-paper -");
    EXPECT_EQ(r2.out, "Paper Width\r\n210\r\n216\r\n297\r\n");
}

TEST_F(HpactlDecode, BadMasksAreRefused)
{
    for (const char* pszArgs : {"--job-mask 1001", "--job-mask 100000000000000000000010000",
                                "--job-mask 100000000000000000000000010", "--paper-mask 11000x",
                                "--status-mask 1010100010100000"}) {
        const RunResult r = Run("decode " + Data() + " " + pszArgs + " --export-job out.csv");
        EXPECT_EQ(r.status, 2) << pszArgs;
        EXPECT_NE(r.err.find("refused"), std::string::npos) << pszArgs << ": " << r.err;
        EXPECT_FALSE(fs::exists(m_work.Path() / "out.csv")) << pszArgs;
    }
}

TEST_F(HpactlDecode, AllZeroMasksGiveEmptyExports)
{
    const RunResult r = Run("decode " + Data() +
                            " --job-mask 000000000000000000000000000 --status-mask "
                            "00000000000000000 --export-job job.csv --export-status st.csv"
                            " --summary");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(CTempDir::Read(m_work.Path() / "job.csv"), "\r\n");
    EXPECT_EQ(CTempDir::Read(m_work.Path() / "st.csv"), "");
    // The job file was not decoded, so the counters stay at zero.
    EXPECT_NE(r.out.find("Jobs\t0\n"), std::string::npos) << r.out;
}

TEST_F(HpactlDecode, MissingFiles)
{
    {
        // Without a dictionary nothing is filled and nothing is written.
        fs::remove(m_data.Path() / "DIC.tmp");
        const RunResult r = Run("decode " + Data() + " --export-status st.csv");
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.err, "Error reading Dictionary File.\n");
        EXPECT_FALSE(fs::exists(m_work.Path() / "st.csv"));
    }
    {
        fs::remove(m_data.Path() / "STA.tmp");
        const RunResult r = Run("decode " + Data());
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.err, "Error reading Status Accounting File.\n");
    }
}

TEST_F(HpactlDecode, MissingPaperAndJobFilesAreReportedButTheRestIsWritten)
{
    fs::remove(m_data.Path() / "PAP.tmp");
    fs::remove(m_data.Path() / "JOB.tmp");
    const RunResult r = Run("decode " + Data() + " --export-status -");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Error reading Paper Accounting File.\nError reading Job Accounting File.\n");
    EXPECT_EQ(r.out.substr(0, 11), "Version,2\r\n");
}

TEST_F(HpactlDecode, InvalidInitializationStopsBeforeTheDictionary)
{
    m_data.Write("STA.tmp", "28:0,29:3\n");
    const RunResult r = Run("decode " + Data() + " --summary");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The Status Accounting File indicates an invalid initialization.\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(HpactlDecode, ExportFileThatCannotBeCreated)
{
    const RunResult r = Run("decode " + Data() + " --export-job no/such/dir/jobs.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error creating export file."), std::string::npos) << r.err;
}

TEST_F(HpactlDecode, CommandLine)
{
    EXPECT_EQ(Run("--version").out, "hpactl 1.1.0\n");
    const RunResult help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("decode DIR"), std::string::npos);
    EXPECT_NE(help.out.find("--export-job FILE"), std::string::npos);
    EXPECT_EQ(Run("decode").status, 2);
    EXPECT_EQ(Run("decode " + Data() + " --bogus").status, 2);
    EXPECT_EQ(Run("decode " + Data() + " --export-job").status, 2);
    EXPECT_EQ(Run("decode /no/such/dir").status, 2);
    EXPECT_EQ(Run("frobnicate").status, 2);
}

} // namespace
} // namespace hpa
