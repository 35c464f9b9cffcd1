#include "transfer/TransferThread.h"

#include "transfer/TransferProgress.h"

#include <algorithm>

namespace hpa {

int TransferThreadProc(TransferRequest* pRequest)
{
    pRequest->m_nBytesReceived =
        pRequest->m_pClient->RetrieveFile(pRequest->m_strRemoteName, pRequest->m_strLocalName,
                                          pRequest->m_bCreate, pRequest->m_pnCounter);
    return 0;
}

CTransferThread::CTransferThread(TransferRequest& request)
{
    m_thread = std::thread([this, &request] {
        TransferThreadProc(&request);
        std::lock_guard lock(m_mutex);
        m_bEnded = true;
        m_ended.notify_all();
    });
}

CTransferThread::~CTransferThread()
{
    Join();
}

bool CTransferThread::WaitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, timeout, [this] { return m_bEnded; });
}

void CTransferThread::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void WaitForTransfer(CTransferThread& thread, CTransferProgress& progress,
                     std::int64_t nExpectedTotal, std::int64_t nBase,
                     std::chrono::milliseconds pollInterval,
                     const std::atomic<std::int64_t>& counter)
{
    while (!thread.WaitFor(pollInterval)) {
        if (progress.IsCancelled())
            return; // the thread still runs; the caller closes the sockets
        progress.Pump();
        const std::int64_t nReceived = counter.load();
        progress.ShowBytes(nReceived, nBase + nReceived);
        if (nExpectedTotal > 0) {
            const double dPercent = 0.5 + 100.0 * static_cast<double>(nBase + nReceived) /
                                              static_cast<double>(nExpectedTotal);
            progress.SetPos(static_cast<int>(std::min(dPercent, 2147483647.0)));
            progress.RestoreWaitCursor();
        }
    }
}

} // namespace hpa
