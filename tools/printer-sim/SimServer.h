#pragma once
// The listening side of the simulated printer: accepts control connections
// and runs each session on a thread of its own, up to --max-clients at once.
#include "RemoteTree.h"
#include "SimJobLog.h"
#include "SimLog.h"
#include "SimNet.h"
#include "SimOptions.h"

#include <netinet/in.h>

#include <string>

namespace hpa::sim {

class CSimServer {
public:
    // pJobLog, when given, is the advancing job log the sessions move on.
    CSimServer(const SSimOptions& opts, const CStopSignal& stop, CSimJobLog* pJobLog = nullptr);
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Binds and listens on the --listen address. False with a message.
    bool Listen(std::string& strError);
    // The address actually bound (the port chosen when 0 was asked for).
    const sockaddr_in& BoundAddress() const { return m_bound; }

    // Serves until the stop signal is raised or --sessions sessions were
    // accepted, then waits for the running sessions to end.
    void Serve();

private:
    const SSimOptions& m_opts;
    const CStopSignal& m_stop;
    CSimJobLog* m_pJobLog;
    CRemoteTree m_tree;
    CSimLog m_log;
    int m_nListenFd = -1;
    sockaddr_in m_bound{};
};

} // namespace hpa::sim
