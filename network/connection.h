#pragma once
// One link to the other machine over ENet: the handshake, sending and receiving.
#include <cstdint>
#include <string>

#include "network/message.h"

struct _ENetHost;
struct _ENetPeer;

// One ENet host with at most one partner: the host side listens and keeps the first rider
// that says hello in a matching version; the joining side connects to one address. Serviced
// once per call with no wait. Other machines are refused; a partner that sends anything
// that is not a message of this game is dropped.
class Connection {
public:
    struct Identity {
        uint16_t protocol;
        std::string build;
    };
    static Identity ours();

    enum class Event { None, Partner, Received, Gone };

    Connection(bool hosting, std::string address, uint16_t port, Identity self = ours());
    ~Connection();
    // Opens the port or starts connecting. False with `why()` set on failure.
    bool open();
    // At most one event: a partner who said hello, a message from it, or its loss (why()).
    Event next(Message& message);
    bool connected() const { return partner_ != nullptr && greeted_; }
    void send(const Message& message, bool reliable);
    // Tells the partner that this side is leaving, and closes.
    void leave();
    // Drops the partner now, e.g. when it went silent.
    void drop(const std::string& why);
    // Milliseconds since anything arrived from the partner. A partner that has nothing to say
    // says it is alive four times a second, so a few seconds of silence means it is gone.
    uint32_t silence() const;
    // The network library's mean round trip to the partner, milliseconds (0 without one).
    uint32_t roundTrip() const;
    const std::string& why() const { return why_; }
    const std::string& partnerBuild() const { return partnerBuild_; }
    uint16_t port() const { return port_; }

private:
    Event lose(const std::string& why);
    void refuse(_ENetPeer* peer, RefuseReason reason);

    bool hosting_;
    std::string address_;
    uint16_t port_;
    Identity self_;
    _ENetHost* host_ = nullptr;
    _ENetPeer* partner_ = nullptr;
    bool greeted_ = false;
    uint32_t lastHeard_ = 0, lastSent_ = 0; // the network library's clock, milliseconds
    std::string why_, partnerBuild_;
};

// What the disconnect notice carries.
enum : uint32_t { PARTING_LEFT = 1, PARTING_DROPPED = 2 };
