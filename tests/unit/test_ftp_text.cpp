#include "transfer/FtpText.h"

#include <gtest/gtest.h>

namespace hpa {

TEST(FtpText, LeadingIntReadsLikeTheStandardConversion)
{
    EXPECT_EQ(LeadingInt("220"), 220);
    EXPECT_EQ(LeadingInt("22a"), 22);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("  -42x"), -42);
    EXPECT_EQ(LeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(LeadingInt64("3000000000"), 3000000000LL);
    EXPECT_EQ(LeadingInt(std::string_view("1\0002", 3)), 1);
}

TEST(FtpText, ArgumentsWithLineBreaksOrNulAreUnsafe)
{
    EXPECT_TRUE(IsSafeArgument("admin"));
    EXPECT_TRUE(IsSafeArgument(""));
    EXPECT_FALSE(IsSafeArgument("admin\r\nDELE x"));
    EXPECT_FALSE(IsSafeArgument("a\nb"));
    EXPECT_FALSE(IsSafeArgument("a\rb"));
    EXPECT_FALSE(IsSafeArgument(std::string_view("a\0b", 3)));
}

TEST(FtpText, ControlPortIs21UnlessTheHostEndsInAPort)
{
    struct Case {
        const char* pszText;
        const char* pszHost;
        int nPort;
    } cases[] = {
        {"PRINTER1", "PRINTER1", 21},
        {"10.0.0.7:2121", "10.0.0.7", 2121},
        {"ops@printer:65535", "ops@printer", 65535},
        {"printer:0", "printer:0", 21},
        {"printer:65536", "printer:65536", 21},
        {"printer:", "printer:", 21},
        {"printer:21a", "printer:21a", 21},
        {"printer:1234567", "printer:1234567", 21},
    };
    for (const Case& c : cases) {
        std::string strHost;
        int nPort = 0;
        SplitHostPort(c.pszText, strHost, nPort);
        EXPECT_EQ(strHost, c.pszHost) << c.pszText;
        EXPECT_EQ(nPort, c.nPort) << c.pszText;
    }
}

TEST(FtpText, Ipv6LiteralsAreSplitOffTheirBracketsAndPort)
{
    struct Case {
        const char* pszText;
        const char* pszHost;
        int nPort;
    } cases[] = {
        {"[fd00::5]", "fd00::5", 21},
        {"[::1]:2121", "::1", 2121},
        {"[FD00::5]:65535", "FD00::5", 65535},
        {"ops@[::1]:2121", "ops@::1", 2121},
        {"fd00::5", "fd00::5", 21}, // bare: no colon starts a port
        {"::1:2121", "::1:2121", 21},
        {"[::1]:0", "[::1]:0", 21},
        {"[::1]:65536", "[::1]:65536", 21},
        {"[::1]2121", "[::1]2121", 21},
        {"[::1]:", "[::1]:", 21},
    };
    for (const Case& c : cases) {
        std::string strHost;
        int nPort = 0;
        SplitHostPort(c.pszText, strHost, nPort);
        EXPECT_EQ(strHost, c.pszHost) << c.pszText;
        EXPECT_EQ(nPort, c.nPort) << c.pszText;
    }
}

TEST(FtpText, OnlyThePartAfterTheLastAtSignIsLookedUp)
{
    EXPECT_EQ(HostAfterLastAt("a@b@printer"), "printer");
    EXPECT_EQ(HostAfterLastAt("printer"), "printer");
    EXPECT_EQ(HostAfterLastAt("@printer"), "@printer"); // the first character is not scanned
    EXPECT_EQ(HostAfterLastAt("x@"), "");
    EXPECT_TRUE(IsDottedAddress("192.168.1.5"));
    EXPECT_FALSE(IsDottedAddress("192.168.1"));
    EXPECT_FALSE(IsDottedAddress("printer"));
}

TEST(FtpText, PortCommandCarriesAddressAndPortBytes)
{
    EXPECT_EQ(FormatPortCommand("192.168.1.5", 5600), "PORT 192,168,1,5,21,224\r\n");
    EXPECT_EQ(FormatPortCommand("127.0.0.1", 5643), "PORT 127,0,0,1,22,11\r\n");
    EXPECT_EQ(FormatPortCommand("", 5578), "PORT ,21,202\r\n");
    EXPECT_EQ(FormatEprtCommand("::1", 5600), "EPRT |2|::1|5600|\r\n");
}

} // namespace hpa
