#include "platform/Clock.h"
#include "platform/HugePageHeap.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

namespace hpa {

TEST(Profile, MissingValueGivesDefaultAndWrittenValueReadsBack)
{
    CMemoryProfile profile;
    EXPECT_EQ(profile.GetString("1.1", "JobMask", "dflt"), "dflt");
    EXPECT_FALSE(profile.Has("1.1", "JobMask"));
    EXPECT_TRUE(profile.WriteString("1.1", "JobMask", ""));
    // An empty stored value exists and is not replaced by the default.
    EXPECT_TRUE(profile.Has("1.1", "JobMask"));
    EXPECT_EQ(profile.GetString("1.1", "JobMask", "dflt"), "");
    EXPECT_EQ(profile.GetString("other", "JobMask", "x"), "x");
}

TEST(Clock, FormatsDownloadDateAndTime)
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 4;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(FormatTime(t, "%m/%d/%Y"), "12/08/2026");
    EXPECT_EQ(FormatTime(t, "%H:%M:%S"), "04:05:09");
}

} // namespace hpa

// The restart adds the heap tunable to what the user set, and never
// overrides or repeats it (a restart loop, or a user's "=0" ignored).
TEST(HugePageHeap, TunableIsAddedOnceAndUserValuesKept)
{
    EXPECT_EQ(hpa::HugePageTunables(nullptr), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(hpa::HugePageTunables(""), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(hpa::HugePageTunables("glibc.malloc.check=3"),
              "glibc.malloc.check=3:glibc.malloc.hugetlb=1");
    EXPECT_EQ(hpa::HugePageTunables("glibc.malloc.hugetlbx=2"),
              "glibc.malloc.hugetlbx=2:glibc.malloc.hugetlb=1");
    EXPECT_EQ(hpa::HugePageTunables("glibc.malloc.hugetlb=1"), std::nullopt);
    EXPECT_EQ(hpa::HugePageTunables("glibc.malloc.check=3:glibc.malloc.hugetlb=0"), std::nullopt);
}
