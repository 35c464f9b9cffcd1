#include "SimServer.h"

#include "SimSession.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <list>
#include <memory>
#include <thread>

namespace hpa::sim {

namespace {

// How often the accept loop looks for finished sessions to join.
constexpr int kReapIntervalMs = 200;

struct SWorker {
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_pDone;
};

void JoinFinished(std::list<SWorker>& workers, bool bAll)
{
    for (auto it = workers.begin(); it != workers.end();) {
        if (bAll || it->m_pDone->load()) {
            it->m_thread.join();
            it = workers.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace

CSimServer::CSimServer(const SSimOptions& opts, const CStopSignal& stop, CSimJobLog* pJobLog)
    : m_opts(opts), m_stop(stop), m_pJobLog(pJobLog), m_tree(opts.m_strRoot), m_log(opts.m_bVerbose)
{
}

CSimServer::~CSimServer()
{
    CloseFd(m_nListenFd);
}

bool CSimServer::Listen(std::string& strError)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(m_opts.m_nPort));
    inet_pton(AF_INET, m_opts.m_strListenAddr.c_str(), &addr.sin_addr);
    m_nListenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    int nOn = 1;
    if (m_nListenFd < 0 ||
        setsockopt(m_nListenFd, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn) != 0 ||
        bind(m_nListenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(m_nListenFd, 16) != 0) {
        strError = "cannot listen on " + FormatAddr(addr) + ": " + std::strerror(errno);
        CloseFd(m_nListenFd);
        return false;
    }
    socklen_t nLen = sizeof m_bound;
    getsockname(m_nListenFd, reinterpret_cast<sockaddr*>(&m_bound), &nLen);
    return true;
}

void CSimServer::Serve()
{
    std::list<SWorker> workers;
    long nAccepted = 0;
    int nNextId = 1;
    while (m_opts.m_nSessions == 0 || nAccepted < m_opts.m_nSessions) {
        EWait wait = WaitFor(m_nListenFd, POLLIN, kReapIntervalMs, m_stop);
        JoinFinished(workers, false);
        if (wait == EWait::stopped || wait == EWait::error)
            break;
        if (wait == EWait::timeout)
            continue;
        sockaddr_in peer{};
        socklen_t nLen = sizeof peer;
        int nFd = accept4(m_nListenFd, reinterpret_cast<sockaddr*>(&peer), &nLen, SOCK_CLOEXEC);
        if (nFd < 0)
            continue;
        // Replies go out as written (one byte at a time for the bytewise fault).
        int nOn = 1;
        setsockopt(nFd, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
        if (static_cast<int>(workers.size()) >= m_opts.m_nMaxClients) {
            static const char kBusy[] = "421 Too many connections, try again later.\r\n";
            SendAll(nFd, kBusy, sizeof kBusy - 1, 1000, m_stop);
            close(nFd);
            continue;
        }
        ++nAccepted;
        auto pDone = std::make_shared<std::atomic<bool>>(false);
        int nId = nNextId++;
        std::thread thread([this, nFd, peer, nId, pDone] {
            CSimSession session(m_opts, m_tree, m_stop, m_log, nFd, peer, nId, m_pJobLog);
            session.Run();
            pDone->store(true);
        });
        workers.push_back(SWorker{std::move(thread), std::move(pDone)});
    }
    // No new sessions from here on; the running ones end by themselves or
    // through the stop signal.
    CloseFd(m_nListenFd);
    JoinFinished(workers, true);
}

} // namespace hpa::sim
