#pragma once
// One FTP session of the simulated printer: the control connection, the
// login, the commands, and active-mode retrievals over data connections
// that the server opens to the address the client gave with PORT or EPRT.
// Quirks and faults from the options bend the conversation where asked.
#include "RemoteTree.h"
#include "SimJobLog.h"
#include "SimLog.h"
#include "SimNet.h"
#include "SimOptions.h"

#include <netinet/in.h>

#include <string>
#include <string_view>
#include <vector>

namespace hpa::sim {

class CSimSession {
public:
    CSimSession(const SSimOptions& opts, const CRemoteTree& tree, const CStopSignal& stop,
                CSimLog& log, int nCtrlFd, const sockaddr_in& peer, int nId,
                CSimJobLog* pJobLog = nullptr);
    ~CSimSession();
    CSimSession(const CSimSession&) = delete;
    CSimSession& operator=(const CSimSession&) = delete;

    // Runs the session to its end and closes the control connection.
    void Run();

private:
    enum EHandled { keepGoing, endSession };

    bool Greet();
    EHandled Dispatch(const std::string& strVerb, const std::string& strArg);

    // Login and session commands (SimSession.cpp).
    EHandled OnUser(const std::string& strArg);
    EHandled OnPass(const std::string& strArg);
    EHandled OnAcct(const std::string& strArg);
    EHandled OnType(const std::string& strArg);
    EHandled OnCwd(const std::string& strArg);

    // Data commands (SimTransfer.cpp).
    EHandled OnPort(const std::string& strArg);
    EHandled OnEprt(const std::string& strArg);
    EHandled OnRetr(const std::string& strArg);
    EHandled OnSize(const std::string& strArg);
    EHandled OnMdtm(const std::string& strArg);
    EHandled SetDataAddress(const sockaddr_in& addr);
    // Sends the open file over the data connection and closes it; the reply
    // code to send afterwards (226 done, 426 aborted), or 0 when the server
    // is stopping.
    int SendFile(int nFileFd, int& nDataFd, const std::string& strRemote,
                 const std::string& strLocal, std::string& strReplyText);
    // Holds a data connection open without sending until the client closes
    // it, sends a command, the idle time-out passes or the server stops.
    bool HoldOpen(int nDataFd);

    // Replies (SimReply.cpp). False when the control connection is gone.
    bool Reply(int nCode, std::string_view strText);
    bool ReplyLines(const std::vector<std::string>& lines);
    bool SendRaw(std::string_view strBytes, int nBytewiseMs);

    bool LoggedInOrReply();

    const SSimOptions& m_opts;
    const CRemoteTree& m_tree;
    const CStopSignal& m_stop;
    CSimLog& m_log;
    int m_nCtrlFd;
    sockaddr_in m_peer;
    sockaddr_in m_local{}; // our end of the control connection; data leaves from it
    int m_nId;
    CLineReader m_reader;

    // The verb the next reply answers ("greeting" before any command); reply
    // faults are matched against it.
    std::string m_strReplyTarget = "greeting";
    long m_nCommands = 0;
    bool m_bUserOk = false; // USER given with the right name
    bool m_bUserSeen = false;
    bool m_bLoggedIn = false;
    bool m_bNeedAcct = false;
    std::string m_strCwd = "/";
    bool m_bHaveDataAddr = false;
    sockaddr_in m_dataAddr{};
    int m_nDataFd = -1; // opened early by the port-connect quirk
    // The advancing job log, and this session's hold on it from its first
    // retrieval of the status file on.
    CSimJobLog* m_pJobLog;
    std::shared_lock<std::shared_mutex> m_jobLogHold;
};

} // namespace hpa::sim
