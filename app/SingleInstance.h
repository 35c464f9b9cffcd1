#pragma once
// One running instance per user. The first start holds a lock file and
// listens on a local socket next to it; a later start finds the lock held,
// asks the running instance through the socket to come to the front, and
// ends. A lock or socket left behind by a crashed instance is recognised
// (the process named in the lock is gone) and taken over, so it never stops
// the next start.
#include <QLockFile>
#include <QString>

#include <memory>

namespace hpa {

class CActivationWatcher;

struct CInstanceNames {
    QString strLockFile;
    QString strSocket;
};

// "HPA" and the user's id, in the user's runtime directory, or in a private
// per-user directory of the temporary directory. Empty when neither can be
// made safely.
CInstanceNames DefaultInstanceNames();

class CSingleInstance {
public:
    enum class Outcome {
        First,       // this process is the instance; Watcher() serves later starts
        Handed,      // the running instance was asked to come forward
        Unreachable, // the lock is held by a live process that does not answer
        Unavailable  // no lock could be made at all: running without the check
    };

    explicit CSingleInstance(CInstanceNames names);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Claims the instance or wakes the one running. nWaitMs bounds how long
    // a later start keeps trying to reach an instance that is still setting
    // up its socket.
    Outcome Claim(int nWaitMs = 3000);

    CActivationWatcher* Watcher() const { return m_pWatcher.get(); }
    const CInstanceNames& Names() const { return m_names; }

    // Sends one activation request; true when it was delivered.
    static bool SendActivation(const QString& strSocket, int nTimeoutMs);

private:
    CInstanceNames m_names;
    std::unique_ptr<QLockFile> m_pLock;
    std::unique_ptr<CActivationWatcher> m_pWatcher;
};

} // namespace hpa
