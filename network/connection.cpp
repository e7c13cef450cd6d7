#include "network/connection.h"

#include "network/enet_port.h"

#include <algorithm>
#include <cstdlib>
#include <random>

#include "simulation/identity.h"

namespace {

const uint32_t ALIVE_MS = 250;
// A pause of this side's own between two looks at the link (its machine stood still) counts as
// this long at most on the link's clock: nobody is blamed for silence that nobody heard. A
// busy game that looks every 100 or 200 ms still counts all of its time.
const uint32_t LOOK_GAP_MS = 250;
// The socket is read until it is empty, for at most this long a call: a flood of junk costs
// some processor time, never the partner's datagrams.
const uint32_t DRAIN_MS = 15;
// Room for about a tenth of a second of a heavy flood (the system may give less).
const int RECEIVE_BUFFER = 8 << 20;
// Addresses whose connection requests are counted in one second; requests from more are
// dropped until the next.
const size_t ASKERS = 64;

bool startEnet()
{
    static const bool started = [] {
        if (enet_initialize() != 0)
            return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    return started;
}

std::string describe(uint16_t protocol, const std::string& build)
{
    return (build.empty() ? std::string("an unnamed build") : build) + " (protocol " +
           std::to_string(protocol) + ")";
}

uint32_t freshToken()
{
    std::random_device device;
    uint32_t token = 0;
    while (token == 0)
        token = device();
    return token;
}

bool halfOpen(const ENetPeer& peer)
{
    return peer.state == ENET_PEER_STATE_CONNECTING ||
           peer.state == ENET_PEER_STATE_ACKNOWLEDGING_CONNECT ||
           peer.state == ENET_PEER_STATE_CONNECTION_PENDING ||
           peer.state == ENET_PEER_STATE_CONNECTION_SUCCEEDED;
}

// The connection being serviced, for the datagram filter (ENet has one thread: this one).
thread_local Connection* servicing = nullptr;

} // namespace

// Every datagram, before ENet reads it: 1 drops it. A connection request goes on to ENet only
// when admitted; other datagrams only from the machines this host knows.
int interceptDatagram(ENetHost* host, ENetEvent*)
{
    Connection* self = servicing;
    if (!self)
        return 0;
    const ENetAddress& from = host->receivedAddress;
    if (self->isConnectRequest(host->receivedData, host->receivedDataLength))
        return self->admitsRequest(hostNumber(from)) ? 0 : 1;
    for (size_t i = 0; i < host->peerCount; ++i) {
        const ENetPeer& peer = host->peers[i];
        if (peer.state != ENET_PEER_STATE_DISCONNECTED && hostNumber(peer.address) == hostNumber(from) &&
            peer.address.port == from.port)
            return 0;
    }
    return 1;
}

Connection::Identity Connection::ours()
{
    return {MESSAGE_PROTOCOL, buildIdentity()};
}

Connection::Connection(bool hosting, std::string address, uint16_t port, Identity self)
    : hosting_(hosting), address_(std::move(address)), port_(port), self_(std::move(self))
{
}

Connection::~Connection()
{
    if (host_) {
        if (partner_)
            enet_peer_disconnect_now(partner_, PARTING_LEFT);
        enet_host_destroy(host_);
    }
}

bool Connection::open()
{
    if (!startEnet()) {
        why_ = "the network library did not start";
        return false;
    }
    ENetAddress address{};
    address.port = port_;
    if (hosting_) {
        address.host = ENET_HOST_ANY;
        host_ = enet_host_create(&address, PEER_SLOTS, 2, 0, 0);
        if (!host_) {
            why_ = "cannot open UDP port " + std::to_string(port_) + " (is it in use?)";
            return false;
        }
        port_ = host_->address.port; // the one the system chose, when asked for port 0
    } else {
        if (enet_address_set_host(&address, address_.c_str()) != 0) {
            why_ = "cannot find the machine " + address_;
            return false;
        }
        host_ = enet_host_create(nullptr, 1, 2, 0, 0);
        if (!host_) {
            why_ = "cannot open a UDP socket";
            return false;
        }
    }
    // Every datagram is checked against the connection's secret connect ID, both ways.
    host_->checksum = enet_crc32;
    host_->intercept = interceptWith<interceptDatagram>;
    enet_socket_set_option(host_->socket, ENET_SOCKOPT_RCVBUF, RECEIVE_BUFFER);
    // Far above any message of ours: anything between is read and found damaged, and ENet
    // itself throws away anything bigger.
    host_->maximumPacketSize = 4096;
    host_->maximumWaitingData = 64 * 1024;
    slots_.assign(host_->peerCount, Slot());
    token_ = freshToken();
    lastLook_ = enet_time_get();
    openedAt_ = looked_;
    if (!hosting_) {
        partner_ = enet_host_connect(host_, &address, 2, self_.protocol);
        if (!partner_) {
            why_ = "cannot connect to " + address_;
            return false;
        }
    }
    return true;
}

Message Connection::hello() const
{
    Message m;
    m.type = MessageType::Hello;
    m.protocol = self_.protocol;
    m.build = self_.build;
    m.identity = identityDigest(self_.build);
    m.token = token_;
    return m;
}

void Connection::refuse(ENetPeer* peer, RefuseReason reason)
{
    Message m;
    m.type = MessageType::Refuse;
    m.reason = reason;
    m.protocol = self_.protocol;
    m.build = self_.build;
    const std::vector<uint8_t> bytes = encode(m);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (enet_peer_send(peer, 0, packet) != 0)
        enet_packet_destroy(packet);
    enet_peer_disconnect_later(peer, PARTING_DROPPED);
    enet_host_flush(host_);
    Slot& s = slot(peer);
    s.candidate = false;
    s.refused = true;
}

Connection::Event Connection::lose(const std::string& why)
{
    why_ = why;
    partner_ = nullptr;
    greeted_ = false;
    partnerToken_ = 0;
    partnerBuild_.clear();
    return Event::Gone;
}

Connection::Slot& Connection::slot(ENetPeer* peer)
{
    Slot& s = slots_[size_t(peer - host_->peers)];
    if (s.connectID != peer->connectID)
        s = Slot{peer->connectID, looked_, false, false};
    return s;
}

bool Connection::isConnectRequest(const uint8_t* data, size_t size) const
{
    // Peer ID 0xFFF, the header (with its sent time when flagged, and the checksum), then a
    // connect command.
    if (size < 2)
        return false;
    const uint16_t peerID = uint16_t(data[0] << 8 | data[1]);
    if ((peerID & ENET_PROTOCOL_MAXIMUM_PEER_ID) != ENET_PROTOCOL_MAXIMUM_PEER_ID)
        return false;
    const size_t header = (peerID & ENET_PROTOCOL_HEADER_FLAG_SENT_TIME ? 4 : 2) + (host_->checksum ? 4 : 0);
    return size >= header + sizeof(ENetProtocolConnect) &&
           (data[header] & ENET_PROTOCOL_COMMAND_MASK) == ENET_PROTOCOL_COMMAND_CONNECT;
}

// Slot i is held by a machine that has not said its hello: connecting, connected and its
// hello awaited, being turned away, or a spectator not yet greeted.
bool Connection::ungreeted(size_t i) const
{
    const ENetPeer& peer = host_->peers[i];
    if (peer.state == ENET_PEER_STATE_DISCONNECTED || &peer == partner_)
        return false;
    if (guests_ && guests_->has(&peer))
        return !guests_->greeted(&peer);
    const Slot& s = slots_[i];
    return halfOpen(peer) || s.connectID != peer.connectID || s.candidate || s.refused;
}

// A connection request, before ENet makes a slot for it: only the host takes them, from an
// address holding fewer than UNGREETED_PER_ADDRESS slots before its hello, within the rates.
bool Connection::admitsRequest(uint32_t address)
{
    if (!hosting_)
        return false;
    int held = 0;
    for (size_t i = 0; i < host_->peerCount; ++i)
        held += hostNumber(host_->peers[i].address) == address && ungreeted(i);
    if (held >= UNGREETED_PER_ADDRESS)
        return false;
    const uint32_t second = enet_time_get() / 1000;
    if (second != requestSecond_)
        requestSecond_ = second, requests_ = 0, askers_.clear();
    if (requests_ >= REQUESTS_PER_SECOND)
        return false;
    auto asker = std::find_if(askers_.begin(), askers_.end(), [&](const Asker& a) { return a.address == address; });
    if (asker == askers_.end()) {
        if (askers_.size() >= ASKERS)
            return false;
        askers_.push_back({address, 0});
        asker = askers_.end() - 1;
    }
    if (asker->requests >= REQUESTS_PER_ADDRESS)
        return false;
    ++asker->requests;
    ++requests_;
    return true;
}

// The host's slots: whoever has not become the partner within GREETING_MS of connecting
// leaves (spectators, whom another part of the game keeps, are neither half-open nor ours).
void Connection::sweep()
{
    const uint32_t now = looked_;
    for (size_t i = 0; i < host_->peerCount; ++i) {
        ENetPeer* peer = &host_->peers[i];
        if (peer->state == ENET_PEER_STATE_DISCONNECTED || peer == partner_) {
            slots_[i] = Slot();
            continue;
        }
        const Slot& s = slot(peer);
        if (!halfOpen(*peer) && !s.candidate && !s.refused)
            continue;
        if (now - s.since > GREETING_MS) {
            enet_peer_disconnect_now(peer, PARTING_DROPPED);
            slots_[i] = Slot();
        }
    }
}

// A machine that connected to the host and is not the partner: its first message must be a
// hello of this version, and it becomes the partner only when there is none yet. True when
// it did.
bool Connection::handleCandidate(ENetPeer* peer, const uint8_t* data, size_t size)
{
    Slot& s = slot(peer);
    if (!s.candidate)
        return false; // refused, or kept by someone else: not ours to read
    Message m;
    if (!decode(data, size, m) || m.type != MessageType::Hello) {
        refuse(peer, RefuseReason::Damaged);
        if (!partner_)
            why_ = "refused a machine that does not speak this game's protocol";
        return false;
    }
    if (m.protocol != self_.protocol || m.identity != identityDigest(self_.build)) {
        refuse(peer, RefuseReason::Version);
        if (!partner_)
            why_ = "refused: " + describe(self_.protocol, self_.build) + " met " +
                   describe(m.protocol, m.build);
        return false;
    }
    if (partner_) {
        refuse(peer, RefuseReason::Busy);
        return false;
    }
    s.candidate = false;
    partner_ = peer;
    greeted_ = true;
    partnerToken_ = m.token;
    partnerBuild_ = m.build;
    lastHeard_ = looked_;
    enet_peer_ping_interval(partner_, PING_MS);
    // ENet would otherwise throw away unreliable packets when the round trip wavers:
    // every input packet counts, and they are small.
    enet_peer_throttle_configure(partner_, 5000, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
    send(hello(), true);
    return true;
}

Connection::Event Connection::next(Message& message)
{
    if (!host_)
        return Event::None;
    const uint32_t began = enet_time_get();
    looked_ += std::min(began - lastLook_, LOOK_GAP_MS);
    lastLook_ = began;
    if (connected() && began - lastSent_ >= ALIVE_MS) {
        Message alive;
        alive.type = MessageType::Alive;
        send(alive, false);
    }
    if (hosting_) {
        sweep();
        if (guests_)
            guests_->tend();
    } else if (partner_ && !greeted_ && looked_ - openedAt_ > ANSWER_MS) {
        enet_peer_reset(partner_);
        return lose("no answer from " + address_ + ":" + std::to_string(port_));
    }
    ENetEvent event;
    for (;;) {
        servicing = this;
        const int got = enet_host_service(host_, &event, 0);
        servicing = nullptr;
        if (got < 0)
            break;
        if (got == 0) {
            // ENet reads at most 256 datagrams a call: go on while more wait, within budget.
            enet_uint32 wait = ENET_SOCKET_WAIT_RECEIVE;
            if (enet_time_get() - began >= DRAIN_MS ||
                enet_socket_wait(host_->socket, &wait, 0) != 0 || !(wait & ENET_SOCKET_WAIT_RECEIVE))
                break;
            continue;
        }
        // Spectators are the guests' own: whatever they send or do goes to the guests' code.
        if (guests_ && hosting_ && event.peer != partner_ &&
            (guests_->has(event.peer) || (event.type == ENET_EVENT_TYPE_CONNECT && (event.data & WATCHING)))) {
            if (event.type == ENET_EVENT_TYPE_CONNECT)
                guests_->arrived(event.peer);
            else if (event.type == ENET_EVENT_TYPE_RECEIVE)
                guests_->heard(event.peer, event.packet->data, event.packet->dataLength);
            else if (event.type == ENET_EVENT_TYPE_DISCONNECT)
                guests_->left(event.peer);
            if (event.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(event.packet);
            continue;
        }
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (hosting_) {
                slot(event.peer).candidate = true; // its hello is awaited
            } else if (event.peer == partner_) {
                enet_peer_ping_interval(partner_, PING_MS);
                enet_peer_throttle_configure(partner_, 5000, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
                send(hello(), true);
            }
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (event.peer != partner_) {
                slots_[size_t(event.peer - host_->peers)] = Slot();
                break;
            }
            if (event.data == PARTING_LEFT)
                return lose("the other rider left");
            if (event.data == PARTING_DROPPED)
                return lose("the other side closed the connection");
            if (!hosting_ && !greeted_)
                return lose("no answer from " + address_ + ":" + std::to_string(port_));
            return lose("connection lost");
        case ENET_EVENT_TYPE_RECEIVE: {
            if (event.peer != partner_) {
                why_.clear();
                const bool partnered =
                    hosting_ && handleCandidate(event.peer, event.packet->data, event.packet->dataLength);
                enet_packet_destroy(event.packet);
                if (partnered)
                    return Event::Partner;
                if (!why_.empty())
                    return Event::Gone; // no partner lost: the status says whom it refused
                break;
            }
            Message m;
            const bool ok = decode(event.packet->data, event.packet->dataLength, m);
            enet_packet_destroy(event.packet);
            if (!ok) {
                enet_peer_disconnect_now(partner_, PARTING_DROPPED);
                return lose("dropped the other rider: it sent a damaged packet");
            }
            if (m.type == MessageType::Refuse) {
                if (greeted_)
                    break;
                enet_peer_disconnect_now(partner_, PARTING_DROPPED);
                if (m.reason == RefuseReason::Version)
                    return lose("refused: " + describe(self_.protocol, self_.build) + " met " +
                                describe(m.protocol, m.build));
                if (m.reason == RefuseReason::Busy)
                    return lose("refused: that game already has two riders");
                return lose("refused: the other side could not read our packets");
            }
            if (m.type == MessageType::Hello) {
                if (greeted_)
                    break; // an echo of the handshake
                if (m.protocol != self_.protocol || m.identity != identityDigest(self_.build)) {
                    const std::string why = "refused: " + describe(self_.protocol, self_.build) +
                                            " met " + describe(m.protocol, m.build);
                    refuse(partner_, RefuseReason::Version);
                    return lose(why);
                }
                greeted_ = true;
                partnerToken_ = m.token;
                partnerBuild_ = m.build;
                lastHeard_ = looked_;
                return Event::Partner;
            }
            // The other side's first packets after its hello may overtake the hello itself;
            // a message without our token is not of this connection.
            if (!greeted_ || m.token != token_)
                break;
            lastHeard_ = looked_;
            if (m.type == MessageType::Alive)
                break;
            message = std::move(m);
            return Event::Received;
        }
        default:
            break;
        }
    }
    return Event::None;
}

void Connection::send(const Message& message, bool reliable)
{
    if (!partner_)
        return;
    Message stamped = message;
    if (message.type != MessageType::Hello && message.type != MessageType::Refuse)
        stamped.token = partnerToken_;
    const std::vector<uint8_t> bytes = encode(stamped);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(),
                                            reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (enet_peer_send(partner_, reliable ? 0 : 1, packet) != 0)
        enet_packet_destroy(packet);
    enet_host_flush(host_);
    lastSent_ = enet_time_get();
}

void Connection::leave()
{
    if (partner_)
        enet_peer_disconnect_now(partner_, PARTING_LEFT);
    partner_ = nullptr;
    greeted_ = false;
}

void Connection::drop(const std::string& why)
{
    if (partner_)
        enet_peer_disconnect_now(partner_, PARTING_DROPPED);
    lose(why);
}

uint32_t Connection::silence() const
{
    if (!partner_)
        return 0;
    return looked_ - lastHeard_;
}

uint32_t Connection::roundTrip() const
{
    return partner_ ? partner_->roundTripTime : 0;
}
