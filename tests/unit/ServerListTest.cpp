// The host field of a connection entry: one server as every older entry has
// it, or the servers of a cluster in the order they are tried.
#include "components/Connection.h"

#include <gtest/gtest.h>

using namespace kml;

namespace {

struct ListCase {
    const char* name;
    QString field;
    QStringList servers; // ServerAddress::text() of each
};

class ServerListTable : public ::testing::TestWithParam<ListCase> {};

TEST_P(ServerListTable, NamesTheServersInOrder) {
    const ListCase& c = GetParam();
    QStringList got;
    for (const ServerAddress& s : ServerList(c.field, 3306))
        got << s.text();
    EXPECT_EQ(got, c.servers);
}

INSTANTIATE_TEST_SUITE_P(
    ServerList, ServerListTable,
    ::testing::Values(
        ListCase{"OldEntryOneHost", "szerver.bolt.hu", {"szerver.bolt.hu:3306"}},
        ListCase{"OldEntryAddress", "192.168.1.10", {"192.168.1.10:3306"}},
        ListCase{"EmptyField", "", {":3306"}},
        ListCase{"ThreeNodesWithPorts", "h1:3306,h2:3307,h3:3308", {"h1:3306", "h2:3307", "h3:3308"}},
        ListCase{"PortsWhereGiven", "h1, h2:4000 ,h3", {"h1:3306", "h2:4000", "h3:3306"}},
        ListCase{"EmptyEntriesSkipped", ",h1,,h2,", {"h1:3306", "h2:3306"}},
        ListCase{"BadPortKeepsTheEntrysDefault", "h1:x,h2:70000", {"h1:3306", "h2:3306"}},
        ListCase{"Ipv6InBrackets", "[::1]:3310,[fe80::1]", {"[::1]:3310", "[fe80::1]:3306"}},
        ListCase{"BareIpv6IsOneHost", "::1", {"[::1]:3306"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ServerList, RotatedListBeginsWithTheServerInUseAndGoesRound) {
    const std::vector<ServerAddress> servers = ServerList(QStringLiteral("a:1,b:2,c:3"), 3306);
    EXPECT_EQ(RotatedHostList(servers, 0), QStringLiteral("a:1,b:2,c:3"));
    EXPECT_EQ(RotatedHostList(servers, 2), QStringLiteral("c:3,a:1,b:2"));
    // The rotated text reads back as the same servers.
    EXPECT_EQ(ServerList(RotatedHostList(servers, 1), 9999)[2], servers[0]);
}

TEST(ServerList, AConnectionThatCannotReachAnyServerThrowsTheFirstServersError) {
    // Nothing listens on these ports: each is tried, an error of a server
    // that cannot be reached is thrown, and the connection stays closed.
    Connection c;
    ConnectionOptions o;
    o.host = QStringLiteral("127.0.0.1:1,127.0.0.1:2");
    o.connectTimeout = 2;
    try {
        c.open(o);
        ADD_FAILURE() << "connected to nothing";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.connectionLost()) << e.text().toStdString();
    }
    EXPECT_FALSE(c.isOpen());
}

} // namespace
