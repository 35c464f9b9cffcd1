// The dictionary file: which lines form the name block and how each line
// becomes a field name.
#include "support/AccFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace hpa {
namespace {

using test::CAccFixture;

TEST(ReadDictionaryFile, NameBlocks)
{
    struct Case {
        const char* name;
        std::string file;
        std::map<int, std::string> names; // entries expected; all others stay "old"
    } cases[] = {
        {"block after a preamble, CR LF",
         "ACCOUNTING\r\nversion 3\r\nid0 acc_job_id\r\nid1 acc_paper_width\r\n",
         {{0, "Job Id"}, {1, "Paper Width"}}},
        {"lines after the block are never read", "id acc_a\nother\nid acc_b\n", {{0, "A"}}},
        {"a blank line ends the block", "id acc_a\n\nid acc_b\n", {{0, "A"}}},
        {"upper case ID is not part of the block", "ID acc_x\nid acc_y\nID acc_z\n", {{0, "Y"}}},
        {"the number on the line is not read", "id7 acc_x\nid3 acc_y\n", {{0, "X"}, {1, "Y"}}},
        {"first acc_ counts", "id acc_a_acc_b\n", {{0, "A Acc B"}}},
        {"acc_ at the very end gives an empty name", "id acc_\n", {{0, ""}}},
        {"a line without acc_ names its field empty", "id x\nid acc_y\n", {{0, ""}, {1, "Y"}}},
        {"no id line changes nothing", "nothing\nhere\n", {}},
        {"empty file", "", {}},
        {"last line without line end", "id acc_a\nid acc_b", {{0, "A"}, {1, "B"}}},
        {"bytes stay bytes", "id acc_caf\xe9_\xe9t\xe9\n", {{0, "Caf\xe9 \xe9t\xe9"}}},
    };
    for (const Case& c : cases) {
        CAccFixture fx;
        fx.m_acc.m_strFieldName.fill("old");
        fx.Write("DIC.tmp", c.file);
        EXPECT_EQ(fx.m_acc.ReadDictionaryFile(), 1) << c.name;
        for (int n = 0; n < kFieldCount; ++n) {
            auto it = c.names.find(n);
            EXPECT_EQ(fx.m_acc.m_strFieldName[static_cast<std::size_t>(n)],
                      it == c.names.end() ? std::string("old") : it->second)
                << c.name << ": field " << n;
        }
        EXPECT_TRUE(fx.m_messages.m_messages.empty()) << c.name;
    }
}

TEST(ReadDictionaryFile, AtMostFiftyNames)
{
    CAccFixture fx;
    std::string file;
    for (int n = 0; n < 55; ++n)
        file += "id" + std::to_string(n) + " acc_f" + std::to_string(n) + "\n";
    fx.Write("DIC.tmp", file);
    ASSERT_EQ(fx.m_acc.ReadDictionaryFile(), 1);
    EXPECT_EQ(fx.m_acc.m_strFieldName[0], "F0");
    EXPECT_EQ(fx.m_acc.m_strFieldName[49], "F49");
}

TEST(ReadDictionaryFile, MissingFileIsReportedAndChangesNothing)
{
    CAccFixture fx;
    fx.m_acc.m_strFieldName[0] = "Old";
    EXPECT_EQ(fx.m_acc.ReadDictionaryFile(), 0);
    EXPECT_EQ(fx.m_messages.Exclamations(),
              std::vector<std::string>{"Error reading Dictionary File."});
    EXPECT_EQ(fx.m_acc.m_strFieldName[0], "Old");
}

TEST(ReadDictionaryFile, UnboundSetReadsTheCurrentDirectory)
{
    CAccFixture fx;
    fx.Write("DIC.tmp", "id acc_here\n");
    const auto oldDir = std::filesystem::current_path();
    std::filesystem::current_path(fx.m_dir.Path());
    CAcc acc; // no binding: current directory, no message sink
    const int nResult = acc.ReadDictionaryFile();
    std::filesystem::current_path(oldDir);
    EXPECT_EQ(nResult, 1);
    EXPECT_EQ(acc.m_strFieldName[0], "Here");
}

} // namespace
} // namespace hpa
