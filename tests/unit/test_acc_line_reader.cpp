// The accounting files are read in text mode in pieces of a fixed size; the
// buffered reader must give exactly the pieces a line-by-line fixed-buffer
// read would give.
#include "accounting/AccFileReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace hpa {
namespace {

using test::CTempDir;

std::vector<std::string> Pieces(const std::string& strBytes, std::size_t nMax)
{
    CTempDir dir;
    CAccFileReader reader;
    EXPECT_TRUE(reader.Open(dir.Write("f.tmp", strBytes)));
    std::vector<std::string> out;
    std::string_view line;
    while (reader.ReadLine(nMax, line))
        out.emplace_back(line);
    return out;
}

// The straightforward model: translate CR LF to LF first, then cut after
// each LF or after nMax characters.
std::vector<std::string> ModelPieces(const std::string& strBytes, std::size_t nMax)
{
    std::string text;
    for (std::size_t n = 0; n < strBytes.size(); ++n) {
        if (strBytes[n] == '\r' && n + 1 < strBytes.size() && strBytes[n + 1] == '\n')
            continue;
        text.push_back(strBytes[n]);
    }
    std::vector<std::string> out;
    std::string piece;
    for (char ch : text) {
        piece.push_back(ch);
        if (ch == '\n' || piece.size() == nMax) {
            out.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty())
        out.push_back(piece);
    return out;
}

TEST(AccFileReader, FixedSizePiecesInTextMode)
{
    using V = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t max;
        V pieces;
    } cases[] = {
        {"lf lines", "ab\ncd\n", 10, {"ab\n", "cd\n"}},
        {"crlf lines", "ab\r\ncd\r\n", 10, {"ab\n", "cd\n"}},
        {"last line without end", "ab\ncd", 10, {"ab\n", "cd"}},
        {"long line split", "abcdefg\n", 3, {"abc", "def", "g\n"}},
        {"line end alone after a full piece", "abc\n", 3, {"abc", "\n"}},
        {"crlf counts as one character", "ab\r\n", 3, {"ab\n"}},
        {"crlf straddling the limit", "abc\r\nd", 3, {"abc", "\n", "d"}},
        {"lone cr is text", "a\rb\n", 10, {"a\rb\n"}},
        {"cr cr lf", "a\r\r\n", 10, {"a\r\n"}},
        {"cr at end of file", "a\r", 10, {"a\r"}},
        {"empty lines", "\n\r\n\n", 10, {"\n", "\n", "\n"}},
        {"empty file", "", 10, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pieces(c.bytes, c.max), c.pieces) << c.name;
        EXPECT_EQ(ModelPieces(c.bytes, c.max), c.pieces) << "model: " << c.name;
    }
}

TEST(AccFileReader, MatchesTheModelAcrossBufferRefills)
{
    // Several megabytes of short and long lines, CR LF and LF mixed, so that
    // lines and CR LF pairs straddle the reader's internal buffer boundaries.
    std::mt19937 rng(12345);
    std::string bytes;
    const char alphabet[] = "ab,:{} \r";
    while (bytes.size() < 3 * 1024 * 1024 + 77) {
        const std::size_t nLen = rng() % 500;
        for (std::size_t n = 0; n < nLen; ++n)
            bytes.push_back(alphabet[rng() % (sizeof alphabet - 1)]);
        bytes += (rng() % 2) ? "\r\n" : "\n";
    }
    for (std::size_t nMax : {255u, 254u, 398u}) {
        const auto actual = Pieces(bytes, nMax);
        const auto expected = ModelPieces(bytes, nMax);
        ASSERT_EQ(actual.size(), expected.size()) << nMax;
        for (std::size_t n = 0; n < actual.size(); ++n)
            ASSERT_EQ(actual[n], expected[n]) << "piece " << n << " of size " << nMax;
    }
}

TEST(AccFileReader, WholeLinesWithoutLineEnds)
{
    CTempDir dir;
    CAccFileReader reader;
    ASSERT_TRUE(reader.Open(
        dir.Write("d.tmp", "one\r\ntwo\n\nthree\rx\r\n" + std::string(100, 'y') + "\nlast")));
    std::string line;
    std::vector<std::string> lines;
    while (reader.ReadWholeLine(line, 50))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "three\rx", std::string(50, 'y'),
                                               "last"}));
}

TEST(AccFileReader, MissingFileOrDirectoryDoesNotOpen)
{
    CTempDir dir;
    CAccFileReader reader;
    EXPECT_FALSE(reader.Open(dir.Path() / "absent.tmp"));
    EXPECT_FALSE(reader.Open(dir.Path()));
}

TEST(AccFileReader, UpToNulCutsAtTheFirstNul)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(UpToNul("ab\0cd\n"sv), "ab");
    EXPECT_EQ(UpToNul("abc\n"sv), "abc\n");
}

} // namespace
} // namespace hpa
