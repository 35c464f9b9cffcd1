#include "transfer/SocketAddress.h"
#include "transfer/TcpSocket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hpa {
namespace {

SSocketAddress Addr(const char* pszText, int nPort = 0)
{
    SSocketAddress addr;
    EXPECT_TRUE(SSocketAddress::Parse(pszText, nPort, addr)) << pszText;
    return addr;
}

TEST(SocketAddress, ParsesAndFormatsBothFamilies)
{
    EXPECT_EQ(Addr("10.0.0.5", 2121).Family(), AF_INET);
    EXPECT_EQ(Addr("10.0.0.5", 2121).Port(), 2121);
    EXPECT_EQ(Addr("FD00:0::5", 21).Family(), AF_INET6);
    EXPECT_EQ(Addr("FD00:0::5", 21).HostText(), "fd00::5");
    SSocketAddress addr;
    EXPECT_FALSE(SSocketAddress::Parse("[::1]", 21, addr)); // brackets belong to host texts
    EXPECT_FALSE(SSocketAddress::Parse("printer", 21, addr));
    EXPECT_FALSE(addr.IsSet());
}

// The data connection's peer check compares hosts, never ports, and an IPv4
// peer seen through an IPv6 socket still matches its dotted address.
TEST(SocketAddress, SameHostIgnoresPortsAndSeesThroughV4Mapping)
{
    EXPECT_TRUE(Addr("10.0.0.5", 21).SameHost(Addr("10.0.0.5", 5600)));
    EXPECT_TRUE(Addr("::ffff:10.0.0.5").SameHost(Addr("10.0.0.5")));
    EXPECT_TRUE(Addr("fd00::5").SameHost(Addr("fd00:0:0::5")));
    EXPECT_FALSE(Addr("fd00::5").SameHost(Addr("fd00::6")));
    EXPECT_FALSE(Addr("10.0.0.5").SameHost(Addr("10.0.0.6")));
    EXPECT_FALSE(Addr("::1").SameHost(Addr("127.0.0.1")));
}

bool Ipv6LoopbackUsable()
{
    CTcpSocket probe;
    for (int nPort = 47000; nPort < 47050; ++nPort) {
        if (probe.Listen(nPort, "::1") == ListenResult::done)
            return true;
    }
    return false;
}

// A listener on ::1 only: connecting to 127.0.0.1 at its port is refused,
// so the next address in the list is tried within the same time-out.
TEST(TcpSocketIpv6, ConnectAnyTriesTheAddressesInOrder)
{
    if (!Ipv6LoopbackUsable())
        GTEST_SKIP() << "no IPv6 loopback address on this host";
    CTcpSocket listener;
    int nPort = 47100;
    while (nPort < 47200 && listener.Listen(nPort, "::1") != ListenResult::done)
        ++nPort;
    ASSERT_TRUE(listener.IsListening());

    CTcpSocket client;
    client.SetTimeouts(2000, 2000);
    std::string strConnected;
    ASSERT_EQ(client.ConnectAny(nPort, {"127.0.0.1", "::1"}, &strConnected), ConnectResult::done);
    EXPECT_EQ(strConnected, "::1");
    std::string strLocal;
    ASSERT_TRUE(client.GetLocalName(strLocal));
    EXPECT_EQ(strLocal, "::1");

    CTcpSocket refused;
    EXPECT_EQ(refused.ConnectAny(nPort, {"127.0.0.1"}), ConnectResult::failed);
    EXPECT_EQ(refused.ConnectAny(nPort, {}), ConnectResult::failed);
}

} // namespace
} // namespace hpa
