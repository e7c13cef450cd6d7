#include "proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <queue>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Datagram {
    Clock::time_point due;
    int way;
    std::vector<uint8_t> bytes;
    bool operator<(const Datagram& other) const { return due > other.due; }
};

int boundSocket(uint16_t port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
    return fd;
}

} // namespace

ProxyCount runProxy(uint16_t listenPort, uint16_t hostPort, const ProxyFaults& faults, bool (*stop)())
{
    ProxyCount count;
    const int front = boundSocket(listenPort); // the joiner's side
    const int back = boundSocket(0);           // towards the host
    sockaddr_in host{}, joiner{};
    host.sin_family = AF_INET;
    host.sin_port = htons(hostPort);
    host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool joinerKnown = false;
    std::mt19937 rng(faults.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::priority_queue<Datagram> queue;
    std::vector<uint8_t> buffer(65536);

    while (!stop()) {
        pollfd fds[2] = {{front, POLLIN, 0}, {back, POLLIN, 0}};
        poll(fds, 2, 1);
        for (int way = 0; way < 2; ++way) {
            const int fd = way == 0 ? front : back;
            for (;;) {
                sockaddr_in from{};
                socklen_t fromSize = sizeof from;
                const ssize_t n = recvfrom(fd, buffer.data(), buffer.size(), 0,
                                           reinterpret_cast<sockaddr*>(&from), &fromSize);
                if (n < 0)
                    break;
                if (way == 0) {
                    joiner = from;
                    joinerKnown = true;
                }
                if (unit(rng) < faults.loss) {
                    ++count.dropped[way];
                    continue;
                }
                const double ms = faults.delayMs + faults.jitterMs * (2.0 * unit(rng) - 1.0);
                queue.push({Clock::now() + std::chrono::microseconds(int64_t(ms * 1000)), way,
                            std::vector<uint8_t>(buffer.begin(), buffer.begin() + n)});
            }
        }
        while (!queue.empty() && queue.top().due <= Clock::now()) {
            const Datagram& d = queue.top();
            if (d.way == 0)
                sendto(back, d.bytes.data(), d.bytes.size(), 0, reinterpret_cast<sockaddr*>(&host), sizeof host);
            else if (joinerKnown)
                sendto(front, d.bytes.data(), d.bytes.size(), 0, reinterpret_cast<sockaddr*>(&joiner), sizeof joiner);
            ++count.datagrams[d.way];
            count.bytes[d.way] += d.bytes.size();
            queue.pop();
        }
    }
    close(front);
    close(back);
    return count;
}
