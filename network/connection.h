#pragma once
// One link to the other machine over ENet: the handshake, sending and receiving.
#include <cstdint>
#include <string>
#include <vector>

#include "network/message.h"

struct _ENetHost;
struct _ENetPeer;

// One ENet host with at most one partner: the host side listens and keeps the first rider
// that says hello in a matching version; the joining side connects to one address. Serviced
// once per call with no wait. Other machines are refused; a partner that sends anything
// that is not a message of this game is dropped.
//
// Nobody else can end or block the game: a machine becomes the partner only once its hello
// matches, and one that has not said it within GREETING_MS (half-open ones included) loses
// its slot; every datagram carries a checksum keyed by the connection's secret ENet connect
// ID, so forged ones, an ENet disconnect among them, are thrown away; every message carries
// the receiver's random token from its hello; the socket is read empty on every call (within
// a time budget) and strangers' datagrams are dropped unread unless they are one of a few
// connection requests a second; one address holds at most UNGREETED_PER_ADDRESS slots before
// its hello, so that a flood from a few addresses never keeps a rider from elsewhere out. Whatever talks to this host
// must set the same checksum (enet_crc32) on its own ENet host.
class Connection {
public:
    struct Identity {
        uint16_t protocol;
        std::string build;
    };
    // Machines that connect to the host's port only to watch (their connect data has
    // WATCHING set): they never become the partner, and whatever they send or do is handed
    // to the guests' own code.
    class Guests {
    public:
        virtual ~Guests() = default;
        virtual void arrived(_ENetPeer* peer) = 0;
        virtual bool has(const _ENetPeer* peer) const = 0;
        virtual void heard(_ENetPeer* peer, const uint8_t* data, size_t size) = 0;
        virtual void left(_ENetPeer* peer) = 0;
        // True once the peer said hello in this game's version.
        virtual bool greeted(const _ENetPeer* peer) const = 0;
        // Called on every service of the host: drops the guests that went silent.
        virtual void tend() = 0;
    };
    static constexpr uint32_t WATCHING = 0x80000000u;
    static constexpr size_t MAX_GUESTS = 4;
    void welcome(Guests* guests) { guests_ = guests; }
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
    // Milliseconds since anything arrived from the partner, on the link's clock (below). A
    // partner that has nothing to say says it is alive four times a second, so a few seconds
    // of silence means it is gone.
    uint32_t silence() const;
    // The network library's mean round trip to the partner, milliseconds (0 without one).
    uint32_t roundTrip() const;
    // The link's clock, milliseconds (see looked_).
    uint32_t looked() const { return looked_; }
    const std::string& why() const { return why_; }
    const std::string& partnerBuild() const { return partnerBuild_; }
    uint16_t port() const { return port_; }

    // Slots of the host: the partner, spectators, and strangers waiting to be turned away.
    static constexpr size_t PEER_SLOTS = 32;
    // How long a machine that connected to the host has to say hello.
    static constexpr uint32_t GREETING_MS = 2000;
    // Each end of a link, partner or spectator, pings the other this often.
    static constexpr uint32_t PING_MS = 250;
    // How long the joiner waits for the host's hello before it says there is no answer.
    static constexpr uint32_t ANSWER_MS = 5000;
    // Slots of any kind (connecting, connected, spectating) that one address may hold before
    // its hello; a further connection request from it is dropped unread.
    static constexpr int UNGREETED_PER_ADDRESS = 2;
    // Connection requests let through a second from one address, and from all.
    static constexpr uint32_t REQUESTS_PER_ADDRESS = 4, REQUESTS_PER_SECOND = 48;

private:
    struct Slot {
        uint32_t connectID = 0;
        uint32_t since = 0;     // the link's clock, when first seen
        bool candidate = false; // connected, its hello awaited
        bool refused = false;   // being shown the door
    };
    friend int interceptDatagram(_ENetHost* host, struct _ENetEvent* event);

    Event lose(const std::string& why);
    void refuse(_ENetPeer* peer, RefuseReason reason);
    Message hello() const;
    Slot& slot(_ENetPeer* peer);
    void sweep();
    bool isConnectRequest(const uint8_t* data, size_t size) const;
    bool admitsRequest(uint32_t address);
    bool ungreeted(size_t i) const;
    bool handleCandidate(_ENetPeer* peer, const uint8_t* data, size_t size);

    bool hosting_;
    std::string address_;
    uint16_t port_;
    Identity self_;
    _ENetHost* host_ = nullptr;
    _ENetPeer* partner_ = nullptr;
    bool greeted_ = false;
    // The link's clock: milliseconds of looking at it (each call to next()), where a pause of
    // this side's own counts as a short one. Silence, the greeting and the answer are timed on
    // it, so a machine that stopped for a while does not drop whom it could not hear.
    uint32_t looked_ = 0, lastLook_ = 0; // lastLook_ on the network library's clock
    uint32_t lastHeard_ = 0, openedAt_ = 0; // the link's clock
    uint32_t lastSent_ = 0;                 // the network library's clock, milliseconds
    uint32_t token_ = 0, partnerToken_ = 0; // ours, and the one the partner's hello gave
    std::vector<Slot> slots_;
    struct Asker {
        uint32_t address, requests;
    };
    uint32_t requestSecond_ = 0, requests_ = 0; // requests let through in this second
    std::vector<Asker> askers_;                 // the same, by address
    std::string why_, partnerBuild_;
    Guests* guests_ = nullptr;
};

// What the disconnect notice carries.
enum : uint32_t { PARTING_LEFT = 1, PARTING_DROPPED = 2 };
