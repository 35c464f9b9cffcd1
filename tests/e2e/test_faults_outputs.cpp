// Exports and working files in places that cannot take them: hpactl reports
// "Error creating export file." (or the failed write) and a non-zero status;
// a working directory that cannot be made or written ends in the readers' or
// the download's own message; nothing crashes.
#include "test_printer_sim_harness.h"

#include "document/WorkingDir.h"
#include "support/AccFixture.h"
#include "support/ShellRun.h"

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace hpa::test::sim {
namespace {

namespace fs = std::filesystem;

struct SRun {
    int m_nStatus = -1;
    std::string m_strErr;
};

class OutputFaults : public ::testing::Test {
protected:
    OutputFaults()
    {
        fs::copy(fs::path(SourceDir()) / "testdata" / "decode" / "office", m_data.Path(),
                 fs::copy_options::recursive);
        fs::create_directories(m_config.Path() / "HPA");
    }

    // hpactl with no display and a settings folder of its own.
    SRun Hpactl(const std::string& strArgs)
    {
        const RunResult r = RunHpactl(m_work.Path(), m_config.Path(), strArgs);
        return {r.status, r.err};
    }
    std::string Data() const { return Quoted(m_data.Path().string()); }

    CTempDir m_data;
    CTempDir m_work;
    CTempDir m_config;
};

TEST_F(OutputFaults, ExportBelowARegularFileCannotBeCreated)
{
    m_work.Write("plain", "a file, not a folder");
    const SRun r = Hpactl("decode " + Data() + " --export-job plain/jobs.csv");
    EXPECT_EQ(r.m_nStatus, 1);
    EXPECT_EQ(r.m_strErr, "Error creating export file. (plain/jobs.csv)\n");
    EXPECT_EQ(CTempDir::Read(m_work.Path() / "plain"), "a file, not a folder");
}

TEST_F(OutputFaults, ExportOntoAFullDeviceIsAFailedWrite)
{
    const SRun r = Hpactl("decode " + Data() + " --export-job /dev/full --export-status st.csv");
    EXPECT_EQ(r.m_nStatus, 1);
    EXPECT_EQ(r.m_strErr, "hpactl: writing /dev/full failed\n");
    // The other export is still written.
    EXPECT_FALSE(CTempDir::Read(m_work.Path() / "st.csv").empty());
}

TEST_F(OutputFaults, ExportIntoAReadOnlyFileSystem)
{
    const fs::path ro = m_work.Path() / "ro";
    fs::create_directories(ro);
    if (::mount("tmpfs", ro.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    const SRun r = Hpactl("decode " + Data() + " --export-paper ro/paper.txt");
    ::umount2(ro.c_str(), MNT_DETACH);
    EXPECT_EQ(r.m_nStatus, 1);
    EXPECT_EQ(r.m_strErr, "Error creating export file. (ro/paper.txt)\n");
}

TEST_F(OutputFaults, FetchIntoAWorkingDirectoryThatCannotBeMade)
{
    m_work.Write("plain", "x");
    const SRun r = Hpactl("fetch 127.0.0.1:1 --user u --password p --workdir plain/work --quiet");
    EXPECT_EQ(r.m_nStatus, 2);
    EXPECT_NE(r.m_strErr.find("cannot use plain/work as working directory"), std::string::npos)
        << r.m_strErr;
}

// The working files cannot be written: the first file's download fails with
// its own message, after the printer was reached and before anything else.
TEST_F(OutputFaults, FetchIntoAReadOnlyWorkingDirectory)
{
    const fs::path ro = m_work.Path() / "ro";
    fs::create_directories(ro);
    if (::mount("tmpfs", ro.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    CSimProcess simulator;
    const bool bStarted = simulator.Start({"--root", SourceDir() + "/samples/printer"});
    const SRun r = bStarted ? Hpactl("fetch 127.0.0.1:" + std::to_string(simulator.Port()) +
                                     " --user admin --password admin --quiet --workdir ro")
                            : SRun{};
    ::umount2(ro.c_str(), MNT_DETACH);
    ASSERT_TRUE(bStarted) << simulator.StderrText();
    EXPECT_EQ(r.m_nStatus, 1);
    EXPECT_EQ(r.m_strErr, "Download of Status Accounting File failed.\n");
    EXPECT_EQ(simulator.Stop(), 0) << simulator.StderrText();
}

// Readers bound to a working directory that is not there (it could not be
// made) say which file they could not read, and touch nothing.
TEST(WorkingDirectoryFaults, ReadersReportTheirOwnMessages)
{
    CTempDir dir;
    dir.Write("plain", "x");
    CWorkingDir work;
    EXPECT_FALSE(work.Create(dir.Path() / "plain"));
    EXPECT_EQ(work.File("STA.tmp"), fs::path("STA.tmp"));

    CAccFixture fx;
    CAccBinding binding = fx.m_acc.Binding();
    binding.m_pathWorkDir = dir.Path() / "plain" / "work";
    fx.m_acc.Bind(binding);
    fx.Grid(kKindPaper).SetColumnCount(1);
    fx.Grid(kKindPaper).SetRowCount(1);
    fx.Grid(kKindPaper).SetCellText(0, 0, "kept");
    EXPECT_EQ(fx.m_acc.ReadStatusFile(), 0);
    EXPECT_EQ(fx.m_acc.ReadDictionaryFile(), 0);
    EXPECT_EQ(fx.m_acc.ReadPaperFile(), 0);
    EXPECT_EQ(fx.m_acc.ReadJobFile(), 0);
    EXPECT_EQ(fx.m_messages.Exclamations(),
              (std::vector<std::string>{
                  "Error reading Status Accounting File.", "Error reading Dictionary File.",
                  "Error reading Paper Accounting File.", "Error reading Job Accounting File."}));
    EXPECT_EQ(fx.Rows(kKindPaper), (std::vector<std::string>{"|", "|kept"}));
}

} // namespace
} // namespace hpa::test::sim
