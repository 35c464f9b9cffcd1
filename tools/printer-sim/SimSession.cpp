#include "SimSession.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace hpa::sim {

namespace {

// Command lines longer than this are refused without being kept.
constexpr std::size_t kMaxCommandLine = 512;
constexpr std::size_t kMaxVerb = 8;

std::string Upper(std::string_view str)
{
    std::string out(str);
    for (char& ch : out)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return out;
}

bool HasControlChars(std::string_view str)
{
    return std::any_of(str.begin(), str.end(), [](char ch) {
        unsigned char uch = static_cast<unsigned char>(ch);
        return (uch < 0x20 && ch != '\t') || uch == 0x7f;
    });
}

// Verbs a full FTP server knows that this printer does not do.
bool IsKnownUnsupported(std::string_view strVerb)
{
    static const char* const kVerbs[] = {
        "PASV", "EPSV", "LPSV", "LPRT", "LIST", "NLST", "MLSD", "MLST", "STOR", "STOU",
        "APPE", "DELE", "MKD",  "XMKD", "RMD",  "XRMD", "RNFR", "RNTO", "REST", "ABOR",
        "SITE", "STAT", "HELP", "ALLO", "SMNT", "REIN", "OPTS", "AUTH", "PBSZ", "PROT",
        "CCC",  "ADAT", "MIC",  "CONF", "ENC",  "LANG", "HOST", "CLNT"};
    return std::any_of(std::begin(kVerbs), std::end(kVerbs),
                       [&](const char* p) { return strVerb == p; });
}

} // namespace

CSimSession::CSimSession(const SSimOptions& opts, const CRemoteTree& tree, const CStopSignal& stop,
                         CSimLog& log, int nCtrlFd, const sockaddr_in& peer, int nId,
                         CSimJobLog* pJobLog)
    : m_opts(opts), m_tree(tree), m_stop(stop), m_log(log), m_nCtrlFd(nCtrlFd), m_peer(peer),
      m_nId(nId), m_reader(nCtrlFd, kMaxCommandLine), m_pJobLog(pJobLog)
{
    socklen_t nLen = sizeof m_local;
    getsockname(nCtrlFd, reinterpret_cast<sockaddr*>(&m_local), &nLen);
}

CSimSession::~CSimSession()
{
    CloseFd(m_nDataFd);
    CloseFd(m_nCtrlFd);
}

void CSimSession::Run()
{
    m_log.Line(m_nId, "*", "connection from " + FormatAddr(m_peer));
    if (Greet()) {
        std::string strLine;
        for (;;) {
            CLineReader::EResult res = m_reader.ReadLine(strLine, m_opts.m_nIdleTimeoutMs, m_stop);
            if (res == CLineReader::tooLong) {
                m_log.Line(m_nId, "C", "(command line too long)");
                m_strReplyTarget = "*";
                if (!Reply(500, "Command line too long."))
                    break;
                continue;
            }
            if (res == CLineReader::timeout) {
                m_strReplyTarget = "*";
                Reply(421, "Idle time-out, closing control connection.");
                break;
            }
            if (res != CLineReader::line)
                break;
            std::size_t nSpace = strLine.find(' ');
            std::string strVerb = Upper(strLine.substr(0, nSpace));
            std::string strArg = nSpace == std::string::npos ? "" : strLine.substr(nSpace + 1);
            m_log.Line(m_nId, "C", strVerb == "PASS" ? "PASS ****" : strLine);
            if (Dispatch(strVerb, strArg) == endSession)
                break;
        }
    }
    m_log.Line(m_nId, "*", "session ends");
    CloseFd(m_nDataFd);
    CloseFd(m_nCtrlFd);
}

