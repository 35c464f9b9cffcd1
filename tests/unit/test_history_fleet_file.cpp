// The fleet file: what a good file yields, and the file and line of every
// kind of error a collector run must stop on.
#include "history/FleetFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hpa {
namespace {

using test::CTempDir;

TEST(FleetFile, GoodFileYieldsEveryPrinterTrimmed)
{
    const std::string text = "\xEF\xBB\xBF# office printers\r\n"
                             "\n"
                             "[printer lab]\r\n"
                             "  host =  10.0.0.5:2121  \r\n"
                             "user=admin\n"
                             "\t# inside a section, still a comment\n"
                             "password-file = secrets/lab # not a comment\n"
                             "account = Cost Centre 7\n"
                             "[ printer   front desk ]\n"
                             "password-file=/etc/hpa/front\n"
                             "host = front.example\n"
                             "user = op=1\n"
                             "account =\n"
                             "\n";
    std::vector<CFleetPrinter> printers;
    CFleetError error;
    ASSERT_TRUE(ParseFleetText(text, "fleet.conf", printers, error)) << FormatFleetError(error);
    ASSERT_EQ(printers.size(), 2u);
    EXPECT_EQ(printers[0].m_strName, "lab");
    EXPECT_EQ(printers[0].m_strHost, "10.0.0.5:2121");
    EXPECT_EQ(printers[0].m_strUser, "admin");
    EXPECT_EQ(printers[0].m_strPasswordFile, "secrets/lab # not a comment");
    EXPECT_EQ(printers[0].m_strAccount, "Cost Centre 7");
    EXPECT_EQ(printers[0].m_nLine, 3);
    EXPECT_EQ(printers[1].m_strName, "front desk");
    EXPECT_EQ(printers[1].m_strHost, "front.example");
    EXPECT_EQ(printers[1].m_strUser, "op=1");
    EXPECT_EQ(printers[1].m_strPasswordFile, "/etc/hpa/front");
    EXPECT_EQ(printers[1].m_strAccount, "");
    EXPECT_EQ(printers[1].m_nLine, 9);

    // Comments and blank lines only: a valid, empty fleet.
    EXPECT_TRUE(ParseFleetText("# nothing yet\n\n", "f", printers, error));
    EXPECT_TRUE(printers.empty());
}

TEST(FleetFile, EachErrorNamesItsLine)
{
    const std::string lab = "[printer lab]\nhost = h\nuser = u\npassword-file = p\n";
    struct Case {
        std::string text;
        int nLine;
        const char* message;
    } cases[] = {
        {lab + "colour = red\n", 5, "unknown key \"colour\""},
        {"host = h\n" + lab, 1, "key \"host\" outside a [printer NAME] section"},
        {lab + "[scanner x]\n", 5,
         "unknown section \"scanner\": only [printer NAME] sections are allowed"},
        {lab + "[printer lab2\n", 5, "malformed section header: missing \"]\""},
        {"[printer a]\nuser = u\npassword-file = p\n", 1, "printer \"a\" has no \"host\" key"},
        {"[printer a]\nhost = h\npassword-file = p\n[printer b]\n", 1,
         "printer \"a\" has no \"user\" key"},
        {lab + "[printer b]\nhost = h\nuser = u\n", 5,
         "printer \"b\" has no \"password-file\" key"},
        {lab + "host = other\n", 5, "duplicate key \"host\""},
        {lab + "account = a\naccount = b\n", 6, "duplicate key \"account\""},
        {lab + "\n" + lab, 6, "duplicate printer \"lab\" (first on line 1)"},
        {lab + "just words\n", 5,
         "malformed line: expected \"key = value\", \"[printer NAME]\" or a # comment"},
        {lab + " = value\n", 5,
         "malformed line: expected \"key = value\", \"[printer NAME]\" or a # comment"},
        {"[printer]\n", 1, "empty printer name"},
        {"[printer   ]\n", 1, "empty printer name"},
        {"[printer a]\nhost =\n", 2, "empty value for \"host\""},
        {"[printer a\x1b[2J]\n", 1, "control character (byte 0x1B) in line"},
    };
    for (const Case& c : cases) {
        std::vector<CFleetPrinter> printers;
        CFleetError error;
        EXPECT_FALSE(ParseFleetText(c.text, "fleet.conf", printers, error)) << c.text;
        EXPECT_EQ(error.m_nLine, c.nLine) << c.text;
        EXPECT_EQ(error.m_strMessage, c.message) << c.text;
        EXPECT_EQ(error.m_strFile, "fleet.conf");
        // A fleet with an error is not half collected.
        EXPECT_TRUE(printers.empty()) << c.text;
    }
}

TEST(FleetFile, NulByteInALineIsRefused)
{
    std::vector<CFleetPrinter> printers;
    CFleetError error;
    const std::string text("[printer a]\nhost = h\0x\n", 22);
    EXPECT_FALSE(ParseFleetText(text, "f", printers, error));
    EXPECT_EQ(error.m_nLine, 2);
    EXPECT_EQ(error.m_strMessage, "control character (byte 0x00) in line");
}

TEST(FleetFile, FormatNamesFileAndLine)
{
    EXPECT_EQ(FormatFleetError({"/etc/hpa/fleet.conf", 12, "unknown key \"x\""}),
              "/etc/hpa/fleet.conf:12: unknown key \"x\"");
    EXPECT_EQ(FormatFleetError({"fleet.conf", 0, "cannot open: No such file or directory"}),
              "fleet.conf: cannot open: No such file or directory");
}

TEST(FleetFile, ReadFleetFileBoundsAndReportsUnreadableFiles)
{
    CTempDir dir;
    std::vector<CFleetPrinter> printers;
    CFleetError error;

    const auto good = dir.Write("good.conf", "[printer a]\nhost=h\nuser=u\npassword-file=p\n");
    ASSERT_TRUE(ReadFleetFile(good.string(), printers, error)) << FormatFleetError(error);
    ASSERT_EQ(printers.size(), 1u);

    const auto bad = dir.Write("bad.conf", "[printer a]\nhost=h\nuser=u\npasword-file=p\n");
    EXPECT_FALSE(ReadFleetFile(bad.string(), printers, error));
    EXPECT_EQ(FormatFleetError(error), bad.string() + ":4: unknown key \"pasword-file\"");

    struct Case {
        std::string path;
        const char* message;
    } cases[] = {
        {(dir.Path() / "missing.conf").string(), "cannot open: No such file or directory"},
        {dir.Path().string(), "not a regular file"},
        {dir.Write("huge.conf", std::string(1024 * 1024 + 1, '#')).string(),
         "larger than 1 MiB; not a fleet file"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(ReadFleetFile(c.path, printers, error)) << c.path;
        EXPECT_EQ(error.m_nLine, 0) << c.path;
        EXPECT_EQ(error.m_strFile, c.path);
        EXPECT_EQ(error.m_strMessage, c.message) << c.path;
        EXPECT_TRUE(printers.empty());
    }
    // Exactly 1 MiB is still a fleet file.
    const auto full = dir.Write("full.conf", std::string(1024 * 1024, '#'));
    EXPECT_TRUE(ReadFleetFile(full.string(), printers, error)) << FormatFleetError(error);
}

TEST(FleetFile, PasswordFileGivesItsFirstLine)
{
    CTempDir dir;
    struct Case {
        const char* bytes;
        const char* password;
    } cases[] = {
        {"s3cret\n", "s3cret"},
        {"s3cret\r\nsecond\n", "s3cret"},
        {"no line end", "no line end"},
        {" spaced \n", " spaced "},
        {"", ""},
        {"\n", ""},
    };
    for (const Case& c : cases) {
        const auto path = dir.Write("pw", c.bytes);
        std::string strPassword = "stale";
        EXPECT_TRUE(ReadPasswordFile(path.string(), strPassword)) << c.bytes;
        EXPECT_EQ(strPassword, c.password);
    }
    std::string strPassword;
    EXPECT_FALSE(ReadPasswordFile((dir.Path() / "missing").string(), strPassword));
    EXPECT_FALSE(ReadPasswordFile(dir.Path().string(), strPassword));
    const auto endless = dir.Write("endless", std::string(128 * 1024, 'x'));
    EXPECT_FALSE(ReadPasswordFile(endless.string(), strPassword));
}

} // namespace
} // namespace hpa
