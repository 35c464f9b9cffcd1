#include "transfer/SocketHandle.h"

#include <cerrno>

#include <sys/socket.h>
#include <unistd.h>

namespace hpa {

CSocketHandle::Descriptor::~Descriptor()
{
    ::close(m_fd);
}

void CSocketHandle::Adopt(int fd)
{
    Ref old;
    {
        std::lock_guard lock(m_mutex);
        old = std::move(m_ref);
        m_ref = std::make_shared<Descriptor>(fd);
    }
    if (old)
        ::shutdown(old->m_fd, SHUT_RDWR);
}

bool CSocketHandle::AdoptIfEpoch(int fd, unsigned nEpoch)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_nEpoch == nEpoch && !m_ref) {
            m_ref = std::make_shared<Descriptor>(fd);
            return true;
        }
    }
    ::close(fd);
    return false;
}

CSocketHandle::Ref CSocketHandle::Borrow() const
{
    std::lock_guard lock(m_mutex);
    return m_ref;
}

bool CSocketHandle::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_ref != nullptr;
}

unsigned CSocketHandle::Epoch() const
{
    std::lock_guard lock(m_mutex);
    return m_nEpoch;
}

int CSocketHandle::Close()
{
    Ref ref;
    {
        std::lock_guard lock(m_mutex);
        ++m_nEpoch;
        ref = std::move(m_ref);
    }
    if (!ref)
        return 0;
    int nResult = 0;
    // Shut-down wakes a thread blocked in accept() or recv() on this socket;
    // a socket that never connected reports ENOTCONN, which is harmless.
    if (::shutdown(ref->m_fd, SHUT_RDWR) != 0 && errno != ENOTCONN)
        nResult = 1;
    // The descriptor is closed here, or by the last borrower when it returns.
    return nResult;
}

} // namespace hpa
