// Hostile machines against an online duel on this machine's loopback. Each is built from the
// network library and the game's own message encoder, or sends raw datagrams, for a bounded
// count and time. None may end the game of an honest pair or keep a rider out.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <thread>

#include "hostile_pair.h"
#include "network/watch.h"

namespace {

using namespace hostile;

ENetAddress loopback(uint16_t port, const char* address = "127.0.0.1")
{
    ENetAddress at{};
    enet_address_set_host(&at, address);
    at.port = port;
    return at;
}

Message helloOf(uint32_t token)
{
    Message m;
    m.type = MessageType::Hello;
    m.protocol = Connection::ours().protocol;
    m.build = Connection::ours().build;
    m.identity = identityDigest(m.build);
    m.token = token;
    return m;
}

// An ENet host of the test's own, made as a hostile machine would make it: with the game's
// checksum, so that the host reads what it sends. Listening when given a port.
struct HandHost {
    ENetHost* host = nullptr;
    explicit HandHost(const ENetAddress* at = nullptr, size_t peers = 1)
    {
        host = enet_host_create(at, peers, 2, 0, 0);
        EXPECT_NE(host, nullptr);
        host->checksum = enet_crc32;
    }
    ~HandHost() { enet_host_destroy(host); }
    void send(ENetPeer* peer, const Message& m)
    {
        const std::vector<uint8_t> bytes = encode(m);
        enet_peer_send(peer, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
        enet_host_flush(host);
    }
};

// A joiner played by hand from a loopback address: connects, says hello when `greets`,
// keeps the host's token and what it is sent.
struct HandJoiner : HandHost {
    ENetPeer* peer = nullptr;
    bool greets;
    uint32_t hostToken = 0;
    int disconnects = 0;
    std::vector<Message> got;
    HandJoiner(uint16_t port, bool greets, const char* from = "127.0.0.1", uint32_t flags = 0)
        : HandHost(&static_cast<const ENetAddress&>(loopback(0, from))), greets(greets)
    {
        connect(port, flags);
    }
    void connect(uint16_t port, uint32_t flags = 0)
    {
        const ENetAddress to = loopback(port);
        peer = enet_host_connect(host, &to, 2, Connection::ours().protocol | flags);
        enet_host_flush(host);
    }
    void service()
    {
        ENetEvent e;
        while (enet_host_service(host, &e, 0) > 0) {
            if (e.type == ENET_EVENT_TYPE_CONNECT && greets)
                send(peer, helloOf(77));
            if (e.type == ENET_EVENT_TYPE_RECEIVE) {
                Message m;
                if (decode(e.packet->data, e.packet->dataLength, m)) {
                    if (m.type == MessageType::Hello)
                        hostToken = m.token;
                    else
                        got.push_back(m);
                }
                enet_packet_destroy(e.packet);
            }
            disconnects += e.type == ENET_EVENT_TYPE_DISCONNECT;
        }
    }
    // A datagram from this joiner's own socket, framed as ENet frames one for the host's
    // slot in `session`, with its checksum keyed by `key` (the true key is the secret
    // connect ID of the connection) and carrying `commands`.
    void forge(int session, uint32_t key, const std::vector<uint8_t>& commands)
    {
        const uint16_t id = uint16_t(peer->outgoingPeerID | session << ENET_PROTOCOL_HEADER_SESSION_SHIFT);
        std::vector<uint8_t> d = {uint8_t(id >> 8), uint8_t(id), 0, 0, 0, 0};
        d.insert(d.end(), commands.begin(), commands.end());
        std::memcpy(&d[2], &key, 4);
        ENetBuffer whole;
        whole.data = d.data();
        whole.dataLength = d.size();
        const uint32_t sum = enet_crc32(&whole, 1);
        std::memcpy(&d[2], &sum, 4);
        enet_socket_send(host->socket, &peer->address, &whole, 1);
    }
};

// The network library's disconnect command, as enet_peer_disconnect_now sends it.
std::vector<uint8_t> disconnectCommand(uint32_t data)
{
    return {ENET_PROTOCOL_COMMAND_DISCONNECT | ENET_PROTOCOL_COMMAND_FLAG_UNSEQUENCED, 0xff, 0, 0,
            uint8_t(data >> 24), uint8_t(data >> 16), uint8_t(data >> 8), uint8_t(data)};
}

// The host's connection, and what it reported.
struct HostEnd {
    Connection link{true, "", 0};
    int partners = 0, gone = 0;
    std::vector<Message> got;
    HostEnd() { EXPECT_TRUE(link.open()) << link.why(); }
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

Message click(uint16_t game, uint32_t token = 0)
{
    Message m;
    m.type = MessageType::Click;
    m.game = game;
    m.token = token;
    return m;
}

// Connected strangers that never say hello, and bursts of half-open connects (the ENet
// handshake begun and never finished), far more than the host once had slots for. A real
// joiner still becomes the partner at once; the strangers lose their slots; and after the
// joiner leaves, the next one gets in as well.
TEST(NetworkHostile, StrangersThatNeverGreetNeitherBlockNorStay)
{
    Duel host(true, "", 0, noKeys);
    ASSERT_TRUE(host.open());
    std::vector<std::unique_ptr<HandJoiner>> silent, halfOpen;
    // Each from a loopback address of its own: one address holds at most two slots before
    // its hello.
    int addresses = 1;
    auto next = [&] { return "127.0.1." + std::to_string(++addresses % 250); };
    auto burst = [&] {
        for (int i = 0; i < 8; ++i)
            halfOpen.push_back(std::make_unique<HandJoiner>(host.port(), false, next().c_str()));
    };
    auto service = [&] {
        host.poll();
        for (auto& s : silent)
            s->service();
    };
    for (int i = 0; i < 3; ++i)
        silent.push_back(std::make_unique<HandJoiner>(host.port(), false, next().c_str()));
    ASSERT_TRUE(pumpUntil(service, [&] {
        for (auto& s : silent)
            if (s->peer->state != ENET_PEER_STATE_CONNECTED)
                return false;
        return true;
    }));
    const auto silentSince = Clock::now();
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 3; ++i) {
            burst();
            pumpUntil(service, [] { return false; }, 0.1);
        }
        Duel join(false, "127.0.0.1", host.port(), noKeys);
        ASSERT_TRUE(join.open());
        const auto knocked = Clock::now();
        ASSERT_TRUE(pumpUntil([&] { service(), join.poll(); },
                              [&] { return host.connected() && join.connected(); }, 4.0))
            << "round " << round << ": " << host.status() << " / " << join.status();
        EXPECT_LT(since(knocked), 1.5) << "round " << round;
        if (round == 0) {
            // The silent ones are shown the door after about 2 s, the partner stays.
            ASSERT_TRUE(pumpUntil([&] { service(), join.poll(); }, [&] {
                for (auto& s : silent)
                    if (s->disconnects == 0)
                        return false;
                return true;
            }, 4.0));
            EXPECT_GT(since(silentSince), 1.5);
            EXPECT_LT(since(silentSince), 3.5);
            EXPECT_TRUE(host.connected() && join.connected());
        }
        join.quitting();
        ASSERT_TRUE(pumpUntil(service, [&] { return !host.connected(); }));
    }
}

// The network library's connection request as a stranger's machine sends it, a new one each
// time (its connect ID at random), checksummed as the game's hosts check.
size_t connectRequest(uint8_t* out, std::mt19937& rng)
{
    const uint16_t peerID = ENET_PROTOCOL_MAXIMUM_PEER_ID;
    out[0] = uint8_t(peerID >> 8), out[1] = uint8_t(peerID);
    std::memset(out + 2, 0, 4);
    ENetProtocolConnect c{};
    c.header.command = ENET_PROTOCOL_COMMAND_CONNECT | ENET_PROTOCOL_COMMAND_FLAG_ACKNOWLEDGE;
    c.header.channelID = 0xFF;
    c.header.reliableSequenceNumber = ENET_HOST_TO_NET_16(1);
    c.incomingSessionID = c.outgoingSessionID = 0xFF;
    c.mtu = ENET_HOST_TO_NET_32(1392);
    c.windowSize = ENET_HOST_TO_NET_32(32768);
    c.channelCount = ENET_HOST_TO_NET_32(2);
    c.packetThrottleInterval = ENET_HOST_TO_NET_32(5000);
    c.packetThrottleAcceleration = c.packetThrottleDeceleration = ENET_HOST_TO_NET_32(2);
    c.connectID = rng();
    c.data = ENET_HOST_TO_NET_32(Connection::ours().protocol);
    std::memcpy(out + 6, &c, sizeof c);
    ENetBuffer whole;
    whole.data = out;
    whole.dataLength = 6 + sizeof c;
    const uint32_t sum = enet_crc32(&whole, 1);
    std::memcpy(out + 2, &sum, 4);
    return whole.dataLength;
}

// Strangers that hold the host's slots, or flood it with connection requests, from one address
// or eight: a rider from another address, clicking again after each "no answer", still gets
// in within 10 s.
TEST(NetworkHostile, NoFewAddressesKeepARiderFromElsewhereOut)
{
    struct Case {
        const char* what;
        int addresses;
        int silentClients; // connected, never greeting, back as soon as dropped
        double rate;       // connection requests a second, never finished
    };
    for (const Case c : {Case{"silent clients", 1, 20, 0}, Case{"half-open connects", 8, 0, 400},
                         Case{"connect requests", 1, 0, 5000}, Case{"connect requests", 1, 0, 20000}}) {
        SCOPED_TRACE(std::string(c.what) + " from " + std::to_string(c.addresses) + " addresses");
        Duel host(true, "", 0, noKeys);
        ASSERT_TRUE(host.open());
        std::vector<std::unique_ptr<HandJoiner>> silent;
        for (int i = 0; i < c.silentClients; ++i)
            silent.push_back(std::make_unique<HandJoiner>(host.port(), false, "127.0.3.1"));
        auto service = [&] {
            host.poll();
            for (auto& s : silent) {
                s->service();
                if (s->peer->state == ENET_PEER_STATE_DISCONNECTED)
                    s->connect(host.port());
            }
        };
        std::unique_ptr<Flood> flood;
        if (c.rate > 0)
            flood = std::make_unique<Flood>(host.port(), c.rate, uint64_t(c.rate * 20), c.addresses, connectRequest);
        pumpUntil(service, [] { return false; }, 2.5); // the slots fill
        Duel join(false, "127.0.0.1", host.port(), noKeys);
        ASSERT_TRUE(join.open());
        const auto knocked = Clock::now();
        int tries = 1;
        const bool met = pumpUntil([&] {
            service();
            join.poll();
            if (std::string(join.status()).find("no answer") == 0)
                join.clicked(), ++tries;
        }, [&] { return host.connected() && join.connected(); }, 10.0);
        std::printf("%s from %d addresses: met after %.1f s, %d tries\n", c.what, c.addresses, since(knocked), tries);
        EXPECT_TRUE(met) << host.status() << " / " << join.status();
        if (flood) {
            EXPECT_GT(flood->sent.load(), uint64_t(c.rate * 2)) << "the flood did not come near its rate";
        }
    }
}

// Four spectators that say hello and then nothing hold no seat for long, in the menu as in a
// game: a real spectator is seated after 5 s. One that says it is alive but acknowledges no
// pass is sent at most twice what it sends, beyond its first batch; the riders play on.
TEST(NetworkHostile, SpectatorsThatSayNothingOrAcknowledgeNothingHoldNothing)
{
    Pair pair;
    Spectators spectators;
    pair.host.welcome(&spectators);
    pair.host.watchedBy(&spectators);
    ASSERT_TRUE(pair.meet());
    std::vector<std::unique_ptr<HandJoiner>> guests;
    auto seat = [&](const char* from) {
        guests.push_back(std::make_unique<HandJoiner>(pair.host.port(), false, from, Connection::WATCHING));
        HandJoiner& g = *guests.back();
        ASSERT_TRUE(pumpUntil([&] { pair.host.poll(), g.service(); },
                              [&] { return g.peer->state == ENET_PEER_STATE_CONNECTED; }));
        Message watch = helloOf(0);
        watch.type = MessageType::Watch;
        g.send(g.peer, watch);
        ASSERT_TRUE(pumpUntil([&] { pair.host.poll(), g.service(); }, [&] { return g.hostToken != 0; }));
    };
    for (const char* from : {"127.0.4.1", "127.0.4.2", "127.0.4.3", "127.0.4.4"})
        seat(from);
    ASSERT_EQ(spectators.watching(), 4u);
    pair.menus([] { return false; }, 5.5);
    Watching real("127.0.0.1", pair.host.port());
    ASSERT_TRUE(real.open());
    pair.menus([&] { return real.poll(), real.greeted(); }, 3.0);
    EXPECT_TRUE(real.greeted()) << real.status();

    seat("127.0.4.5"); // alive, and deaf to every pass
    HandJoiner& deaf = *guests.back();
    const uint64_t given = deaf.host->totalReceivedData, taken = deaf.host->totalSentData;
    ASSERT_TRUE(pair.start());
    uint32_t lastAlive = enet_time_get();
    pair.play([&] {
        real.poll();
        deaf.service();
        if (enet_time_get() - lastAlive >= 250) {
            Message alive;
            alive.type = MessageType::Alive;
            deaf.send(deaf.peer, alive);
            lastAlive = enet_time_get();
        }
        return false;
    }, 8.0);
    const uint64_t got = deaf.host->totalReceivedData - given, sent = deaf.host->totalSentData - taken;
    std::printf("the deaf spectator sent %llu bytes and got %llu\n", (unsigned long long)sent, (unsigned long long)got);
    EXPECT_GT(pair.passes[0], 120u);
    EXPECT_EQ(deaf.peer->state, ENET_PEER_STATE_CONNECTED);
    EXPECT_LE(got, 2 * sent + 3000); // the hello, the game's start and a first batch of passes
}

// A host that stood still longer than a greeting may take still reads the hello waiting for it.
TEST(NetworkHostile, AHostThatStoodStillStillHearsTheHelloWaitingForIt)
{
    HostEnd host;
    HandJoiner joiner(host.link.port(), false);
    ASSERT_TRUE(pumpUntil([&] { host.service(), joiner.service(); }, [&] { return joiner.peer->state == ENET_PEER_STATE_CONNECTED; }));
    host.service(), joiner.send(joiner.peer, helloOf(77)), usleep((Connection::GREETING_MS + 500) * 1000);
    EXPECT_TRUE(pumpUntil([&] { host.service(), joiner.service(); }, [&] { return host.partners == 1 && joiner.hostToken; }));
}

// Junk datagrams at the host's port, in the menus (25,000 a second) and in a game (60,000 and
// 100,000 a second): the pair stays connected, a click still starts a game, passes keep
// coming. Read one batch of 256 datagrams a tick, as once, the socket overflows and the
// partner's datagrams are lost with the junk.
TEST(NetworkHostile, AFloodOfJunkNeitherDropsNorStallsThePair)
{
    struct Case {
        const char* where;
        bool inGame;
        double rate, seconds;
    };
    for (const Case c : {Case{"menu", false, 25000, 3}, Case{"game", true, 60000, 3},
                         Case{"game", true, 100000, 3}}) {
        SCOPED_TRACE(std::string(c.where) + " at " + std::to_string(int(c.rate)) + "/s");
        Pair pair;
        ASSERT_TRUE(pair.meet());
        if (c.inGame) {
            ASSERT_TRUE(pair.start());
        }
        const auto began = Clock::now();
        const uint32_t before[2] = {pair.passes[0], pair.passes[1]};
        bool clicked = false, heard = false;
        Flood flood(pair.host.port(), c.rate, uint64_t(c.rate * c.seconds));
        const std::atomic<bool>& over = flood.finished;
        if (c.inGame)
            pair.play([&] { return over.load(); }, c.seconds * 4);
        else
            pair.menus([&] {
                // The joiner clicks in the thick of it.
                if (!clicked && since(began) > c.seconds * 0.5) {
                    pair.join->clicked();
                    clicked = true;
                }
                heard = heard || pair.host.startsGame();
                return over.load() || !pair.host.connected() || !pair.join->connected();
            }, c.seconds * 4);
        flood.stop = true;
        flood.thread.join();
        const double seconds = since(began);
        std::printf("%s: %.0f junk datagrams a second for %.1f s; passes %u and %u, of which waited %u and %u\n",
                    c.where, flood.achieved(), seconds, pair.passes[0] - before[0], pair.passes[1] - before[1],
                    pair.waited[0], pair.waited[1]);
        // Paced by count: on a busy machine it may take longer, but not much.
        EXPECT_GT(flood.achieved(), c.rate * 0.3) << "the flood did not come near its rate";
        EXPECT_TRUE(pair.host.connected() && pair.join->connected())
            << pair.host.status() << " / " << pair.join->status();
        EXPECT_FALSE(pair.host.broken() || pair.join->broken())
            << pair.host.brokenWhy() << " / " << pair.join->brokenWhy();
        if (c.inGame) {
            // Passes kept coming: at least half the game's pace on both sides.
            for (int s = 0; s < 2; ++s) {
                const uint32_t played = pair.passes[s] - before[s];
                EXPECT_GE(played, uint32_t(seconds * 20 * 0.5)) << "side " << s;
                EXPECT_LE(pair.waited[s], played * 15 / 100) << "side " << s;
            }
        } else {
            EXPECT_TRUE(heard) << "the joiner's click did not reach the host";
        }
    }
}

// Forged datagrams from the joiner's own address and port: ENet disconnects in each of the 4
// sessions, keyed wrongly or not at all, and junk framed for the joiner's slot; then a message
// without the host's token. None ends the game or reaches it. The same disconnect keyed with
// the connection's secret does end it: the forgeries were well made but for the secret.
TEST(NetworkHostile, ForgedDatagramsFromThePartnersAddressChangeNothing)
{
    HostEnd host;
    HandJoiner joiner(host.link.port(), true);
    auto both = [&] { host.service(), joiner.service(); };
    ASSERT_TRUE(pumpUntil(both, [&] { return host.partners && joiner.hostToken; }))
        << host.partners << " " << joiner.hostToken << " " << joiner.peer->state << " " << host.link.why();
    const uint32_t secret = joiner.peer->connectID;
    std::mt19937 rng(4);
    for (int session = 0; session < 4; ++session)
        for (uint32_t key : {0u, secret ^ 1u, secret + 0x10000u, uint32_t(rng())}) {
            joiner.forge(session, key, disconnectCommand(PARTING_LEFT));
            both();
        }
    for (int i = 0; i < 400; ++i) {
        std::vector<uint8_t> junk(4 + rng() % 60);
        for (auto& b : junk)
            b = uint8_t(rng());
        joiner.forge(i % 4, uint32_t(rng()), junk);
        if (i % 40 == 0)
            both();
    }
    joiner.send(joiner.peer, click(3, joiner.hostToken ^ 0x5a5a));
    joiner.send(joiner.peer, click(4, 0));
    joiner.send(joiner.peer, click(5, joiner.hostToken));
    ASSERT_TRUE(pumpUntil(both, [&] { return !host.got.empty(); }));
    pumpUntil(both, [] { return false; }, 0.3);
    ASSERT_EQ(host.got.size(), 1u);
    EXPECT_EQ(host.got[0].game, 5); // only the message with the host's token
    EXPECT_EQ(host.gone, 0) << host.link.why();
    EXPECT_TRUE(host.link.connected());
    EXPECT_EQ(joiner.peer->state, ENET_PEER_STATE_CONNECTED);

    joiner.forge(joiner.peer->outgoingSessionID, secret, disconnectCommand(PARTING_LEFT));
    ASSERT_TRUE(pumpUntil([&] { host.service(); }, [&] { return host.gone > 0; }));
    EXPECT_EQ(host.link.why(), "the other rider left");
}

// A joiner aimed at a server that takes the connection and never greets, and one aimed at a
// port where nothing answers: both say "no answer" within about 5 s, and a click tries again.
TEST(NetworkHostile, AJoinerWithNoAnswerSaysSoAndAClickTriesAgain)
{
    const ENetAddress any = loopback(0);
    HandHost mute(&any, 4);
    const int unused = socket(AF_INET, SOCK_DGRAM, 0); // holds a port that nobody reads
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(unused, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    socklen_t len = sizeof at;
    getsockname(unused, reinterpret_cast<sockaddr*>(&at), &len);
    const uint16_t ports[2] = {mute.host->address.port, ntohs(at.sin_port)};
    std::unique_ptr<Duel> joiners[2];
    for (int i = 0; i < 2; ++i) {
        joiners[i] = std::make_unique<Duel>(false, "127.0.0.1", ports[i], noKeys);
        ASSERT_TRUE(joiners[i]->open());
    }
    auto service = [&] {
        ENetEvent e;
        while (enet_host_service(mute.host, &e, 0) > 0)
            if (e.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(e.packet);
        joiners[0]->poll();
        joiners[1]->poll();
    };
    const auto began = Clock::now();
    auto saysNoAnswer = [&](int i) {
        return std::string(joiners[i]->status()) == "no answer from 127.0.0.1:" +
                                                        std::to_string(ports[i]) + " - click to try again";
    };
    ASSERT_TRUE(pumpUntil(service, [&] { return saysNoAnswer(0) && saysNoAnswer(1); }, 8.0))
        << joiners[0]->status() << " / " << joiners[1]->status();
    EXPECT_GT(since(began), 4.0);
    EXPECT_LT(since(began), 7.0);
    for (int i = 0; i < 2; ++i) {
        joiners[i]->clicked();
        joiners[i]->poll();
        EXPECT_EQ(std::string(joiners[i]->status()), "connecting to 127.0.0.1:" + std::to_string(ports[i]) + "...");
    }
    close(unused);
}

// A host played by hand sends the joiner a start whose height order is outside -1..1: the
// joiner refuses it as damaged and never starts that game (it would make its own recording
// unreadable). A height order of 1 starts as usual.
TEST(NetworkHostile, AStartWithAnImpossibleHeightOrderIsRefusedAsDamaged)
{
    for (const int32_t order : {1, 2, -2, 7777}) {
        SCOPED_TRACE("height order " + std::to_string(order));
        const ENetAddress any = loopback(0);
        HandHost hand(&any, 2);
        Duel join(false, "127.0.0.1", hand.host->address.port, noKeys);
        ASSERT_TRUE(join.open());
        ENetPeer* peer = nullptr;
        uint32_t joinerToken = 0;
        auto service = [&] {
            ENetEvent e;
            while (enet_host_service(hand.host, &e, 0) > 0) {
                if (e.type != ENET_EVENT_TYPE_RECEIVE)
                    continue;
                Message m;
                if (decode(e.packet->data, e.packet->dataLength, m) && m.type == MessageType::Hello) {
                    peer = e.peer;
                    joinerToken = m.token;
                    hand.send(peer, helloOf(99));
                }
                enet_packet_destroy(e.packet);
            }
            join.poll();
        };
        ASSERT_TRUE(pumpUntil(service, [&] { return join.connected(); }));
        Message start;
        start.type = MessageType::Start;
        start.token = joinerToken;
        start.start = {5, 6, order};
        start.inputDelay = 2;
        hand.send(peer, start);
        const std::string damaged = "dropped the other rider: it sent a damaged packet";
        ASSERT_TRUE(pumpUntil(service, [&] {
            return join.startsGame() || std::string(join.status()).find(damaged) == 0;
        }));
        if (order == 1) {
            GameStart given;
            join.begin(given);
            EXPECT_EQ(given.prevRiderHeightSign, 1);
        } else {
            EXPECT_FALSE(join.startsGame());
            EXPECT_FALSE(join.connected());
        }
    }
}

} // namespace
