// Value helpers of the accounting readers: number parsing, stripping,
// tokenising, dictionary name rewording.
#include "accounting/AccText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hpa {
namespace {

TEST(StripEnclosing, DropsBothEndsThenLeadingSpace)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"{a}", "a"}, {"{ a}", "a"},    {"{}", ""},       {"x", ""},
        {"", ""},     {"(a,b)", "a,b"}, {"{a }", "a "},   {"'\t x y'", "x y"},
        {"ab", ""},   {"abc", "b"},     {"{{a}}", "{a}"}, {" {a}", "{a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripEnclosing(c.in), c.out) << "input '" << c.in << "'";
}

TEST(LeadingInteger, ReadsLikeTheStandardConversion)
{
    struct Case {
        const char* in;
        std::int32_t out;
    } cases[] = {
        {"42", 42},
        {"  7x", 7},
        {"-15", -15},
        {"+3", 3},
        {"", 0},
        {"abc", 0},
        {"0 ", 0},
        {"\t\r\n9", 9},
        {"- 5", 0},
        {"12:30", 12},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingInteger(c.in), c.out) << "input '" << c.in << "'";
}

TEST(TrimLeadingSpace, KeepsTrailingBlanks)
{
    EXPECT_EQ(TrimLeadingSpace("  a b "), "a b ");
    EXPECT_EQ(TrimLeadingSpace("\t\v\f\r\n x"), "x");
    EXPECT_EQ(TrimLeadingSpace("   "), "");
    // Bytes above 127 are text, never white space.
    EXPECT_EQ(TrimLeadingSpace("\xA0x"), "\xA0x");
}

std::vector<std::string> Tokens(std::string_view text, std::vector<const char*> sets)
{
    CTokenizer tokenizer(text);
    std::vector<std::string> out;
    for (const char* set : sets) {
        std::string_view token;
        out.push_back(tokenizer.Next(CDelimSet(set), token) ? std::string(token) : "<none>");
    }
    return out;
}

TEST(Tokenizer, SkipsLeadingDelimitersAndConsumesTheOneAfter)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens("28:1,29:2\n", {":\n", ",\n", ":\n", ",\n", ":\n"}),
              (V{"28", "1", "29", "2", "<none>"}));
    // An empty value: the value search skips the "," and takes the next pair.
    EXPECT_EQ(Tokens("28:,29:5\n", {":\n", ",\n", ":\n"}), (V{"28", "29:5", "<none>"}));
    // The set changes per token; the consumed delimiter is never seen again.
    EXPECT_EQ(Tokens("2:{12:30}, 3:x", {":", "}", " ", ":", ","}),
              (V{"2", "{12:30", ",", "3", "x"}));
    EXPECT_EQ(Tokens(":::", {":"}), (V{"<none>"}));
    EXPECT_EQ(Tokens("", {":"}), (V{"<none>"}));
    // Once the text is used up every search finds nothing, whatever the set.
    EXPECT_EQ(Tokens("a", {",", ",", "x"}), (V{"a", "<none>", "<none>"}));
    EXPECT_EQ(Tokens("a,", {",", ","}), (V{"a", "<none>"}));
}

TEST(Tokenizer, FindsTheDelimiterWhereverItFallsInALongText)
{
    // Long texts are searched in blocks: a delimiter at any position, inside
    // a block, on its edges or in the short tail, ends the token there; a
    // text without one is a single token.
    for (std::size_t nLength = 1; nLength <= 48; ++nLength) {
        const std::string strPlain(nLength, 'x');
        EXPECT_EQ(Tokens(strPlain, {"}\n"}), std::vector<std::string>{strPlain});
        for (std::size_t nAt = 0; nAt < nLength; ++nAt) {
            for (const char chDelim : {'}', '\n'}) {
                std::string strText = strPlain;
                strText[nAt] = chDelim;
                const std::string strRest = strText.substr(nAt + 1);
                const std::vector<std::string> expected = {nAt > 0 ? strText.substr(0, nAt)
                                                           : strRest.empty() ? "<none>"
                                                                             : strRest};
                EXPECT_EQ(Tokens(strText, {"}\n"}), expected) << nLength << " " << nAt;
            }
        }
    }
}

TEST(RewordFieldName, UpperCasesAfterUnderscores)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"paper_width", "Paper Width"},
        {"job__id", "Job _id"},
        {"name_", "Name "},
        {"", ""},
        {"x", "X"},
        {"jobID_nUMBER", "JobID NUMBER"},
        {"_a_b", "_a B"},
        {"a_1b", "A 1b"},
        {"\xE9t\xE9_\xE9t\xE9", "\xE9t\xE9 \xE9t\xE9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RewordFieldName(c.in), c.out) << "input '" << c.in << "'";
}

} // namespace
} // namespace hpa
