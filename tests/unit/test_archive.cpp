#include "platform/Archive.h"

#include <gtest/gtest.h>

namespace hpa {

namespace {

std::string Stored(std::string_view s)
{
    std::string out;
    CArchive ar(out);
    ar.WriteString(s);
    return out;
}

} // namespace

TEST(Archive, IntegersAreLittleEndianAndSigned)
{
    std::string out;
    CArchive ar(out);
    ar << std::int32_t{1} << std::int32_t{-1} << std::int32_t{0x12345678};
    EXPECT_EQ(out, std::string("\x01\0\0\0\xff\xff\xff\xff\x78\x56\x34\x12", 12));
    CArchive in(out.data(), out.size());
    std::int32_t a, b, c;
    in >> a >> b >> c;
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(c, 0x12345678);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(Archive, StringPrefixesAtEachBoundary)
{
    EXPECT_EQ(Stored(""), std::string("\x00", 1));
    EXPECT_EQ(Stored("ab"), std::string("\x02"
                                        "ab",
                                        3));
    EXPECT_EQ(Stored(std::string(254, 'x')).substr(0, 1), std::string("\xfe", 1));
    EXPECT_EQ(Stored(std::string(255, 'x')).substr(0, 3), std::string("\xff\xff\x00", 3));
    EXPECT_EQ(Stored(std::string(0xFFFD, 'x')).substr(0, 3), std::string("\xff\xfd\xff", 3));
    EXPECT_EQ(Stored(std::string(0xFFFE, 'x')).substr(0, 7),
              std::string("\xff\xff\xff\xfe\xff\x00\x00", 7));
    for (std::size_t n : {0u, 1u, 254u, 255u, 0xFFFDu, 0xFFFEu, 70000u}) {
        std::string bytes = Stored(std::string(n, 'q'));
        CArchive in(bytes.data(), bytes.size());
        EXPECT_EQ(in.ReadString().size(), n);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, TruncatedOrOversizedInputThrowsWithoutAllocating)
{
    std::string bytes = Stored("hello");
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        CArchive in(bytes.data(), cut);
        EXPECT_THROW(in.ReadString(), CArchiveException) << cut;
    }
    // A 32-bit length of 0x7FFFFFFF with nothing behind it.
    std::string huge("\xff\xff\xff\xff\xff\xff\x7f", 7);
    CArchive in(huge.data(), huge.size());
    EXPECT_THROW(in.ReadString(), CArchiveException);
    CArchive counts(huge.data(), huge.size());
    EXPECT_THROW(counts.RequireRoomFor(8, 1), CArchiveException);
    EXPECT_NO_THROW(counts.RequireRoomFor(7, 1));
}

} // namespace hpa