bool CSimSession::Greet()
{
    const CSimFaults& faults = m_opts.m_faults;
    if (faults.Find("no-greeting")) {
        m_log.Line(m_nId, "*", "no greeting (fault)");
        // Say nothing; swallow whatever the client sends until it gives up.
        char buf[512];
        while (WaitFor(m_nCtrlFd, POLLIN, m_opts.m_nIdleTimeoutMs, m_stop) == EWait::ready)
            if (recv(m_nCtrlFd, buf, sizeof buf, 0) <= 0)
                break;
        return false;
    }
    if (const SFault* pCode = faults.Find("greeting-code")) {
        int nCode = static_cast<int>(pCode->m_nArg);
        bool bSent =
            Reply(nCode, nCode == 421 ? "Service not available, closing control connection."
                                      : "Service ready in 1 minutes.");
        return bSent && nCode != 421;
    }
    const SFault* pLines = faults.Find("multiline-greeting");
    bool bTrap = faults.Find("multiline-trap") != nullptr;
    if (!pLines && !bTrap)
        return Reply(220, "Printer FTP server ready.");
    long nLines = pLines ? pLines->m_nArg : 3;
    std::vector<std::string> lines;
    lines.push_back("220-Printer FTP server");
    for (long i = 1; i + 1 < nLines; ++i) {
        if (bTrap && i == 1)
            lines.push_back("230 This line is part of the greeting.");
        else
            lines.push_back("220-Accounting files are in SYS:/admin (line " +
                            std::to_string(i + 1) + ").");
    }
    lines.push_back("220 Ready.");
    return ReplyLines(lines);
}

CSimSession::EHandled CSimSession::Dispatch(const std::string& strVerb, const std::string& strArg)
{
    m_strReplyTarget = strVerb;
    ++m_nCommands;
    if (const SFault* p421 = m_opts.m_faults.Find("close-421");
        p421 && m_nCommands > p421->m_nArg) {
        Reply(421, "Service not available, closing control connection.");
        return endSession;
    }
    if (strVerb.size() > kMaxVerb || strVerb.empty())
        return Reply(500, "Unknown command.") ? keepGoing : endSession;
    if (HasControlChars(strArg))
        return Reply(501, "Control characters are not allowed in arguments.") ? keepGoing
                                                                              : endSession;
    if (strVerb == "USER")
        return OnUser(strArg);
    if (strVerb == "PASS")
        return OnPass(strArg);
    if (strVerb == "ACCT")
        return OnAcct(strArg);
    if (strVerb == "TYPE")
        return OnType(strArg);
    if (strVerb == "QUIT") {
        Reply(221, "Goodbye.");
        return endSession;
    }
    bool bOk = true;
    if (strVerb == "NOOP") {
        bOk = Reply(200, "NOOP ok.");
    } else if (strVerb == "SYST") {
        bOk = Reply(215, "UNIX Type: L8");
    } else if (strVerb == "FEAT") {
        bOk = ReplyLines({"211-Features:", " EPRT", " MDTM", " SIZE", "211 End"});
    } else if (strVerb == "MODE" || strVerb == "STRU") {
        bool bPlain = Upper(strArg) == (strVerb == "MODE" ? "S" : "F");
        bOk = bPlain ? Reply(200, strVerb + " set.") : Reply(504, "Not supported.");
    } else if (strVerb == "PORT" || strVerb == "EPRT" || strVerb == "RETR" || strVerb == "SIZE" ||
               strVerb == "MDTM" || strVerb == "CWD" || strVerb == "XCWD" || strVerb == "CDUP" ||
               strVerb == "XCUP" || strVerb == "PWD" || strVerb == "XPWD") {
        if (!LoggedInOrReply())
            return keepGoing;
        if (strVerb == "PORT")
            return OnPort(strArg);
        if (strVerb == "EPRT")
            return OnEprt(strArg);
        if (strVerb == "RETR")
            return OnRetr(strArg);
        if (strVerb == "SIZE")
            return OnSize(strArg);
        if (strVerb == "MDTM")
            return OnMdtm(strArg);
        if (strVerb == "CWD" || strVerb == "XCWD")
            return OnCwd(strArg);
        if (strVerb == "CDUP" || strVerb == "XCUP")
            return OnCwd("..");
        bOk = Reply(257, "\"" + m_strCwd + "\" is the current directory.");
    } else if (IsKnownUnsupported(strVerb)) {
        bOk = Reply(502, "Command not implemented.");
    } else {
        bOk = Reply(500, "Unknown command.");
    }
    return bOk ? keepGoing : endSession;
}

bool CSimSession::LoggedInOrReply()
{
    if (m_bLoggedIn)
        return true;
    Reply(530, "Please login with USER and PASS.");
    return false;
}

