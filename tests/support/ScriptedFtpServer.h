#pragma once
// A scripted FTP peer for tests, on 127.0.0.1 and a free port. A test states
// what the server says (greeting, replies per command verb, files and how
// they are delivered), lets the client talk to it, then compares the command
// transcript with the one it expects.
//
// Replies for a verb are taken in order from the script; once they run out
// the verb's default reply is used (USER 331, PASS 230, ACCT 230, TYPE 200,
// PORT 200, anything else 502). RETR and QUIT are served, not scripted.
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hpa::test {

// One piece of what the server sends: after a pause, some bytes, and
// possibly hanging up.
struct ReplyPart {
    int m_nDelayMs = 0;
    std::string m_strBytes;
    bool m_bHangUp = false;
};
using Reply = std::vector<ReplyPart>;

inline ReplyPart Say(std::string strBytes)
{
    return {0, std::move(strBytes), false};
}
inline ReplyPart SayLater(int nDelayMs, std::string strBytes)
{
    return {nDelayMs, std::move(strBytes), false};
}
inline ReplyPart HangUp()
{
    return {0, {}, true};
}
// Sends nothing: the client's reply read runs into its time-out.
inline Reply Silence()
{
    return Reply{ReplyPart{}};
}

// When the server opens the active data connection.
enum class DataStyle {
    ConnectOnRetr, // after RETR, none for a refused file (like vsftpd)
    ConnectOnPort, // while answering PORT; kept open, silent, after a 550 (like pyftpdlib)
};

enum class FileMode {
    Send,  // 150, the bytes, close, 226
    Stall, // 150, the bytes, then hold the connection open until the client closes it
};

class CScriptedFtpServer {
public:
    CScriptedFtpServer();
    ~CScriptedFtpServer();
    CScriptedFtpServer(const CScriptedFtpServer&) = delete;
    CScriptedFtpServer& operator=(const CScriptedFtpServer&) = delete;

    int Port() const { return m_nPort; }
    // "127.0.0.1:PORT", the host text a client logs in with.
    std::string HostText() const;

    // The script. Set it before the client connects.
    void SetGreeting(Reply greeting);
    void AddReply(const std::string& strVerb, Reply reply);
    void AddReply(const std::string& strVerb, const std::string& strBytes);
    void SetDataStyle(DataStyle style);
    void AddFile(const std::string& strName, std::string strBytes, FileMode mode = FileMode::Send);
    // Before each data connection, another peer (from 127.0.0.2) connects
    // to the client's data port and sends this text.
    void SetIntruder(std::string strBytes);

    // The command lines received, without CR LF, once the client has hung up
    // or said QUIT (waits up to 5 seconds for that).
    std::vector<std::string> Transcript();
    // True once a client connection has ended (QUIT, hang-up or reset).
    bool HungUp() const;
    // The lines received so far, without waiting.
    std::vector<std::string> TranscriptSoFar() const;
    // How many data connections the server opened (intruders not counted).
    int DataConnections() const;
    // Waits until the server has received a command line starting with text.
    bool WaitForCommand(const std::string& strPrefix,
                        std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    struct File {
        std::string m_strBytes;
        FileMode m_mode = FileMode::Send;
    };

    void Serve();
    void Converse(int fdControl);
    bool Send(int fd, const Reply& reply);
    bool ReadCommand(int fd, std::string& strLine);
    void HandlePort(const std::string& strArgument);
    bool HandleRetr(int fdControl, const std::string& strName);
    int ConnectData(const char* pszFrom);
    void CloseData();
    void Track(int fd);
    void Untrack(int fd);

    int m_nListen = -1;
    int m_nPort = 0;
    std::thread m_thread;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bStopping = false;
    bool m_bHungUp = false;
    Reply m_greeting;
    std::map<std::string, std::vector<Reply>> m_replies;
    std::map<std::string, File> m_files;
    DataStyle m_dataStyle = DataStyle::ConnectOnRetr;
    std::string m_strIntruder;
    std::vector<std::string> m_transcript;
    std::vector<int> m_openFds; // shut down on stop, to wake the server thread
    int m_nDataConnections = 0;

    // Used by the server thread only.
    std::string m_strPortAddress;
    int m_nPortNumber = 0;
    int m_fdData = -1;
};

} // namespace hpa::test
