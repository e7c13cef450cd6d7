// The network benchmark's proxy on its own, for two copies of the game in their windows:
// the joiner talks to LISTEN_PORT, everything goes on to HOST_PORT on this machine and back,
// delayed, jittered and dropped. Stops after SECONDS (or at SIGTERM) and prints the bytes and
// datagrams it passed each way, per second.
// Usage: net_proxy LISTEN_PORT HOST_PORT DELAY_MS JITTER_MS LOSS SECONDS
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../net_duel/proxy.h"

namespace {
volatile std::sig_atomic_t stopped = 0;
std::chrono::steady_clock::time_point until;
bool stop()
{
    return stopped || std::chrono::steady_clock::now() >= until;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: net_proxy LISTEN_PORT HOST_PORT DELAY_MS JITTER_MS LOSS SECONDS\n");
        return 2;
    }
    ProxyFaults faults;
    faults.delayMs = std::atoi(argv[3]);
    faults.jitterMs = std::atoi(argv[4]);
    faults.loss = std::atof(argv[5]);
    const double seconds = std::atof(argv[6]);
    std::signal(SIGTERM, [](int) { stopped = 1; });
    const auto started = std::chrono::steady_clock::now();
    until = started + std::chrono::milliseconds(int64_t(seconds * 1000));
    const ProxyCount count = runProxy(uint16_t(std::atoi(argv[1])), uint16_t(std::atoi(argv[2])), faults, stop);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    for (int way = 0; way < 2; ++way)
        std::printf("%s: %.0f bytes/s with IP and UDP headers, %.1f datagrams/s, %llu dropped\n",
                    way == 0 ? "joiner to host" : "host to joiner",
                    (count.bytes[way] + 28.0 * count.datagrams[way]) / wall, count.datagrams[way] / wall,
                    (unsigned long long)count.dropped[way]);
    return 0;
}