CSimSession::EHandled CSimSession::OnUser(const std::string& strArg)
{
    m_bLoggedIn = false;
    m_bNeedAcct = false;
    m_bUserSeen = true;
    m_bUserOk = strArg == m_opts.m_strUser;
    bool bOk;
    if (const SFault* p = m_opts.m_faults.Find("refuse-user")) {
        m_bUserSeen = false;
        bOk = Reply(static_cast<int>(p->m_nArg), "User not accepted.");
        return bOk && p->m_nArg != 421 ? keepGoing : endSession;
    }
    if (m_bUserOk && m_opts.m_faults.Find("user-230")) {
        m_bLoggedIn = true;
        bOk = Reply(230, "User logged in.");
    } else {
        // Like most servers, a wrong name is only refused after PASS.
        bOk = Reply(331, "Password required for " + strArg + ".");
    }
    return bOk ? keepGoing : endSession;
}

CSimSession::EHandled CSimSession::OnPass(const std::string& strArg)
{
    bool bOk;
    if (m_bLoggedIn) {
        bOk = Reply(230, "Already logged in.");
    } else if (!m_bUserSeen) {
        bOk = Reply(503, "Login with USER first.");
    } else if (const SFault* p = m_opts.m_faults.Find("refuse-pass")) {
        bOk = Reply(static_cast<int>(p->m_nArg), "Login refused.");
        if (p->m_nArg == 421)
            return endSession;
    } else if (!m_bUserOk || strArg != m_opts.m_strPassword) {
        m_bUserSeen = false;
        bOk = Reply(530, "Login incorrect.");
    } else if (m_opts.m_faults.Find("pass-300")) {
        m_bNeedAcct = true;
        bOk = Reply(300, "Account required for login.");
    } else if (m_opts.m_bAccountSet) {
        m_bNeedAcct = true;
        bOk = Reply(332, "Need account for login.");
    } else {
        m_bLoggedIn = true;
        bOk = Reply(230, "User logged in.");
    }
    return bOk ? keepGoing : endSession;
}

CSimSession::EHandled CSimSession::OnAcct(const std::string& strArg)
{
    bool bOk;
    if (const SFault* p = m_opts.m_faults.Find("refuse-acct")) {
        bOk = Reply(static_cast<int>(p->m_nArg), "Account not accepted.");
        if (p->m_nArg == 421)
            return endSession;
    } else if (m_bLoggedIn) {
        bOk = Reply(202, "No account needed.");
    } else if (!m_bNeedAcct) {
        bOk = Reply(503, "Login with USER and PASS first.");
    } else if (m_opts.m_bAccountSet && strArg != m_opts.m_strAccount) {
        bOk = Reply(530, "Account not accepted.");
    } else {
        m_bNeedAcct = false;
        m_bLoggedIn = true;
        bOk = Reply(230, "User logged in.");
    }
    return bOk ? keepGoing : endSession;
}

CSimSession::EHandled CSimSession::OnType(const std::string& strArg)
{
    bool bOk;
    std::string strType = Upper(strArg);
    if (const SFault* p = m_opts.m_faults.Find("refuse-type")) {
        bOk = Reply(static_cast<int>(p->m_nArg), "Type not accepted.");
        if (p->m_nArg == 421)
            return endSession;
    } else if (strType == "I" || strType == "L 8" || strType == "A" || strType == "A N") {
        // Files go out as they are in either type: the printer's text files
        // are sent byte for byte, as the client stores them byte for byte.
        bOk = Reply(200, "Type set to " + strType + ".");
    } else {
        bOk = Reply(504, "Type not supported.");
    }
    return bOk ? keepGoing : endSession;
}

CSimSession::EHandled CSimSession::OnCwd(const std::string& strArg)
{
    std::optional<std::string> strDir = m_tree.ChangeDir(m_strCwd, strArg);
    bool bOk;
    if (!strDir) {
        bOk = Reply(550, strArg + ": No such directory.");
    } else {
        m_strCwd = *strDir;
        bOk = Reply(250, "Directory changed to " + m_strCwd + ".");
    }
    return bOk ? keepGoing : endSession;
}

} // namespace hpa::sim
