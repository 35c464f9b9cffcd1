#pragma once
// Small POSIX socket helpers for the simulated printer. Every wait is bounded
// by a time-out and ends early when the stop signal is raised, so no thread
// of the server can block past a SIGTERM.
#include "transfer/SocketAddress.h"

#include <netinet/in.h>

#include <cstddef>
#include <string>

namespace hpa::sim {

// A self-pipe: Raise() may be called from a signal handler; once raised it
// stays raised, and its read end polls readable for every waiting thread.
class CStopSignal {
public:
    CStopSignal();
    ~CStopSignal();
    CStopSignal(const CStopSignal&) = delete;
    CStopSignal& operator=(const CStopSignal&) = delete;

    void Raise() const; // async-signal-safe
    bool IsRaised() const;
    int Fd() const { return m_nReadFd; }

private:
    int m_nReadFd = -1;
    int m_nWriteFd = -1;
};

enum class EWait { ready, timeout, stopped, error };

// Waits until fd has one of events (POLLIN, POLLOUT), the time-out passes
// or the stop signal is raised. A hang-up or error on fd counts as ready.
EWait WaitFor(int nFd, short nEvents, int nTimeoutMs, const CStopSignal& stop);

// Sleeps; false when the stop signal cut the sleep short.
bool SleepMs(int nMs, const CStopSignal& stop);

// Sends all bytes; false on error, time-out (per wait) or stop.
bool SendAll(int nFd, const char* pData, std::size_t nSize, int nTimeoutMs,
             const CStopSignal& stop);

// Connects to addr within the time-out, from the local address pLocal (any
// port) when given; the socket or -1. The socket is left non-blocking
// (SendAll copes with that).
int ConnectTo(const SSocketAddress& addr, const SSocketAddress* pLocal, int nTimeoutMs,
              const CStopSignal& stop);

// Closes with a reset (RST) instead of an orderly shut-down.
void CloseWithReset(int nFd);

// Closes and sets the variable to -1; nothing when it already is -1.
void CloseFd(int& nFd);

// "10.0.0.5:2121", or "[fd00::5]:2121" for IPv6.
std::string FormatAddr(const SSocketAddress& addr);
// 127.0.0.0/8 (also v4-mapped) or ::1.
bool IsLoopback(const SSocketAddress& addr);

// Reads CR LF (or LF) terminated lines from a socket through a fixed-size
// buffer. A line longer than the limit is thrown away up to its line end
// and reported as tooLong, so no client can make the reader grow.
class CLineReader {
public:
    enum EResult { line, tooLong, closed, timeout, stopped };

    CLineReader(int nFd, std::size_t nMaxLine) : m_nFd(nFd), m_nMaxLine(nMaxLine) {}
    EResult ReadLine(std::string& strLine, int nTimeoutMs, const CStopSignal& stop);
    // Bytes already received after the last line returned.
    bool HasBuffered() const { return m_nLen > 0; }

private:
    static constexpr std::size_t kBufSize = 4096;
    int m_nFd;
    std::size_t m_nMaxLine;
    char m_buf[kBufSize];
    std::size_t m_nLen = 0;
    bool m_bDiscarding = false;
};

} // namespace hpa::sim
