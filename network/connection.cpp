#include "network/connection.h"

#include <enet/enet.h>

#include <cstdlib>

#include "simulation/identity.h"

namespace {

const uint16_t PROTOCOL = 1;
const uint32_t PING_MS = 250;
const uint32_t ALIVE_MS = 250;

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

} // namespace

Connection::Identity Connection::ours()
{
    return {PROTOCOL, buildIdentity()};
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
        // Room for the partner and for others to be told that the game is taken.
        host_ = enet_host_create(&address, 4, 2, 0, 0);
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
        partner_ = enet_host_connect(host_, &address, 2, self_.protocol);
        if (!partner_) {
            why_ = "cannot connect to " + address_;
            return false;
        }
    }
    // Far above any message of ours: anything between is read and found damaged, and ENet
    // itself throws away anything bigger.
    host_->maximumPacketSize = 4096;
    host_->maximumWaitingData = 64 * 1024;
    return true;
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
}

Connection::Event Connection::lose(const std::string& why)
{
    why_ = why;
    partner_ = nullptr;
    greeted_ = false;
    partnerBuild_.clear();
    return Event::Gone;
}

Connection::Event Connection::next(Message& message)
{
    if (!host_)
        return Event::None;
    if (connected() && enet_time_get() - lastSent_ >= ALIVE_MS) {
        Message alive;
        alive.type = MessageType::Alive;
        send(alive, false);
    }
    ENetEvent event;
    // A datagram ENet cannot read counts as nothing; silence is caught by the caller's clock.
    while (enet_host_service(host_, &event, 0) > 0) {
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (hosting_ && partner_ && partner_ != event.peer) {
                refuse(event.peer, RefuseReason::Busy);
                break;
            }
            if (hosting_) {
                partner_ = event.peer;
                greeted_ = false;
            }
            enet_peer_ping_interval(partner_, PING_MS);
            // ENet would otherwise throw away unreliable packets when the round trip wavers:
            // every input packet counts, and they are small.
            enet_peer_throttle_configure(partner_, 5000, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
            if (!hosting_) {
                Message hello;
                hello.type = MessageType::Hello;
                hello.protocol = self_.protocol;
                hello.build = self_.build;
                send(hello, true);
            }
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (event.peer != partner_)
                break;
            if (event.data == PARTING_LEFT)
                return lose("the other rider left");
            if (event.data == PARTING_DROPPED)
                return lose("the other side closed the connection");
            if (!hosting_ && !greeted_)
                return lose("no answer from " + address_ + ":" + std::to_string(port_));
            return lose("connection lost");
        case ENET_EVENT_TYPE_RECEIVE: {
            Message m;
            const bool fromPartner = event.peer == partner_;
            if (fromPartner)
                lastHeard_ = enet_time_get();
            const bool ok = decode(event.packet->data, event.packet->dataLength, m);
            enet_packet_destroy(event.packet);
            if (!fromPartner)
                break; // a refused machine: it is already being shown the door
            if (!ok) {
                if (!greeted_ && hosting_) {
                    // Not one of ours at all: turn it away and keep waiting.
                    refuse(partner_, RefuseReason::Damaged);
                    return lose("refused a machine that does not speak this game's protocol");
                }
                enet_peer_disconnect_now(partner_, PARTING_DROPPED);
                return lose("dropped the other rider: it sent a damaged packet");
            }
            // The other side's first packets after its hello may overtake the hello itself.
            if (!greeted_ && m.type != MessageType::Hello && m.type != MessageType::Refuse)
                break;
            if (m.type == MessageType::Refuse) {
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
                if (m.protocol != self_.protocol || m.build != self_.build) {
                    const std::string why = "refused: " + describe(self_.protocol, self_.build) +
                                            " met " + describe(m.protocol, m.build);
                    refuse(partner_, RefuseReason::Version);
                    return lose(why);
                }
                if (hosting_) {
                    Message hello;
                    hello.type = MessageType::Hello;
                    hello.protocol = self_.protocol;
                    hello.build = self_.build;
                    send(hello, true);
                }
                greeted_ = true;
                partnerBuild_ = m.build;
                lastHeard_ = enet_time_get();
                return Event::Partner;
            }
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
    const std::vector<uint8_t> bytes = encode(message);
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
    return enet_time_get() - lastHeard_;
}

uint32_t Connection::roundTrip() const
{
    return partner_ ? partner_->roundTripTime : 0;
}
