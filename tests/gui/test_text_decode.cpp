#include "platform/qt/TextDecode.h"

#include <gtest/gtest.h>

namespace hpa {

TEST(TextDecode, Utf8IsKeptAndEverythingElseIsWindows1252)
{
    EXPECT_EQ(DecodeAccText("plain"), QStringLiteral("plain"));
    EXPECT_EQ(DecodeAccText("M\xC3\xBCller"), QString::fromUtf8("M\xC3\xBCller"));
    // A lone 0xFC is not UTF-8: Windows-1252 u-umlaut.
    EXPECT_EQ(DecodeAccText("M\xFCller"), QString::fromUtf8("M\xC3\xBCller"));
    // 0x80 is the euro sign in Windows-1252.
    EXPECT_EQ(DecodeAccText("\x80"
                            "5"),
              QString::fromUtf8("\xE2\x82\xAC"
                                "5"));
    // Truncated, overlong and surrogate sequences fall back to 1252.
    EXPECT_FALSE(IsValidUtf8("\xC3"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(DecodeAccText(std::string_view("a\0b", 3)).size(), 3);
}

} // namespace hpa
