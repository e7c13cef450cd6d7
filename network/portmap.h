#pragma once
// The host's port opened on the home router, so that a friend outside can join.
#include <cstdint>
#include <memory>
#include <string>

// Asks the router in front of this machine to forward a UDP port to it: first by UPnP IGD,
// then by NAT-PMP. All the asking happens on a thread of its own, every search and download
// within a deadline and a byte cap, so the menu never waits for it and no device on the LAN
// can make it wait long or grow. The mapping is leased for `LEASE_SECONDS` and renewed while
// this object lives, and given back when it goes; going never waits more than a moment for
// the thread (it finishes alone). A game killed outright leaves it for a few minutes at most.
// A router whose outside address is private or reserved (it is itself behind another router)
// is no way in for a friend: BehindRouter, and its mapping is given back.
class PortMap {
public:
    enum class State { Asking, Mapped, NoRouter, BehindRouter };
    static constexpr uint32_t LEASE_SECONDS = 120;

    explicit PortMap(uint16_t port);
    ~PortMap();
    PortMap(const PortMap&) = delete;
    PortMap& operator=(const PortMap&) = delete;

    State state() const;
    // "198.51.100.7:24642": the router's outside address and the port it forwards, once mapped.
    std::string address() const;
    // Which way the router was asked ("UPnP", "NAT-PMP"), once mapped.
    std::string method() const;

    struct Mapping; // one router's answer, asked again for each lease

    struct Shared; // what the asking thread and this object both hold

private:
    std::shared_ptr<Shared> shared_;
};
