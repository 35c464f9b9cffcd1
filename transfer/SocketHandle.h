#pragma once
// A socket descriptor that one thread may close while another thread is
// blocked on it. A cancelled download closes the client's sockets from the
// user interface thread while the transfer thread sits in accept() or recv();
// closing the number outright could let the kernel hand it to a new socket
// before the blocked thread lets go of it. So every blocking call borrows a
// reference, Close() shuts the socket down (which wakes the borrower) and the
// descriptor itself is closed when the last borrower returns it.
#include <memory>
#include <mutex>

namespace hpa {

class CSocketHandle {
public:
    // Owns one descriptor; closes it when the last reference goes.
    struct Descriptor {
        explicit Descriptor(int fd) : m_fd(fd) {}
        ~Descriptor();
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        const int m_fd;
    };
    using Ref = std::shared_ptr<Descriptor>;

    CSocketHandle() = default;
    ~CSocketHandle() { Close(); }
    CSocketHandle(const CSocketHandle&) = delete;
    CSocketHandle& operator=(const CSocketHandle&) = delete;

    // Takes ownership of fd, closing whatever was held before.
    void Adopt(int fd);
    // Takes ownership of fd only if Close() has not been called since
    // nEpoch was read with Epoch(); otherwise closes fd and returns false.
    bool AdoptIfEpoch(int fd, unsigned nEpoch);
    // A reference to the current descriptor, or null when closed.
    Ref Borrow() const;
    bool IsOpen() const;
    unsigned Epoch() const;

    // Shuts the socket down in both directions and lets go of it.
    // 0 when done or nothing was open, 1 when the shut-down failed.
    int Close();

private:
    mutable std::mutex m_mutex;
    Ref m_ref;
    unsigned m_nEpoch = 0;
};

} // namespace hpa
