#include "network/watch.h"

#include "network/enet_port.h"

#include <cstdio>
#include <cstdlib>

namespace {

// What the spectator holds goes to the host ten times a second.
const uint32_t SEEN_MS = 100;
// A shown game that gets no new pass for this long has lost its host.
const uint32_t DRY_MS = 15000;
// A host that has not greeted a spectator by then is not there (or not a host of this game).
const uint32_t GREETING_MS = 5000;

std::string describe(uint16_t protocol, const std::string& build)
{
    return (build.empty() ? std::string("an unnamed build") : build) + " (protocol " +
           std::to_string(protocol) + ")";
}

} // namespace

Watching::Watching(std::string address, uint16_t port, Connection::Identity self)
    : address_(std::move(address)), port_(port), self_(std::move(self))
{
}

Watching::~Watching()
{
    quitting();
}

bool Watching::open()
{
    static const bool started = [] {
        if (enet_initialize() != 0)
            return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    greeted_ = false;
    if (!started) {
        lose("the network library did not start");
        return false;
    }
    ENetAddress address{};
    address.port = port_;
    if (enet_address_set_host(&address, address_.c_str()) != 0) {
        lose("cannot find the machine " + address_);
        return false;
    }
    host_ = enet_host_create(nullptr, 1, 2, 0, 0);
    if (host_)
        host_->checksum = enet_crc32; // as the host checks every datagram
    if (host_)
        peer_ = enet_host_connect(host_, &address, 2, self_.protocol | Connection::WATCHING);
    if (!host_ || !peer_) {
        lose("cannot open a UDP socket");
        return false;
    }
    host_->maximumPacketSize = 4096;
    host_->maximumWaitingData = 64 * 1024;
    openedAt_ = enet_time_get();
    lastWhy_.clear();
    refreshStatus();
    return true;
}

void Watching::lose(const std::string& why)
{
    lastWhy_ = why;
    if (showing_ && brokenWhy_.empty())
        brokenWhy_ = why;
    if (host_) {
        if (peer_)
            enet_peer_disconnect_now(peer_, PARTING_DROPPED);
        enet_host_destroy(host_);
    }
    host_ = nullptr;
    peer_ = nullptr;
    greeted_ = false;
    for (auto it = games_.begin(); it != games_.end();)
        it = showing_ && it->first == shown_ ? std::next(it) : games_.erase(it);
    refreshStatus();
}

void Watching::send(const Message& message, bool reliable)
{
    if (peer_)
        sendTo(peer_, message, reliable);
}

void Watching::say(const std::string& status)
{
    if (status == status_)
        return;
    status_ = status;
    std::printf("riverduel: %s\n", status_.c_str());
    std::fflush(stdout);
}

void Watching::refreshStatus()
{
    const std::string where = address_ + ":" + std::to_string(port_);
    if (!host_)
        say(lastWhy_ + " - click to try again");
    else if (!greeted_)
        say("connecting to " + where + " to watch...");
    else
        say("watching the riders at " + where + ": each game is shown as it starts");
}

void Watching::service()
{
    ENetEvent event;
    while (host_ && enet_host_service(host_, &event, 0) > 0) {
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT: {
            enet_peer_ping_interval(peer_, Connection::PING_MS);
            enet_peer_throttle_configure(peer_, 5000, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
            Message watch;
            watch.type = MessageType::Watch;
            watch.protocol = self_.protocol;
            watch.build = self_.build;
            watch.identity = identityDigest(self_.build);
            send(watch, true);
            break;
        }
        case ENET_EVENT_TYPE_DISCONNECT:
            peer_ = nullptr;
            if (event.data == PARTING_LEFT)
                lose("the host left");
            else if (event.data == PARTING_DROPPED && greeted_)
                lose("the host closed the connection");
            else if (!greeted_)
                lose("no answer from " + address_ + ":" + std::to_string(port_));
            else
                lose("connection lost");
            return;
        case ENET_EVENT_TYPE_RECEIVE: {
            Message m;
            const bool ok = decode(event.packet->data, event.packet->dataLength, m);
            enet_packet_destroy(event.packet);
            if (!ok) {
                lose("the host sent a damaged packet");
                return;
            }
            handle(m);
            break;
        }
        default:
            break;
        }
    }
    if (host_ && !greeted_ && enet_time_get() - openedAt_ > GREETING_MS)
        lose("no answer from " + address_ + ":" + std::to_string(port_));
    if (host_ && greeted_ && enet_time_get() - lastSeen_ >= SEEN_MS)
        acknowledge();
}

void Watching::handle(const Message& m)
{
    switch (m.type) {
    case MessageType::Hello:
        greeted_ = true;
        refreshStatus();
        break;
    case MessageType::Refuse:
        if (m.reason == RefuseReason::Version)
            lose("refused: " + describe(self_.protocol, self_.build) + " met " + describe(m.protocol, m.build));
        else if (m.reason == RefuseReason::Busy)
            lose("refused: that game already has " + std::to_string(Connection::MAX_GUESTS) + " spectators");
        else
            lose("refused: the host could not read our packets");
        break;
    case MessageType::Start: {
        if (!greeted_ || games_.count(m.game) || (showing_ && m.game == shown_))
            return;
        // A game older than the one before this never gets its passes any more.
        for (auto it = games_.begin(); it != games_.end();)
            it = (showing_ && it->first == shown_) || uint16_t(m.game - it->first) < 2 ? std::next(it)
                                                                                        : games_.erase(it);
        games_[m.game].start = m.start;
        break;
    }
    case MessageType::Passes: {
        auto it = games_.find(m.game);
        if (it == games_.end())
            return;
        Game& game = it->second;
        if (m.first <= game.passes.size() && m.first + m.inputs.size() > game.passes.size())
            game.passes.insert(game.passes.end(), m.inputs.begin() + long(game.passes.size() - m.first),
                               m.inputs.end());
        if (m.total != GAME_RUNNING && game.passes.size() <= m.total)
            game.total = m.total;
        break;
    }
    default:
        break;
    }
}

// Tells the host how much it holds of the oldest game still missing passes, which brings
// the rest; with nothing missing, it only says it is still there.
void Watching::acknowledge()
{
    lastSeen_ = enet_time_get();
    Message seen;
    seen.type = MessageType::Alive;
    for (const auto& [number, game] : games_)
        if (!game.complete()) {
            seen.type = MessageType::Seen;
            seen.game = number;
            seen.total = uint32_t(game.passes.size());
            break;
        }
    send(seen, false);
}

void Watching::poll()
{
    service();
    refreshStatus();
}

const Watching::Game* Watching::next() const
{
    for (const auto& [number, game] : games_)
        if (game.passes.size() >= LEAD || game.complete())
            return &game;
    return nullptr;
}

bool Watching::startsGame()
{
    return !showing_ && next() != nullptr;
}

bool Watching::clicked()
{
    if (!host_)
        open();
    return false; // the host's riders start the games
}

void Watching::begin(GameStart& start)
{
    for (const auto& [number, game] : games_)
        if (&game == next()) {
            shown_ = number;
            start = game.start;
            break;
        }
    showing_ = true;
    dry_ = false;
    world_ = nullptr; // until started() names this game's world
    brokenWhy_.clear();
}

bool Watching::gather(uint32_t pass, bool escape, PassInput& input)
{
    service();
    auto it = games_.find(shown_);
    if (!brokenWhy_.empty() || it == games_.end()) {
        if (brokenWhy_.empty())
            brokenWhy_ = lastWhy_.empty() ? "connection lost" : lastWhy_;
        return false;
    }
    const Game& game = it->second;
    if (escape || (game.total != GAME_RUNNING && pass >= game.total)) {
        // The riders' game ended here: the slow-down ran out (this pass, stepped, ends it
        // the same way) or someone left.
        input = PassInput();
        if (!escape && world_) {
            World trial = *world_;
            Cues unheard;
            if (!stepWorld(trial, input, unheard))
                return true;
        }
        input.leave = true;
        return true;
    }
    // Once the game ran dry, it waits for a lead again rather than stutter pass by pass.
    const size_t held = game.passes.size();
    if (pass < held && (!dry_ || held >= pass + LEAD || game.complete())) {
        dry_ = false;
        return unpackPass(game.passes[pass], input);
    }
    const uint32_t now = enet_time_get();
    if (!dry_) {
        dry_ = true;
        dryAt_ = now;
    } else if (now - dryAt_ > DRY_MS) {
        brokenWhy_ = "the host stopped sending the game";
    }
    return false;
}

bool Watching::afterGame(const GameResult& result)
{
    (void)result;
    showing_ = false;
    games_.erase(shown_);
    if (!brokenWhy_.empty())
        lastWhy_ = brokenWhy_;
    brokenWhy_.clear();
    refreshStatus();
    return true;
}

void Watching::quitting()
{
    if (host_) {
        if (peer_)
            enet_peer_disconnect_now(peer_, PARTING_LEFT);
        enet_host_destroy(host_);
    }
    host_ = nullptr;
    peer_ = nullptr;
    greeted_ = false;
}
