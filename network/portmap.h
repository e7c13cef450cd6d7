#pragma once
// The host's port opened on the home router, so that a friend outside can join.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// Asks the router in front of this machine to forward a UDP port to it: first by UPnP IGD,
// then by NAT-PMP. All the asking happens on a thread of its own with short timeouts, so the
// menu never waits for it. The mapping is leased for `LEASE_SECONDS` and renewed while this
// object lives, and removed when it goes: a game killed outright leaves it for a few minutes
// at most.
class PortMap {
public:
    enum class State { Asking, Mapped, NoRouter };
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

private:
    void run();
    bool stopping(int seconds);

    const uint16_t port_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    State state_ = State::Asking;
    std::string address_, method_;
    std::thread thread_;
};
