// The paper file: one row per paper type, columns chosen by the paper mask.
#include "support/AccFixture.h"

#include <gtest/gtest.h>

namespace hpa {
namespace {

using test::CAccFixture;
using Rows = std::vector<std::string>;

struct PaperCase {
    const char* name;
    const char* paperMask;
    const char* paperTypes; // status field 29
    std::string file;
    Rows rows;
};

class ReadPaperFileTest : public ::testing::Test {
protected:
    void Prepare(const char* pszMask, const char* pszPaperTypes)
    {
        for (int n = 22; n <= 27; ++n)
            fx.m_acc.m_strFieldName[static_cast<std::size_t>(n)] = "N" + std::to_string(n);
        fx.m_acc.m_strFieldValue[29] = pszPaperTypes;
        fx.SetMasks(kDefaultJobMask, pszMask, kDefaultStatusMask);
    }
    CAccFixture fx;
};

TEST_F(ReadPaperFileTest, Records)
{
    const PaperCase cases[] = {
        {"default mask, three paper types",
         "110000",
         "3",
         "22:210,23:297,24:80\n22: 216,23:279\n22:297,23:420\n",
         {"|N22|N23", "1|210|297", "2|216|279", "3|297|420"}},
        {"a missing field keeps the previous record's value",
         "110000",
         "2",
         "22:210,23:297\n22:216\n",
         {"|N22|N23", "1|210|297", "2|216|297"}},
        {"enclosed values lose both ends, two characters give nothing",
         "000111",
         "2",
         "25:'red',26:{ plain },27:\"\"\r\n25:(a:b),26:x,27:<<>>\r\n",
         {"|N25|N26|N27", "1|red|plain |", "2|a:b||<>"}},
        {"fields outside 22 to 27 are ignored", "100000", "1", "21:x,28:y,22:5\n", {"|N22", "1|5"}},
        {"fewer lines than paper types: empty rows without headings",
         "100000",
         "3",
         "22:1\n",
         {"|N22", "1|1", "|", "|"}},
        {"more lines than paper types: the rest is not read",
         "100000",
         "1",
         "22:1\n22:2\n",
         {"|N22", "1|1"}},
        {"a leading 0 that is not exactly \"0\" reads no record",
         "100000",
         "0 ",
         "22:1\n",
         {"|N22"}},
        {"a negative count of paper types gives no rows", "100000", "-2", "22:1\n", {"|N22"}},
        {"a line over 254 characters: the remainder is the next record",
         "110000",
         "2",
         "22:1,23:" + std::string(250, 'x') + "22:9,23:8\n",
         // "xxxx22" reads as field 0 and is ignored with its value.
         {"|N22|N23", "1|1|" + std::string(246, 'x'), "2|1|8"}},
    };
    for (const PaperCase& c : cases) {
        fx.m_acc.m_strFieldValue.fill("");
        Prepare(c.paperMask, c.paperTypes);
        fx.Write("PAP.tmp", c.file);
        EXPECT_EQ(fx.m_acc.ReadPaperFile(), 1) << c.name;
        EXPECT_EQ(fx.Rows(kKindPaper), c.rows) << c.name;
        EXPECT_TRUE(fx.m_messages.m_messages.empty()) << c.name;
    }
}

TEST_F(ReadPaperFileTest, AllZeroMaskLeavesTheGridEmpty)
{
    Prepare("110000", "2");
    fx.Write("PAP.tmp", "22:1\n22:2\n");
    ASSERT_EQ(fx.m_acc.ReadPaperFile(), 1);
    Prepare("000000", "2");
    fx.m_acc.m_strFieldValue[22] = "untouched";
    ASSERT_EQ(fx.m_acc.ReadPaperFile(), 1);
    EXPECT_EQ(fx.Grid(kKindPaper).ColumnCount(), 0);
    EXPECT_EQ(fx.Grid(kKindPaper).RowCount(), 0);
    // The file is not decoded at all.
    EXPECT_EQ(fx.m_acc.m_strFieldValue[22], "untouched");
}

TEST_F(ReadPaperFileTest, MissingFileLeavesTheGridAsItWas)
{
    Prepare("110000", "1");
    fx.Write("PAP.tmp", "22:1,23:2\n");
    ASSERT_EQ(fx.m_acc.ReadPaperFile(), 1);
    std::filesystem::remove(fx.m_dir.Path() / "PAP.tmp");
    EXPECT_EQ(fx.m_acc.ReadPaperFile(), 0);
    EXPECT_EQ(fx.m_messages.Exclamations(),
              std::vector<std::string>{"Error reading Paper Accounting File."});
    EXPECT_EQ(fx.Rows(kKindPaper), (Rows{"|N22|N23", "1|1|2"}));
}

} // namespace
} // namespace hpa
