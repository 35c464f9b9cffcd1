#include "transfer/SocketAddress.h"

#include <arpa/inet.h>

#include <cstdint>
#include <cstring>

namespace hpa {

namespace {

// The IPv4 address inside a v4-mapped IPv6 address, so that a peer that
// reaches an IPv6 socket over IPv4 still matches its dotted address.
SSocketAddress Unmapped(const SSocketAddress& addr)
{
    if (addr.Family() != AF_INET6)
        return addr;
    const auto* p6 = reinterpret_cast<const sockaddr_in6*>(&addr.m_storage);
    if (!IN6_IS_ADDR_V4MAPPED(&p6->sin6_addr))
        return addr;
    SSocketAddress v4;
    auto* p4 = reinterpret_cast<sockaddr_in*>(&v4.m_storage);
    p4->sin_family = AF_INET;
    p4->sin_port = p6->sin6_port;
    std::memcpy(&p4->sin_addr, &p6->sin6_addr.s6_addr[12], 4);
    v4.m_nLength = sizeof(sockaddr_in);
    return v4;
}

} // namespace

void SSocketAddress::SetPort(int nPort)
{
    const auto nNet = htons(static_cast<std::uint16_t>(nPort));
    if (Family() == AF_INET)
        reinterpret_cast<sockaddr_in*>(&m_storage)->sin_port = nNet;
    else if (Family() == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&m_storage)->sin6_port = nNet;
}

int SSocketAddress::Port() const
{
    if (Family() == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_port);
    if (Family() == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_port);
    return 0;
}

std::string SSocketAddress::HostText() const
{
    char text[INET6_ADDRSTRLEN] = {};
    const void* pAddr = nullptr;
    if (Family() == AF_INET)
        pAddr = &reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_addr;
    else if (Family() == AF_INET6)
        pAddr = &reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_addr;
    if (!pAddr || !::inet_ntop(Family(), pAddr, text, sizeof text))
        return {};
    return text;
}

bool SSocketAddress::SameHost(const SSocketAddress& other) const
{
    const SSocketAddress a = Unmapped(*this);
    const SSocketAddress b = Unmapped(other);
    if (a.Family() != b.Family())
        return false;
    if (a.Family() == AF_INET)
        return reinterpret_cast<const sockaddr_in*>(&a.m_storage)->sin_addr.s_addr ==
               reinterpret_cast<const sockaddr_in*>(&b.m_storage)->sin_addr.s_addr;
    if (a.Family() == AF_INET6)
        return IN6_ARE_ADDR_EQUAL(&reinterpret_cast<const sockaddr_in6*>(&a.m_storage)->sin6_addr,
                                  &reinterpret_cast<const sockaddr_in6*>(&b.m_storage)->sin6_addr);
    return false;
}

bool SSocketAddress::Parse(const std::string& strText, int nPort, SSocketAddress& addr)
{
    addr = SSocketAddress();
    auto* p4 = reinterpret_cast<sockaddr_in*>(&addr.m_storage);
    auto* p6 = reinterpret_cast<sockaddr_in6*>(&addr.m_storage);
    if (::inet_pton(AF_INET, strText.c_str(), &p4->sin_addr) == 1) {
        p4->sin_family = AF_INET;
        addr.m_nLength = sizeof(sockaddr_in);
    } else if (::inet_pton(AF_INET6, strText.c_str(), &p6->sin6_addr) == 1) {
        p6->sin6_family = AF_INET6;
        addr.m_nLength = sizeof(sockaddr_in6);
    } else {
        addr = SSocketAddress();
        return false;
    }
    addr.SetPort(nPort);
    return true;
}

SSocketAddress SSocketAddress::From(const sockaddr* pAddr, socklen_t nLength)
{
    SSocketAddress addr;
    if (pAddr && nLength > 0 && nLength <= static_cast<socklen_t>(sizeof addr.m_storage)) {
        std::memcpy(&addr.m_storage, pAddr, nLength);
        addr.m_nLength = nLength;
    }
    return addr;
}

} // namespace hpa
