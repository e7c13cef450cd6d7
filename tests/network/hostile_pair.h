#pragma once
// An honest pair of the online duel as the game drives it, and a flood of junk datagrams,
// for the hostile-machine tests and the flood benchmark.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "network/duel.h"
#include "pump.h"

namespace hostile {

using Clock = std::chrono::steady_clock;
const auto TICK = std::chrono::milliseconds(50);

inline double since(Clock::time_point t)
{
    return std::chrono::duration<double>(Clock::now() - t).count();
}

using pump::pumpUntil;

inline RiderInput noKeys() { return {}; }

// Makes one datagram in `out` (256 bytes of room), returns its size.
using Datagram = std::function<size_t(uint8_t* out, std::mt19937& rng)>;
inline size_t junk(uint8_t* out, std::mt19937& rng)
{
    const size_t size = 8 + rng() % 248;
    for (size_t i = 0; i < size; i += 4) {
        const uint32_t r = rng();
        std::memcpy(out + i, &r, 4);
    }
    return size;
}

// Junk datagrams (or what `make` makes) at `rate` a second, `count` in all, in a thread, from
// a socket of their own, or one on each of `addresses` loopback addresses 127.0.3.x in turn.
struct Flood {
    std::atomic<bool> stop{false}, finished{false};
    std::atomic<uint64_t> sent{0};
    Clock::time_point began = Clock::now(), ended;
    std::thread thread;
    Flood(uint16_t port, double rate, uint64_t count, int addresses = 0, Datagram make = junk)
    {
        thread = std::thread([this, port, rate, count, addresses, make] {
            std::vector<int> socks;
            for (int i = 0; i < std::max(addresses, 1); ++i) {
                socks.push_back(socket(AF_INET, SOCK_DGRAM, 0));
                sockaddr_in at{};
                at.sin_family = AF_INET;
                at.sin_addr.s_addr = htonl(0x7F000301 + uint32_t(i)); // 127.0.3.1 on
                if (addresses)
                    bind(socks.back(), reinterpret_cast<sockaddr*>(&at), sizeof at);
            }
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(port);
            to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            std::mt19937 rng(9);
            uint8_t datagram[256];
            uint64_t n = 0;
            while (n < count && !stop) {
                // Paced by the clock a millisecond at a time: behind, it sends what is due.
                const uint64_t due = std::min<uint64_t>(count, uint64_t(since(began) * rate) + 1);
                for (; n < due; ++n) {
                    const size_t size = make(datagram, rng);
                    sendto(socks[n % socks.size()], datagram, size, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
                }
                sent = n;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            ended = Clock::now();
            for (int sock : socks)
                close(sock);
            finished = true;
        });
    }
    double achieved() const { return sent.load() / std::chrono::duration<double>(ended - began).count(); }
    ~Flood()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
};

// An honest pair as the game drives it: each side services its link once a tick (its pass,
// or its menu), and while a pass waits for the other side's inputs, every 2 ms.
struct Pair {
    Duel host{true, "", 0, noKeys};
    std::unique_ptr<Duel> join;
    uint32_t passes[2] = {0, 0};
    uint32_t known[2] = {0, 0}; // passes whose inputs both sides know for good
    uint32_t waited[2] = {0, 0}; // passes that had to wait for the other side
    Clock::time_point due[2];
    bool waiting[2] = {false, false};

    Pair()
    {
        host.open();
        join = std::make_unique<Duel>(false, "127.0.0.1", host.port(), noKeys);
        join->open();
    }
    Duel& side(int s) { return s ? *join : host; }
    bool meet()
    {
        return pumpUntil([&] { host.poll(), join->poll(); },
                         [&] { return host.connected() && join->connected(); });
    }
    // The joiner's click starts the game on both.
    bool start()
    {
        join->clicked();
        if (!pumpUntil([&] { host.poll(), join->poll(); }, [&] { return host.startsGame(); }))
            return false;
        GameStart chosen{1, 2, 0}, given;
        host.begin(chosen);
        if (!pumpUntil([&] { join->poll(); }, [&] { return join->startsGame(); }))
            return false;
        join->begin(given);
        // Two machines' ticks fall at unrelated times: the joiner's half a tick after the host's.
        due[0] = Clock::now();
        due[1] = due[0] + TICK / 2;
        return true;
    }
    // Both menus at the game's pace until `until` holds, the joiner's half a tick later.
    void menus(const std::function<bool()>& until, double seconds)
    {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (!until() && Clock::now() < end) {
            host.poll();
            std::this_thread::sleep_for(TICK / 2);
            join->poll();
            std::this_thread::sleep_for(TICK / 2);
        }
    }
    // Both games at the game's pace until `until` holds, or either breaks.
    void play(const std::function<bool()>& until, double seconds)
    {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (!until() && Clock::now() < end && !host.broken() && !join->broken()) {
            for (int s = 0; s < 2; ++s) {
                if (Clock::now() < due[s])
                    continue;
                PassInput input;
                if (!side(s).gather(passes[s], false, input)) {
                    due[s] = Clock::now() + std::chrono::milliseconds(2);
                    waiting[s] = true;
                    continue;
                }
                waited[s] += waiting[s];
                waiting[s] = false;
                ++passes[s];
                // The passes known for good on both sides are played and their hashes compared.
                for (PassInput sure; known[s] < side(s).confirmedPasses() && known[s] < passes[s] &&
                                     side(s).regather(known[s], sure);
                     ++known[s])
                    side(s).confirmedWith(known[s], sure, StateHash{known[s], 1, 2, 3});
                due[s] = std::max(due[s] + TICK, Clock::now());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

} // namespace hostile
