// Two ends of an online duel on this machine's loopback, and what the host does with
// strangers, damaged packets, a partner of another version and a partner that goes quiet.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "network/duel.h"
#include "../network/pump.h"

namespace {

using Clock = std::chrono::steady_clock;

using pump::pumpUntil;

// Events of one connection, remembered for the test to look at.
struct End {
    Connection link;
    int partners = 0, gone = 0;
    std::vector<Message> got;
    End(bool hosting, uint16_t port, Connection::Identity id = Connection::ours())
        : link(hosting, "127.0.0.1", port, id)
    {
        EXPECT_TRUE(link.open()) << link.why();
    }
    void service()
    {
        Message m;
        for (Connection::Event e; (e = link.next(m)) != Connection::Event::None;) {
            partners += e == Connection::Event::Partner;
            gone += e == Connection::Event::Gone;
            if (e == Connection::Event::Received)
                got.push_back(m);
        }
    }
};

Message click(uint16_t game)
{
    Message m;
    m.type = MessageType::Click;
    m.game = game;
    return m;
}

TEST(NetworkLink, HandshakeThenMessagesBothWays)
{
    End host(true, 0);
    End join(false, host.link.port());
    auto both = [&] { host.service(), join.service(); };
    ASSERT_TRUE(pumpUntil(both, [&] { return host.partners && join.partners; }));
    EXPECT_EQ(host.link.partnerBuild(), Connection::ours().build);
    host.link.send(click(1), true);
    join.link.send(click(2), false);
    ASSERT_TRUE(pumpUntil(both, [&] { return host.got.size() == 1 && join.got.size() == 1; }));
    EXPECT_TRUE(host.got[0] == click(2));
    EXPECT_TRUE(join.got[0] == click(1));
}

TEST(NetworkLink, AnotherVersionIsRefusedOnBothSidesNamingBoth)
{
    End host(true, 0);
    End join(false, host.link.port(), {MESSAGE_PROTOCOL + 1, "riverduel 9.9.9"});
    ASSERT_TRUE(pumpUntil([&] { host.service(), join.service(); },
                          [&] { return host.gone && join.gone; }));
    for (const End* end : {&host, &join}) {
        EXPECT_NE(end->link.why().find("riverduel 9.9.9 (protocol " + std::to_string(MESSAGE_PROTOCOL + 1) + ")"),
                  std::string::npos) << end->link.why();
        EXPECT_NE(end->link.why().find(Connection::ours().build + " (protocol " + std::to_string(MESSAGE_PROTOCOL) + ")"),
                  std::string::npos);
    }
    EXPECT_EQ(host.partners + join.partners, 0);
}

TEST(NetworkLink, AThirdMachineIsTurnedAwayAndTheGameGoesOn)
{
    End host(true, 0);
    End join(false, host.link.port());
    auto both = [&] { host.service(), join.service(); };
    ASSERT_TRUE(pumpUntil(both, [&] { return host.partners && join.partners; }));
    End third(false, host.link.port());
    ASSERT_TRUE(pumpUntil([&] { both(), third.service(); }, [&] { return third.gone > 0; }));
    EXPECT_EQ(third.link.why(), "refused: that game already has two riders");
    join.link.send(click(7), true);
    ASSERT_TRUE(pumpUntil(both, [&] { return !host.got.empty(); }));
    EXPECT_TRUE(host.got[0] == click(7));
    EXPECT_EQ(host.gone, 0);
    EXPECT_TRUE(host.link.connected());
}

// Builds whose identities are longer than a hello carries: the same one meets itself, and
// two that differ only past the bytes sent are still told apart, each side naming both.
TEST(NetworkLink, LongIdentitiesMeetOnlyTheirOwn)
{
    const std::string longer = Connection::ours().build + " built from a tree with a long name, 2026-12-09";
    ASSERT_GT(longer.size(), MAX_BUILD_TEXT);
    struct Case {
        std::string other;
        bool meets;
    };
    for (const Case& c : {Case{longer, true}, Case{longer + "!", false}}) {
        End host(true, 0, {MESSAGE_PROTOCOL, longer});
        End join(false, host.link.port(), {MESSAGE_PROTOCOL, c.other});
        ASSERT_TRUE(pumpUntil([&] { host.service(), join.service(); }, [&] {
            return (host.partners && join.partners) || (host.gone && join.gone);
        })) << c.other;
        EXPECT_EQ(host.partners == 1 && join.partners == 1, c.meets) << c.other;
        if (!c.meets) {
            EXPECT_EQ(host.link.why().rfind("refused: " + longer + " (protocol", 0), 0u) << host.link.why();
            EXPECT_EQ(join.link.why().rfind("refused: " + longer + "! (protocol", 0), 0u) << join.link.why();
        }
    }
}

// Raw datagrams straight at the host's port: noise, oversized, cut, and ENet-shaped ones
// that claim to be the partner from another address.
TEST(NetworkLink, DatagramsFromNowhereChangeNothing)
{
    End host(true, 0);
    End join(false, host.link.port());
    auto both = [&] { host.service(), join.service(); };
    ASSERT_TRUE(pumpUntil(both, [&] { return host.partners && join.partners; }));

    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(host.link.port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::mt19937 rng(3);
    std::vector<uint8_t> datagram;
    for (int i = 0; i < 600; ++i) {
        const size_t sizes[] = {0, 1, 2, 4, 12, 40, 1400, 4096, 60000};
        datagram.resize(i % 3 ? rng() % 200 : sizes[rng() % 9]);
        for (auto& b : datagram)
            b = uint8_t(rng());
        if (datagram.size() >= 4 && i % 2) {
            datagram[0] = 0, datagram[1] = 0; // peer 0, the partner's slot
        }
        sendto(sock, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (i % 20 == 0) {
            join.link.send(click(uint16_t(i)), false);
            both();
        }
    }
    close(sock);
    join.link.send(click(999), true);
    ASSERT_TRUE(pumpUntil(both, [&] { return !host.got.empty() && host.got.back() == click(999); }));
    EXPECT_EQ(host.gone, 0);
    EXPECT_TRUE(host.link.connected() && join.link.connected());
}

// A hand-made ENet client: says hello properly, then sends what it is given.
struct RawClient {
    ENetHost* host = enet_host_create(nullptr, 1, 2, 0, 0);
    ENetPeer* peer = nullptr;
    explicit RawClient(uint16_t port)
    {
        host->checksum = enet_crc32;
        ENetAddress to{};
        enet_address_set_host(&to, "127.0.0.1");
        to.port = port;
        peer = enet_host_connect(host, &to, 2, 0);
    }
    ~RawClient() { enet_host_destroy(host); }
    int disconnects = 0;
    void service()
    {
        ENetEvent e;
        while (enet_host_service(host, &e, 0) > 0) {
            if (e.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(e.packet);
            disconnects += e.type == ENET_EVENT_TYPE_DISCONNECT;
        }
    }
    void send(const std::vector<uint8_t>& bytes)
    {
        enet_peer_send(peer, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
        enet_host_flush(host);
    }
};

TEST(NetworkLink, APartnerSendingDamagedPacketsIsDropped)
{
    for (const std::vector<uint8_t>& damage :
         {std::vector<uint8_t>{0xff, 1, 2}, {6, 0}, std::vector<uint8_t>(3000, 6)}) {
        End host(true, 0);
        RawClient client(host.link.port());
        ASSERT_TRUE(pumpUntil([&] { host.service(), client.service(); },
                              [&] { return client.peer->state == ENET_PEER_STATE_CONNECTED; }));
        Message hello;
        hello.type = MessageType::Hello;
        hello.protocol = Connection::ours().protocol;
        hello.build = Connection::ours().build;
        hello.identity = identityDigest(hello.build);
        hello.token = 1;
        client.send(encode(hello));
        ASSERT_TRUE(pumpUntil([&] { host.service(), client.service(); }, [&] { return host.partners > 0; }));
        client.send(damage);
        ASSERT_TRUE(pumpUntil([&] { host.service(), client.service(); },
                              [&] { return host.gone > 0 && client.disconnects > 0; }));
        EXPECT_EQ(host.link.why(), "dropped the other rider: it sent a damaged packet");
        // And the host takes the next rider.
        End join(false, host.link.port());
        ASSERT_TRUE(pumpUntil([&] { host.service(), join.service(); }, [&] { return join.partners > 0; }));
    }
}

// Both menus and a game as the real loop drives them, compressed in time.
struct Pair {
    static RiderInput hostKeys() { return {true, false, false}; }
    static RiderInput joinKeys() { return {false, false, true}; }
    Duel host{true, "", 0, hostKeys, 2};
    std::unique_ptr<Duel> join;
    uint32_t passes[2] = {0, 0};
    std::vector<uint8_t> played[2];
    uint32_t partsFrom = UINT32_MAX; // from this pass on the joiner's riders differ

    Pair()
    {
        EXPECT_TRUE(host.open());
        join = std::make_unique<Duel>(false, "127.0.0.1", host.port(), joinKeys);
        EXPECT_TRUE(join->open());
    }
    Duel& side(int s) { return s ? *join : host; }
    // One tick of a game on side `s`: a pass shown (perhaps on a guess), and those known for
    // good played.
    void tick(int s, bool escape = false)
    {
        PassInput input;
        if (!played[s].empty() && (played[s].back() & 0x40))
            return;
        if (side(s).gather(passes[s], escape, input) && !input.leave)
            ++passes[s];
        while (played[s].size() < side(s).confirmedPasses() && played[s].size() <= passes[s]) {
            const uint32_t p = uint32_t(played[s].size());
            ASSERT_TRUE(side(s).regather(p, input));
            played[s].push_back(packPass(input));
            if (input.leave)
                return;
            const uint64_t riders = s == 1 && p >= partsFrom ? 7 : 1;
            side(s).confirmedWith(p, input, StateHash{p, riders, 2, 3});
        }
    }
    void start()
    {
        ASSERT_TRUE(pumpUntil([&] { host.poll(), join->poll(); },
                              [&] { return host.connected() && join->connected(); }));
        EXPECT_FALSE(join->clicked()); // the joiner's click asks the host to start
        ASSERT_TRUE(pumpUntil([&] { host.poll(); }, [&] { return host.startsGame(); }));
        GameStart chosen{1234, 56, -1}, given;
        host.begin(chosen);
        ASSERT_TRUE(pumpUntil([&] { join->poll(); }, [&] { return join->startsGame(); }));
        join->begin(given);
        EXPECT_EQ(given.seed, 1234u);
        EXPECT_EQ(given.lastSpawnTick, 56u);
        EXPECT_EQ(given.prevRiderHeightSign, -1);
    }
};

TEST(NetworkDuel, AClickStartsBothAndEscapeEndsBothAtTheSamePass)
{
    Pair pair;
    pair.start();
    ASSERT_TRUE(pumpUntil([&] { pair.tick(0), pair.tick(1); },
                          [&] { return pair.passes[0] >= 100 && pair.passes[1] >= 100; }));
    ASSERT_TRUE(pumpUntil([&] { pair.tick(0), pair.tick(1, true); }, [&] {
        return !pair.played[0].empty() && !pair.played[1].empty() &&
               (pair.played[0].back() & 0x40) && (pair.played[1].back() & 0x40);
    }));
    EXPECT_EQ(pair.played[0], pair.played[1]);
    EXPECT_EQ(pair.played[0][0], 0); // the first two passes are empty on both
    EXPECT_EQ(pair.played[0][2], 0x01 | 0x20);
    EXPECT_FALSE(pair.host.broken() || pair.join->broken());
    pair.host.afterGame({});
    pair.join->afterGame({});
    // Back in the menus, a second game starts the same way.
    pair.passes[0] = pair.passes[1] = 0;
    pair.start();
}

TEST(NetworkDuel, GamesThatPartStopOnBothSidesNamingWhere)
{
    Pair pair;
    pair.partsFrom = 45;
    pair.start();
    ASSERT_TRUE(pumpUntil([&] { pair.tick(0), pair.tick(1); },
                          [&] { return pair.host.broken() && pair.join->broken(); }));
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(pair.side(s).brokenWhy(), "the games drifted apart at pass 59: the riders differ");
        // No side plays on past the next exchange and the guesses beyond it.
        EXPECT_LE(pair.passes[s], 62u + ROLLBACK_WINDOW);
    }
    // The connection outlives the drift: the next game can start.
    pair.host.afterGame({});
    pair.join->afterGame({});
    pair.passes[0] = pair.passes[1] = 0;
    pair.partsFrom = UINT32_MAX;
    pair.start();
}

TEST(NetworkDuel, AJoinerThatVanishesMidGameEndsTheHostsGameWithinFiveSeconds)
{
    Pair pair;
    pair.start();
    ASSERT_TRUE(pumpUntil([&] { pair.tick(0), pair.tick(1); },
                          [&] { return pair.passes[0] >= 40 && pair.passes[1] >= 40; }));
    const auto killed = Clock::now();
    ASSERT_TRUE(pumpUntil([&] { pair.tick(0); }, [&] { return pair.host.broken(); }, 6.0));
    EXPECT_LT(Clock::now() - killed, std::chrono::seconds(5));
    EXPECT_EQ(pair.host.brokenWhy(), "connection lost");
    pair.host.afterGame({});
    pair.host.poll();
    EXPECT_EQ(std::string(pair.host.status()).rfind("connection lost - waiting for a rider on UDP port " +
                                                    std::to_string(pair.host.port()), 0), 0u) << pair.host.status();
    // Ready for the next rider.
    Duel again(false, "127.0.0.1", pair.host.port(), Pair::joinKeys);
    ASSERT_TRUE(again.open());
    ASSERT_TRUE(pumpUntil([&] { pair.host.poll(), again.poll(); }, [&] { return pair.host.connected(); }));
}

// The host's status line names the address to give a friend: this machine's own (a socket can
// be bound to each) on the port, or only the port where there is none but loopback.
TEST(NetworkDuel, TheHostsStatusSaysWhatAddressToGiveAFriend)
{
    Duel host(true, "", 0, Pair::hostKeys);
    ASSERT_TRUE(host.open());
    host.poll();
    const std::string port = std::to_string(host.port()), friendAt = host.friendAddress();
    const std::string waiting = "waiting for a rider on UDP port " + port;
    EXPECT_EQ(host.status(), friendAt.empty() ? waiting : waiting + ": ask your friend to join " + friendAt);
    std::string rest = friendAt;
    for (size_t at; !rest.empty(); rest = at == std::string::npos ? "" : rest.substr(at + 4)) {
        at = rest.find(" or ");
        const std::string one = rest.substr(0, at);
        const size_t colon = one.find(':');
        ASSERT_NE(colon, std::string::npos) << friendAt;
        EXPECT_EQ(one.substr(colon + 1), port) << friendAt;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        ASSERT_EQ(inet_pton(AF_INET, one.substr(0, colon).c_str(), &address.sin_addr), 1) << friendAt;
        EXPECT_NE(one.rfind("127.", 0), 0u) << friendAt;
        const int sock = socket(AF_INET, SOCK_DGRAM, 0);
        EXPECT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0)
            << one << " is not this machine's";
        close(sock);
    }
}

TEST(NetworkDuel, EscapeInTheJoinersMenuTellsTheHost)
{
    Pair pair;
    ASSERT_TRUE(pumpUntil([&] { pair.host.poll(), pair.join->poll(); },
                          [&] { return pair.host.connected() && pair.join->connected(); }));
    pair.join->quitting();
    ASSERT_TRUE(pumpUntil([&] { pair.host.poll(); }, [&] { return !pair.host.connected(); }, 1.0));
    EXPECT_EQ(std::string(pair.host.status()).rfind("the other rider left", 0), 0u) << pair.host.status();
}

} // namespace
