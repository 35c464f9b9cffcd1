#pragma once
// One IPv4 or IPv6 socket address, so that the connection code handles both
// families the same way: parsed from numeric text, formatted back to it, and
// compared by host (a v4-mapped IPv6 address counts as its IPv4 address).
#include <netinet/in.h>
#include <sys/socket.h>

#include <string>

namespace hpa {

struct SSocketAddress {
    sockaddr_storage m_storage{};
    socklen_t m_nLength = 0;

    int Family() const { return m_storage.ss_family; }
    bool IsSet() const { return m_nLength != 0; }
    const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&m_storage); }
    sockaddr* Get() { return reinterpret_cast<sockaddr*>(&m_storage); }
    void SetPort(int nPort);
    int Port() const;
    // The numeric host text, without brackets or port: "10.0.0.5", "fd00::5".
    std::string HostText() const;
    // True when both name the same host, whatever their ports.
    bool SameHost(const SSocketAddress& other) const;

    // A numeric IPv4 or IPv6 address (no brackets, no port) with a port.
    static bool Parse(const std::string& strText, int nPort, SSocketAddress& addr);
    static SSocketAddress From(const sockaddr* pAddr, socklen_t nLength);
};

} // namespace hpa
