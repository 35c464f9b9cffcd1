// The accounting block of a .hpa document: three strings, then the seven
// counters in reverse declaration order.
#include "accounting/Acc.h"
#include "platform/Archive.h"

#include <gtest/gtest.h>

#include <string>

namespace hpa {
namespace {

CAcc Sample()
{
    CAcc acc;
    acc.m_strHost = "printer1";
    acc.m_strDownloadDate = "12/08/2026";
    acc.m_strDownloadTime = "04:05:09";
    acc.m_nJobs = 1;
    acc.m_nJobFileConsumption = 2;
    acc.m_nPrintingTime = 3;
    acc.m_nUsers = 4;
    acc.m_nDuplexSheets = 5;
    acc.m_nSimplexSheets = 6;
    acc.m_nJams = -7;
    acc.m_strFieldName[0] = "Job Id";
    acc.m_strFieldValue[28] = "2";
    return acc;
}

TEST(AccSerialize, ByteLayout)
{
    CAcc acc = Sample();
    std::string bytes;
    CArchive out(bytes);
    acc.Serialize(out);
    const std::string expected = std::string("\x08printer1", 9) +
                                 std::string("\x0a"
                                             "12/08/2026") +
                                 std::string("\x08"
                                             "04:05:09") +
                                 std::string("\xf9\xff\xff\xff", 4) + // jams -7
                                 std::string("\x06\0\0\0\x05\0\0\0\x04\0\0\0\x03\0\0\0"
                                             "\x02\0\0\0\x01\0\0\0",
                                             24);
    EXPECT_EQ(bytes, expected);
}

TEST(AccSerialize, LoadsWhatWasStoredButNotTheTables)
{
    std::string bytes;
    {
        CAcc acc = Sample();
        CArchive out(bytes);
        acc.Serialize(out);
    }
    CAcc loaded;
    loaded.m_strFieldName[0] = "kept";
    CArchive in(bytes.data(), bytes.size());
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    const CAcc sample = Sample();
    EXPECT_EQ(loaded.m_strHost, sample.m_strHost);
    EXPECT_EQ(loaded.m_strDownloadDate, sample.m_strDownloadDate);
    EXPECT_EQ(loaded.m_strDownloadTime, sample.m_strDownloadTime);
    EXPECT_EQ(loaded.m_nJobs, 1);
    EXPECT_EQ(loaded.m_nJobFileConsumption, 2);
    EXPECT_EQ(loaded.m_nPrintingTime, 3);
    EXPECT_EQ(loaded.m_nUsers, 4);
    EXPECT_EQ(loaded.m_nDuplexSheets, 5);
    EXPECT_EQ(loaded.m_nSimplexSheets, 6);
    EXPECT_EQ(loaded.m_nJams, -7);
    EXPECT_EQ(loaded.m_strFieldName[0], "kept");
    EXPECT_EQ(loaded.m_strFieldValue[28], "");
}

TEST(AccSerialize, TruncatedBlockThrowsAndChangesNothing)
{
    std::string bytes;
    {
        CAcc acc = Sample();
        CArchive out(bytes);
        acc.Serialize(out);
    }
    bytes.resize(bytes.size() - 2);
    CAcc loaded;
    loaded.m_strHost = "before";
    loaded.m_nJams = 99;
    CArchive in(bytes.data(), bytes.size());
    EXPECT_THROW(loaded.Serialize(in), CArchiveException);
    EXPECT_EQ(loaded.m_strHost, "before");
    EXPECT_EQ(loaded.m_nJams, 99);
}

} // namespace
} // namespace hpa
