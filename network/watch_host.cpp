#include "network/watch.h"

#include "network/enet_port.h"

size_t sendTo(ENetPeer* peer, const Message& message, bool reliable)
{
    const std::vector<uint8_t> bytes = encode(message);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (enet_peer_send(peer, reliable ? 0 : 1, packet) != 0)
        enet_packet_destroy(packet);
    enet_host_flush(peer->host);
    return bytes.size();
}

namespace {

// A spectator says what it holds ten times a second; one silent this long is gone.
const uint32_t SPECTATOR_SILENCE_MS = 5000;
// A spectator greeted this early in a game is still shown it from its start.
const uint32_t LATE_FOLLOW_PASSES = 40;
// What a spectator that acknowledges nothing is sent beyond twice what it sent: the game's
// start and a first batch of passes. Each datagram counts with its IP, UDP and ENet headers.
const uint64_t FIRST_BATCH = 1500;
const uint64_t DATAGRAM_OVERHEAD = 40;

void refuse(ENetPeer* peer, RefuseReason reason, const Connection::Identity& self)
{
    Message m;
    m.type = MessageType::Refuse;
    m.reason = reason;
    m.protocol = self.protocol;
    m.build = self.build;
    sendTo(peer, m, true);
    enet_peer_disconnect_later(peer, PARTING_DROPPED);
}

} // namespace

Spectators::Spectators(Connection::Identity self) : self_(std::move(self))
{
}

Spectators::~Spectators()
{
    for (Seat& seat : seats_)
        enet_peer_disconnect_now(seat.peer, PARTING_LEFT);
}

size_t Spectators::watching() const
{
    size_t n = 0;
    for (const Seat& seat : seats_)
        n += seat.greeted;
    return n;
}

Spectators::Seat* Spectators::seat(const ENetPeer* peer)
{
    for (Seat& seat : seats_)
        if (seat.peer == peer)
            return &seat;
    return nullptr;
}

bool Spectators::greeted(const ENetPeer* peer) const
{
    for (const Seat& seat : seats_)
        if (seat.peer == peer)
            return seat.greeted;
    return false;
}

bool Spectators::has(const ENetPeer* peer) const
{
    for (const Seat& seat : seats_)
        if (seat.peer == peer)
            return true;
    return false;
}

void Spectators::arrived(ENetPeer* peer)
{
    dropSilent();
    if (seats_.size() >= Connection::MAX_GUESTS) {
        refuse(peer, RefuseReason::Busy, self_);
        return;
    }
    Seat seat;
    seat.peer = peer;
    seat.since = seat.lastHeard = enet_time_get();
    seats_.push_back(seat);
    enet_peer_ping_interval(peer, Connection::PING_MS);
    // The passes go unreliably; ENet would throw them away while the round trip wavers (a
    // busy machine), and the spectator would run dry again and again.
    enet_peer_throttle_configure(peer, 5000, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
}

void Spectators::left(ENetPeer* peer)
{
    for (size_t i = 0; i < seats_.size(); ++i)
        if (seats_[i].peer == peer) {
            seats_.erase(seats_.begin() + long(i));
            return;
        }
}

void Spectators::heard(ENetPeer* peer, const uint8_t* data, size_t size)
{
    Seat* s = seat(peer);
    if (!s)
        return;
    s->lastHeard = enet_time_get();
    s->taken += size + DATAGRAM_OVERHEAD;
    Message m;
    if (!decode(data, size, m)) {
        enet_peer_disconnect_now(peer, PARTING_DROPPED);
        left(peer);
        return;
    }
    if (m.type == MessageType::Watch && !s->greeted) {
        if (m.protocol != self_.protocol || m.identity != identityDigest(self_.build)) {
            refuse(peer, RefuseReason::Version, self_);
            left(peer);
            return;
        }
        s->greeted = true;
        Message hello;
        hello.type = MessageType::Hello;
        hello.protocol = self_.protocol;
        hello.build = self_.build;
        hello.identity = identityDigest(self_.build);
        hello.token = 1; // a spectator answers nothing that needs a token
        send(*s, hello, true);
        if (haveGame_ && games_[0].total == GAME_RUNNING && games_[0].passes.size() <= LATE_FOLLOW_PASSES)
            follow(*s);
        return;
    }
    if (m.type != MessageType::Seen || !s->greeted || !haveGame_)
        return;
    if (m.game == games_[0].start.game && s->following) {
        if (m.total > s->held)
            s->held = m.total < games_[0].passes.size() ? m.total : uint32_t(games_[0].passes.size());
        sendPasses(*s, games_[0], s->held);
    } else if (games_[1].start.type == MessageType::Start && m.game == games_[1].start.game) {
        sendPasses(*s, games_[1], m.total);
    }
}

void Spectators::send(Seat& seat, const Message& message, bool reliable)
{
    const size_t size = sendTo(seat.peer, message, reliable);
    sent_ += size;
    seat.given += size + DATAGRAM_OVERHEAD;
}

void Spectators::follow(Seat& seat)
{
    seat.following = true;
    seat.held = 0;
    send(seat, games_[0].start, true);
    sendPasses(seat, games_[0], 0);
}

void Spectators::sendPasses(Seat& seat, const Game& game, uint32_t from)
{
    if (from > game.passes.size())
        return;
    const size_t left = game.passes.size() - from;
    const size_t n = left < MAX_INPUTS_PER_MESSAGE ? left : MAX_INPUTS_PER_MESSAGE;
    if ((n == 0 && game.total == GAME_RUNNING) || seat.given > 2 * seat.taken + FIRST_BATCH)
        return;
    Message m;
    m.type = MessageType::Passes;
    m.game = game.start.game;
    m.first = from;
    m.total = game.total;
    m.inputs.assign(game.passes.begin() + from, game.passes.begin() + long(from + n));
    send(seat, m, false);
}

void Spectators::dropSilent()
{
    const uint32_t now = enet_time_get();
    for (size_t i = seats_.size(); i-- > 0;)
        if (now - seats_[i].lastHeard > SPECTATOR_SILENCE_MS ||
            (!seats_[i].greeted && now - seats_[i].since > Connection::GREETING_MS)) {
            enet_peer_disconnect_now(seats_[i].peer, PARTING_DROPPED);
            seats_.erase(seats_.begin() + long(i));
        }
}

void Spectators::gameStarted(const Message& start)
{
    games_[1] = std::move(games_[0]);
    games_[0] = Game();
    games_[0].start = start;
    haveGame_ = true;
    dropSilent();
    for (Seat& seat : seats_)
        if (seat.greeted)
            follow(seat);
}

void Spectators::confirmed(uint16_t game, uint32_t pass, const PassInput& input)
{
    Game& current = games_[0];
    if (!haveGame_ || game != current.start.game || pass != current.passes.size() ||
        current.total != GAME_RUNNING)
        return;
    current.passes.push_back(packPass(input));
    dropSilent();
    for (Seat& seat : seats_)
        if (seat.following)
            sendPasses(seat, current, seat.held);
}

void Spectators::gameEnded(uint16_t game, uint32_t passes)
{
    Game& current = games_[0];
    if (!haveGame_ || game != current.start.game || current.total != GAME_RUNNING)
        return;
    if (passes < current.passes.size())
        current.passes.resize(passes);
    current.total = uint32_t(current.passes.size());
    for (Seat& seat : seats_)
        if (seat.following)
            sendPasses(seat, current, seat.held);
}
