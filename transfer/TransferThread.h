#pragma once
// One file transfer on its own thread, handed over in a TransferRequest, and
// the user interface thread's wait for it.
#include "transfer/FtpClient.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace hpa {

class CTransferProgress;

// Written by the waiting thread before the transfer thread starts; the
// result (m_nBytesReceived) is read only after the thread has been joined.
struct TransferRequest {
    std::string m_strRemoteName;
    std::string m_strLocalName;
    int m_bCreate = 1;
    std::int64_t m_nBytesReceived = 0;
    CFtpClient* m_pClient = nullptr;
    // The progress counter the retrieval advances.
    std::atomic<std::int64_t>* m_pnCounter = &g_nBytesReceived;
};

// Body of the transfer thread: RetrieveFile with the request, result stored
// in the request. Returns 0.
int TransferThreadProc(TransferRequest* pRequest);

// Runs TransferThreadProc on a std::thread from construction on. The
// destructor joins, so a request or client that outlives this object is
// never touched by a thread that is still running.
class CTransferThread {
public:
    explicit CTransferThread(TransferRequest& request);
    ~CTransferThread();
    CTransferThread(const CTransferThread&) = delete;
    CTransferThread& operator=(const CTransferThread&) = delete;

    // Waits up to the given time for the thread to end; true once it has.
    bool WaitFor(std::chrono::milliseconds timeout);
    void Join();

private:
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_bEnded = false;
    std::thread m_thread;
};

// Waits for a transfer thread: every poll interval that passes without its
// end, returns at once if the progress reports a cancel, otherwise pumps,
// reports the bytes and, with an expected total above 0, sets the bar to
// round(100 * (nBase + received) / nExpectedTotal).
void WaitForTransfer(CTransferThread& thread, CTransferProgress& progress,
                     std::int64_t nExpectedTotal, std::int64_t nBase,
                     std::chrono::milliseconds pollInterval = std::chrono::milliseconds(500),
                     const std::atomic<std::int64_t>& counter = g_nBytesReceived);

} // namespace hpa
