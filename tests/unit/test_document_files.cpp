// The recent-file list and the private directory of the working files.
#include "document/RecentFileList.h"
#include "document/WorkingDir.h"
#include "platform/Profile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace hpa {

TEST(RecentFileList, MostRecentFirstWithoutDuplicatesAtMostFour)
{
    CMemoryProfile profile;
    CRecentFileList list(profile);
    for (const char* psz : {"/a.hpa", "/b.hpa", "/c.hpa", "/d.hpa", "/e.hpa"})
        list.Add(psz);
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"/e.hpa", "/d.hpa", "/c.hpa", "/b.hpa"}));
    list.Add("/c.hpa");
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"/c.hpa", "/e.hpa", "/d.hpa", "/b.hpa"}));
    EXPECT_EQ(profile.GetString("Recent File List", "File1"), "/c.hpa");
    EXPECT_EQ(profile.GetString("Recent File List", "File4"), "/b.hpa");
    list.Remove(1);
    EXPECT_EQ(profile.GetString("Recent File List", "File2"), "/d.hpa");
    EXPECT_EQ(profile.GetString("Recent File List", "File4"), "");
}

TEST(RecentFileList, ReadSkipsEmptyAndRepeatedValues)
{
    CMemoryProfile profile;
    profile.WriteString("Recent File List", "File1", "/x.hpa");
    profile.WriteString("Recent File List", "File3", "/y.hpa");
    profile.WriteString("Recent File List", "File4", "/x.hpa");
    profile.WriteString("Recent File List", "File5", "/never.hpa");
    CRecentFileList list(profile);
    list.ReadList();
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"/x.hpa", "/y.hpa"}));
}

TEST(WorkingDir, PrivateDirectoryHoldsTheFourFilesUntilRemoved)
{
    test::CTempDir base;
    CWorkingDir dir;
    EXPECT_EQ(dir.File("JOB.tmp"), "JOB.tmp"); // before Create: the current directory
    ASSERT_TRUE(dir.Create(base.Path()));
    struct stat st {};
    ASSERT_EQ(::stat(dir.Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(dir.Path().parent_path(), base.Path());
    EXPECT_EQ(dir.File("STA.tmp"), dir.Path() / "STA.tmp");

    for (const char* psz : {"STA.tmp", "DIC.tmp", "PAP.tmp", "JOB.tmp"})
        std::ofstream(dir.File(psz)) << "x";
    dir.DeleteWorkingFiles();
    EXPECT_FALSE(std::filesystem::exists(dir.File("JOB.tmp")));
    EXPECT_TRUE(std::filesystem::exists(dir.Path()));
    dir.DeleteWorkingFiles(); // missing files are ignored

    const auto path = dir.Path();
    std::ofstream(dir.File("JOB.tmp")) << "x";
    dir.Remove();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(dir.IsCreated());
}

TEST(WorkingDir, RuntimeDirectoryIsUsedOnlyWhenPrivateAndOurs)
{
    test::CTempDir runtime;
    const char* pszOld = std::getenv("XDG_RUNTIME_DIR");
    const std::string strOld = pszOld ? pszOld : "";
    ::chmod(runtime.Path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    EXPECT_EQ(RuntimeBaseDir(), runtime.Path());
    ::chmod(runtime.Path().c_str(), 0755); // others may look in: not private
    EXPECT_NE(RuntimeBaseDir(), runtime.Path());
    ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_TRUE(RuntimeBaseDir().is_absolute());
    if (pszOld)
        ::setenv("XDG_RUNTIME_DIR", strOld.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace hpa
