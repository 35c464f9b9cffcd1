// The control connection against a scripted peer: each case is a server
// script, the command transcript the server must see and the result.
#include "support/FixedClock.h"
#include "support/ScriptedFtpServer.h"
#include "transfer/FtpClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hpa {
namespace {

using test::CFixedClock;
using test::CScriptedFtpServer;
using test::HangUp;
using test::Reply;
using test::Say;
using test::SayLater;
using test::Silence;
using Lines = std::vector<std::string>;
using LoginResult = CFtpClient::LoginResult;
using AddressResult = CFtpClient::AddressResult;
using TypeResult = CFtpClient::TypeResult;

constexpr int kShortTimeoutMs = 200;

struct LoginCase {
    const char* pszName;
    Reply greeting; // empty: the server's default 220
    std::vector<std::pair<std::string, Reply>> replies;
    Lines transcript; // as the server sees it, the client's Quit included
    int nResult;      // the numbered result, which must not change
};

const LoginCase kLoginCases[] = {
    {"UserThenPass", {}, {}, {"USER ops", "PASS pw", "Quit"}, 0},
    {"UserAloneIsEnough", {}, {{"USER", {Say("230 Welcome.\r\n")}}}, {"USER ops", "Quit"}, 0},
    {"Pass332CountsAsLoggedIn",
     {},
     {{"PASS", {Say("332 Need account.\r\n")}}},
     {"USER ops", "PASS pw", "Quit"},
     0},
    {"Pass300LeadsToEmptyAcct",
     {},
     {{"PASS", {Say("300 Go on.\r\n")}}},
     {"USER ops", "PASS pw", "ACCT ", "Quit"},
     0},
    // The last line comes late: a client that took "230 " for the end would
    // read "220 ready" as the answer to USER and never send PASS.
    {"MultiLineGreetingIsOneReply",
     {Say("220-Welcome\r\n220-to the printer\r\n230 not the end\r\n"),
      SayLater(100, "220 ready\r\n")},
     {},
     {"USER ops", "PASS pw", "Quit"},
     0},
    {"EmptyGreetingLine", {Say("\r\n")}, {}, {"Quit"}, 3},
    {"GreetingHangsUp", {HangUp()}, {}, {}, 3},
    {"GreetingWithoutCode", {Say("abc ready\r\n")}, {}, {"Quit"}, 3},
    {"Greeting120", {Say("120 Try later.\r\n")}, {}, {"Quit"}, 4},
    {"Greeting421", {Say("421 Busy.\r\n")}, {}, {"Quit"}, 4},
    {"NoReplyToUser", {}, {{"USER", Silence()}}, {"USER ops", "Quit"}, 5},
    {"EmptyReplyToUser", {}, {{"USER", {Say("\r\n")}}}, {"USER ops", "Quit"}, 5},
    {"UserRefused", {}, {{"USER", {Say("530 Not allowed.\r\n")}}}, {"USER ops", "Quit"}, 6},
    {"User199Refused", {}, {{"USER", {Say("199 Odd.\r\n")}}}, {"USER ops", "Quit"}, 6},
    {"NoReplyToPass", {}, {{"PASS", {HangUp()}}}, {"USER ops", "PASS pw"}, 7},
    {"PassRefused",
     {},
     {{"PASS", {Say("530 Login incorrect.\r\n")}}},
     {"USER ops", "PASS pw", "Quit"},
     8},
    {"NoReplyToAcct",
     {},
     {{"PASS", {Say("300 Go on.\r\n")}}, {"ACCT", Silence()}},
     {"USER ops", "PASS pw", "ACCT ", "Quit"},
     9},
    {"AcctRefused",
     {},
     {{"PASS", {Say("300 Go on.\r\n")}}, {"ACCT", {Say("502 No.\r\n")}}},
     {"USER ops", "PASS pw", "ACCT ", "Quit"},
     10},
    // Replies are bytes: a NUL inside one does not cut it short.
    {"NulInsideReplies",
     {Say(std::string("220 re\0ady\r\n", 12))},
     {{"USER", {Say(std::string("331 pass\0word\r\n", 15))}}},
     {"USER ops", "PASS pw", "Quit"},
     0},
    // A 100,000-character line is read in pieces and skipped inside a
    // multi-line reply.
    // A line of exactly 100 characters leaves only its CR LF for the next
    // piece: that is the end of the line, not an empty reply line.
    {"LineOfExactlyTheLimit",
     {Say("220-" + std::string(96, 'x') + "\r\n220 ok\r\n")},
     {},
     {"USER ops", "PASS pw", "Quit"},
     0},
    {"HugeLineInGreeting",
     {Say("220-" + std::string(100000, 'x') + "\r\n220 ok\r\n")},
     {},
     {"USER ops", "PASS pw", "Quit"},
     0},
};

class Login : public testing::TestWithParam<LoginCase> {};

TEST_P(Login, SendsTheTranscriptAndGivesTheResult)
{
    const LoginCase& c = GetParam();
    CScriptedFtpServer server;
    if (!c.greeting.empty())
        server.SetGreeting(c.greeting);
    for (const auto& [verb, reply] : c.replies)
        server.AddReply(verb, reply);

    CFtpClient client;
    client.SetTimeouts(kShortTimeoutMs, kShortTimeoutMs);
    EXPECT_EQ(static_cast<int>(client.Login(server.HostText(), "ops", "pw")), c.nResult);
    client.Quit();
    EXPECT_EQ(server.Transcript(), c.transcript);
}

INSTANTIATE_TEST_SUITE_P(Scripts, Login, testing::ValuesIn(kLoginCases),
                         [](const auto& tpi) { return std::string(tpi.param.pszName); });

// A given account answers the printer's request for one, 332 included;
// account text that would end the command line is refused unsent.
TEST(LoginAccount, GivenAccountIsSentWhenAskedFor)
{
    for (const char* pszReply : {"332 Need account.\r\n", "300 Go on.\r\n"}) {
        CScriptedFtpServer server;
        server.AddReply("PASS", {Say(pszReply)});
        CFtpClient client;
        client.SetTimeouts(kShortTimeoutMs, kShortTimeoutMs);
        EXPECT_EQ(client.Login(server.HostText(), "ops", "pw", "lab-7"), LoginResult::loggedIn)
            << pszReply;
        client.Quit();
        const Lines expected = {"USER ops", "PASS pw", "ACCT lab-7", "Quit"};
        EXPECT_EQ(server.Transcript(), expected) << pszReply;
    }
    CScriptedFtpServer server;
    CFtpClient client;
    client.SetTimeouts(kShortTimeoutMs, kShortTimeoutMs);
    EXPECT_EQ(client.Login(server.HostText(), "ops", "pw", "lab\r\nDELE x"),
              LoginResult::acctRefused);
}

TEST(LoginHost, UnresolvableNameGives1AndConnectionRefusedGives2)
{
    CFtpClient client;
    // (An empty name after the at sign fails without asking any name server.)
    EXPECT_EQ(client.Login("nobody@", "ops", "pw"), LoginResult::hostNotResolved);

    // A port that was just free: nobody listens there now.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), len), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    ::close(fd);
    EXPECT_EQ(client.Login("127.0.0.1:" + std::to_string(ntohs(addr.sin_port)), "ops", "pw"),
              LoginResult::connectFailed);
}

TEST(LoginHost, TextBeforeTheLastAtSignIsNotLookedUp)
{
    CScriptedFtpServer server;
    CFtpClient client;
    EXPECT_EQ(client.Login("front@desk@" + server.HostText(), "ops", "pw"), LoginResult::loggedIn);
    EXPECT_EQ(client.ServerAddress(), "127.0.0.1");
    std::string strAddress;
    EXPECT_EQ(client.ResolveHost("a@localhost", strAddress), AddressResult::done);
    EXPECT_EQ(strAddress, "127.0.0.1");
    EXPECT_EQ(client.ResolveHost("localhost", strAddress, 9),
              AddressResult::tooLong); // "127.0.0.1" needs 10
}

TEST(LoginHost, LineBreaksInUserOrPasswordAreRefusedBeforeAnythingIsSent)
{
    CScriptedFtpServer server;
    CFtpClient client;
    EXPECT_EQ(client.Login(server.HostText(), "ops\r\nDELE x", "pw"), LoginResult::userRefused);
    EXPECT_EQ(client.Login(server.HostText(), "ops", "pw\nSITE x"), LoginResult::passRefused);
    EXPECT_EQ(client.Login(server.HostText(), "ops", std::string("p\0w", 3)),
              LoginResult::passRefused);
    EXPECT_EQ(server.TranscriptSoFar(), Lines{});
    // The same client still logs in properly afterwards.
    EXPECT_EQ(client.Login(server.HostText(), "ops", "pw"), LoginResult::loggedIn);
    client.Quit();
    EXPECT_EQ(server.Transcript(), (Lines{"USER ops", "PASS pw", "Quit"}));
}

TEST(Replies, WhatAlreadyWaitsBehindAReplyIsDrained)
{
    CScriptedFtpServer server;
    server.AddReply("USER", "331 Password required.\r\n530 stale\r\n226 stale too\r\n");
    CFtpClient client;
    EXPECT_EQ(client.Login(server.HostText(), "ops", "pw"), LoginResult::loggedIn);
}

TEST(Replies, WhatArrivesLaterStaysForTheNextRead)
{
    CScriptedFtpServer server;
    server.AddReply("USER",
                    Reply{Say("331 Password required.\r\n"), SayLater(300, "530 late\r\n")});
    CFtpClient client;
    EXPECT_EQ(client.Login(server.HostText(), "ops", "pw"), LoginResult::passRefused);
}

TEST(Replies, AnEndlessMultiLineReplyIsBounded)
{
    std::string strFlood = "220-start\r\n";
    for (int i = 0; i < CFtpClient::kMaxReplyLines + 10; ++i)
        strFlood += "x\r\n";
    CScriptedFtpServer server;
    server.SetGreeting({Say(strFlood)});
    CFtpClient client;
    client.SetTimeouts(kShortTimeoutMs, kShortTimeoutMs);
    EXPECT_EQ(client.Login(server.HostText(), "ops", "pw"), LoginResult::noGreeting);
}

TEST(SetType, SendsTypeAndJudgesTheReply)
{
    CScriptedFtpServer server;
    server.AddReply("TYPE", "504 Not that type.\r\n");
    server.AddReply("TYPE", Reply{Say("200-Type\r\n500 inside\r\n"), SayLater(100, "200 set\r\n")});
    server.AddReply("TYPE", Silence());
    CFtpClient client;
    client.SetTimeouts(kShortTimeoutMs, kShortTimeoutMs);
    ASSERT_EQ(client.Login(server.HostText(), "ops", "pw"), LoginResult::loggedIn);
    EXPECT_EQ(client.SetType(2), TypeResult::unknownType); // nothing sent
    EXPECT_EQ(client.SetType(1), TypeResult::refused);
    EXPECT_EQ(client.SetType(1), TypeResult::done); // multi-line 200 with a 500 line inside
    EXPECT_EQ(client.SetType(0), TypeResult::noReply);
    EXPECT_EQ(client.SetType(0), TypeResult::done);
    client.Quit();
    EXPECT_EQ(server.Transcript(),
              (Lines{"USER ops", "PASS pw", "TYPE I", "TYPE I", "TYPE A", "TYPE A", "Quit"}));
}

TEST(Quit, MayBeCalledAnyNumberOfTimes)
{
    CFtpClient idle;
    EXPECT_EQ(idle.Quit(), 0);
    EXPECT_EQ(idle.Quit(), 0);

    CScriptedFtpServer server;
    {
        CFtpClient client;
        ASSERT_EQ(client.Login(server.HostText(), "ops", "pw"), LoginResult::loggedIn);
        EXPECT_EQ(client.Quit(), 0);
        EXPECT_EQ(client.Quit(), 0);
    } // the destructor quits once more
    EXPECT_EQ(server.Transcript(), (Lines{"USER ops", "PASS pw", "Quit"}));
}

TEST(Quit, SendingToAPeerThatHungUpDoesNotKillTheProcess)
{
    CScriptedFtpServer server;
    server.AddReply("USER", Reply{HangUp()});
    CFtpClient client;
    EXPECT_EQ(client.Login(server.HostText(), "ops", "pw"), LoginResult::noUserReply);
    // The first send after the hang-up draws a reset, the next ones EPIPE.
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(client.SetType(1), TypeResult::done);
    client.Quit();
    SUCCEED();
}

TEST(DataPort, ComesFromTheTickCount)
{
    EXPECT_EQ(CFtpClient(CFixedClock(0)).DataPort(), 5578);
    EXPECT_EQ(CFtpClient(CFixedClock(999)).DataPort(), 5578);
    EXPECT_EQ(CFtpClient(CFixedClock(65535)).DataPort(), 5643);
    EXPECT_EQ(CFtpClient(CFixedClock(0x12345678)).DataPort(), 5578 + 0x5678 / 1000);
    const int nPort = CFtpClient().DataPort();
    EXPECT_GE(nPort, 5578);
    EXPECT_LE(nPort, 5643);
}

} // namespace
} // namespace hpa
