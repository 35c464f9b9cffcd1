// hpactl's own help: every command it lists is documented in the man page
// (and nothing more), and "hpactl COMMAND --help" answers with the usage.
#include "support/ShellRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

namespace hpa {
namespace {

namespace fs = std::filesystem;
using test::CTempDir;
using test::Quoted;
using test::RunResult;

class HpactlHelp : public ::testing::Test {
protected:
    RunResult Run(const std::string& strArgs)
    {
        return test::RunHpactl(m_work.Path(), m_work.Path(), strArgs);
    }

    // The commands "hpactl --help" lists: the lines "  NAME ..." after
    // "Commands:", up to the first blank line.
    std::set<std::string> HelpCommands()
    {
        const RunResult help = Run("--help");
        EXPECT_EQ(help.status, 0) << help.err;
        std::set<std::string> commands;
        std::istringstream in(help.out);
        std::string strLine;
        bool bIn = false;
        while (std::getline(in, strLine)) {
            if (strLine == "Commands:") {
                bIn = true;
            } else if (bIn && strLine.empty()) {
                break;
            } else if (bIn && strLine.rfind("  ", 0) == 0 && strLine[2] != ' ') {
                commands.insert(strLine.substr(2, strLine.find(' ', 2) - 2));
            }
        }
        return commands;
    }

    CTempDir m_work;
};

// The first word of a man page macro line's argument, font escapes removed.
std::string FirstWord(const std::string& strArgs)
{
    std::string strWord = strArgs.substr(0, strArgs.find(' '));
    for (std::size_t n; (n = strWord.find("\\f")) != std::string::npos;)
        strWord.erase(n, 3);
    return strWord;
}

// The man page's commands: the ".TP" entries of the COMMANDS section that
// are not nested in another entry (.RS/.RE), and the "hpactl NAME" lines of
// the SYNOPSIS.
void ManCommands(std::set<std::string>& section, std::set<std::string>& synopsis)
{
    std::istringstream in(CTempDir::Read(fs::path(HPA_SOURCE_DIR) / "docs" / "hpactl.1"));
    std::string strLine, strSection;
    int nDepth = 0;
    bool bAfterTp = false;
    while (std::getline(in, strLine)) {
        if (strLine.rfind(".SH ", 0) == 0) {
            strSection = strLine.substr(4);
            nDepth = 0;
        } else if (strLine == ".RS") {
            ++nDepth;
        } else if (strLine == ".RE") {
            --nDepth;
        } else if (strSection == "COMMANDS" && nDepth == 0 && bAfterTp &&
                   strLine.rfind(".B ", 0) == 0) {
            section.insert(FirstWord(strLine.substr(3)));
        } else if (strSection == "SYNOPSIS" && strLine.rfind(".B hpactl ", 0) == 0) {
            const std::string strWord = FirstWord(strLine.substr(10));
            if (!strWord.empty() && std::all_of(strWord.begin(), strWord.end(),
                                                [](char ch) { return ch >= 'a' && ch <= 'z'; }))
                synopsis.insert(strWord);
        }
        bAfterTp = strLine == ".TP";
    }
}

TEST_F(HpactlHelp, ManPageDocumentsExactlyTheCommandsOfTheHelp)
{
    const std::set<std::string> help = HelpCommands();
    ASSERT_FALSE(help.empty());
    std::set<std::string> section, synopsis;
    ManCommands(section, synopsis);
    EXPECT_EQ(section, help) << "COMMANDS section of docs/hpactl.1";
    EXPECT_EQ(synopsis, help) << "SYNOPSIS of docs/hpactl.1";
}

TEST_F(HpactlHelp, EveryCommandAnswersHelpWithItsUsage)
{
    for (const std::string& strCommand : HelpCommands()) {
        for (const char* pszHelp : {"--help", "-h"}) {
            const RunResult r = Run(strCommand + " " + pszHelp);
            EXPECT_EQ(r.status, 0) << strCommand << " " << pszHelp << ": " << r.err;
            EXPECT_EQ(r.out.rfind("Usage: hpactl " + strCommand + " ", 0), 0u)
                << strCommand << ": " << r.out;
            EXPECT_EQ(r.err, "") << strCommand;
        }
    }
    EXPECT_EQ(Run("no-such-command --help").status, 2);
}

} // namespace
} // namespace hpa
