// Files written through a temporary file: the target changes only when the
// whole write succeeded, devices are written in place, nothing is left over.
#include "platform/ReplacingFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace hpa {
namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const fs::path& dir)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++n;
    return n;
}

TEST(ReplacingFile, CommittedFileReplacesTheOldOneWithTheModeOfANewFile)
{
    test::CTempDir dir;
    const fs::path target = dir.Path() / "jobs.csv";
    dir.Write("jobs.csv", "old contents");
    ::chmod(target.c_str(), 0600);

    CReplacingFile file;
    ASSERT_TRUE(file.Open(target));
    EXPECT_EQ(test::CTempDir::Read(target), "old contents"); // untouched until the commit
    EXPECT_TRUE(file.Write("new "));
    EXPECT_TRUE(file.Write("contents"));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(test::CTempDir::Read(target), "new contents");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    const mode_t nMask = ::umask(0);
    ::umask(nMask);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~nMask);
}

TEST(ReplacingFile, AbandonedOrFailedWritesLeaveTheOldFileAndNoTemporary)
{
    test::CTempDir dir;
    const fs::path target = dir.Path() / "doc.hpa";
    dir.Write("doc.hpa", "previous document");
    {
        CReplacingFile file;
        ASSERT_TRUE(file.Open(target));
        file.Write("half a document");
    } // never committed: the writer gave up
    EXPECT_EQ(test::CTempDir::Read(target), "previous document");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    // A target whose folder is gone by the time of the rename.
    fs::create_directories(dir.Path() / "sub");
    CReplacingFile file;
    ASSERT_TRUE(file.Open(dir.Path() / "sub" / "x.csv"));
    EXPECT_TRUE(file.Write("x"));
    fs::remove_all(dir.Path() / "sub");
    EXPECT_FALSE(file.Commit());
    EXPECT_NE(file.Errno(), 0);
}

TEST(ReplacingFile, MissingFolderCannotBeOpened)
{
    test::CTempDir dir;
    CReplacingFile file;
    EXPECT_FALSE(file.Open(dir.Path() / "no" / "such.csv"));
    EXPECT_EQ(file.Errno(), ENOENT);
    EXPECT_FALSE(file.Write("x"));
    EXPECT_FALSE(file.Commit());
}

TEST(ReplacingFile, DevicesAreWrittenInPlaceNeverReplaced)
{
    CReplacingFile null;
    ASSERT_TRUE(null.Open("/dev/null"));
    EXPECT_TRUE(null.Write("discarded"));
    EXPECT_TRUE(null.Commit());

    // The full device refuses the bytes when they are flushed at the latest.
    CReplacingFile full;
    ASSERT_TRUE(full.Open("/dev/full"));
    full.Write(std::string(1 << 16, 'x'));
    EXPECT_FALSE(full.Commit());
    EXPECT_EQ(full.Errno(), ENOSPC);

    for (const char* pszDevice : {"/dev/null", "/dev/full"}) {
        struct stat st {};
        ASSERT_EQ(::stat(pszDevice, &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << pszDevice;
    }
}

} // namespace
} // namespace hpa
