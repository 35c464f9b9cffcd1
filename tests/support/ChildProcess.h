#pragma once
// A program of the test's own started as a child process: its stdout is
// read through a pipe, its stderr goes to a file of its own, and every wait
// is bounded, so a child that misbehaves fails a test instead of hanging
// it. The child is stopped (by pid) when the object goes.
#include <sys/types.h>

#include <string>
#include <vector>

namespace hpa::test {

class CChildProcess {
public:
    static constexpr int kWaitMs = 10000;

    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts args[0] with the other words as its arguments. False when it
    // cannot start.
    bool Spawn(const std::vector<std::string>& args);
    // Starts a server and reads its first line, "listening on ADDR:PORT"
    // (ADDR 127.0.0.1, or an IPv6 address in brackets). False when it cannot
    // start or says nothing else in time.
    bool Start(const std::vector<std::string>& args);

    // One line of stdout, or what came before the time-out.
    std::string ReadStdoutLine(int nTimeoutMs);
    // Everything left on stdout until the process closes it.
    std::string ReadStdoutToEnd(int nTimeoutMs);
    // Waits for the process to exit: its exit status, -1 on time-out (the
    // process then still runs) and -2 when a signal killed it.
    int WaitExit(int nTimeoutMs);
    // SIGTERM, then SIGKILL when it does not end in time. The exit status of
    // the SIGTERM path (or of an earlier exit).
    int Stop();

    std::string StderrText() const;
    int Port() const { return m_nPort; }
    // The host text a client is given: "127.0.0.1:PORT" or "[::1]:PORT".
    std::string HostText() const { return m_strAddress + ":" + std::to_string(m_nPort); }
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_nOutFd = -1;
    int m_nPort = 0;
    std::string m_strAddress;
    int m_nExit = -1;
    std::string m_strStderr;
};

} // namespace hpa::test
