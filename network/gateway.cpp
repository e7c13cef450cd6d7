// Finding the home router on the LAN by the game's own means, so that every question has a
// deadline and a byte cap whatever the devices on the LAN answer.
#include "network/gateway.h"

#include <strings.h>

#include "network/sockets.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

// The search asks devices to answer within a second (MX: 1), each at a moment of its choosing
// in that second; one more second covers a busy router.
const int DISCOVER_MS = 2000;
const int DOWNLOAD_MS = 2000;
// A device's description is a few kilobytes; the devices after the first few are not asked.
const size_t DESCRIPTION_BYTES = 64 * 1024;
const size_t DEVICES = 4;

int msLeft(Deadline deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : left > 100 ? 100 : int(left); // in slices, to notice leaving
}

bool startsWith(const std::string& text, size_t at, const char* word)
{
    const size_t n = std::strlen(word);
    return text.size() >= at + n && strncasecmp(text.c_str() + at, word, n) == 0;
}

// A header's value from an HTTP-like answer, "" without it.
std::string header(const std::string& answer, const char* name)
{
    for (size_t at = 0; at < answer.size();) {
        const size_t end = answer.find("\r\n", at);
        const size_t stop = end == std::string::npos ? answer.size() : end;
        if (startsWith(answer, at, name) && answer.size() > at + std::strlen(name) &&
            answer[at + std::strlen(name)] == ':') {
            size_t v = at + std::strlen(name) + 1;
            while (v < stop && answer[v] == ' ')
                ++v;
            return answer.substr(v, stop - v);
        }
        at = stop + 2;
    }
    return "";
}

} // namespace

// The gateways on the LAN by SSDP: the description addresses of the first DEVICES machines
// that answer, within DISCOVER_MS however many answer.
std::vector<std::string> searchGateways(const Leaving& leaving)
{
    std::vector<std::string> found;
    const Socket fd = openSocket(SOCK_DGRAM, false);
    if (badSocket(fd))
        return found;
    const unsigned char ttl = 2;
    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&ttl), sizeof ttl);
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_port = htons(1900);
    inet_pton(AF_INET, "239.255.255.250", &group.sin_addr);
    for (const char* kind : {"urn:schemas-upnp-org:device:InternetGatewayDevice:1",
                             "urn:schemas-upnp-org:device:InternetGatewayDevice:2",
                             "urn:schemas-upnp-org:service:WANIPConnection:1",
                             "urn:schemas-upnp-org:service:WANPPPConnection:1"}) {
        const std::string search = std::string("M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nST: ") + kind +
                                   "\r\nMAN: \"ssdp:discover\"\r\nMX: 1\r\n\r\n";
        sendto(fd, search.data(), search.size(), 0, reinterpret_cast<sockaddr*>(&group), sizeof group);
    }
    std::vector<uint32_t> devices;
    const Deadline deadline = Clock::now() + std::chrono::milliseconds(DISCOVER_MS);
    while (Clock::now() < deadline && devices.size() < DEVICES && !leaving()) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, msLeft(deadline)) <= 0)
            continue;
        char buffer[1500];
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const auto n = recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (n <= 0)
            continue;
        bool known = false;
        for (uint32_t d : devices)
            known = known || d == from.sin_addr.s_addr;
        if (known)
            continue;
        devices.push_back(from.sin_addr.s_addr);
        const std::string location = header(std::string(buffer, size_t(n)), "LOCATION");
        if (!location.empty())
            found.push_back(location);
    }
    closeSocket(fd);
    return found;
}

// This machine's address on the way to the gateway at `url`: the one it forwards to.
bool localAddressTowards(const std::string& url, char* text, size_t size)
{
    const size_t end = url.find_first_of(":/", 7);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(1900);
    if (url.compare(0, 7, "http://") != 0 || inet_pton(AF_INET, url.substr(7, end - 7).c_str(), &to.sin_addr) != 1)
        return false;
    const Socket fd = openSocket(SOCK_DGRAM, false);
    sockaddr_in self{};
    socklen_t length = sizeof self;
    const bool ok = !badSocket(fd) && connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
                    getsockname(fd, reinterpret_cast<sockaddr*>(&self), &length) == 0 &&
                    inet_ntop(AF_INET, &self.sin_addr, text, socklen_t(size)) != nullptr;
    if (!badSocket(fd))
        closeSocket(fd);
    return ok;
}

// The body of an HTTP GET of `url` (http://a.b.c.d[:port]/path), "" when it is not there
// within DOWNLOAD_MS or is longer than DESCRIPTION_BYTES.
std::string download(const std::string& url, const Leaving& leaving)
{
    if (url.compare(0, 7, "http://") != 0)
        return "";
    const size_t slash = url.find('/', 7);
    const std::string where = url.substr(7, slash == std::string::npos ? std::string::npos : slash - 7);
    const std::string path = slash == std::string::npos ? "/" : url.substr(slash);
    const size_t colon = where.find(':');
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(colon == std::string::npos ? 80 : uint16_t(std::atoi(where.c_str() + colon + 1)));
    if (inet_pton(AF_INET, where.substr(0, colon).c_str(), &to.sin_addr) != 1)
        return ""; // a gateway names itself by its address
    const Socket fd = openSocket(SOCK_STREAM, true);
    if (badSocket(fd))
        return "";
    const Deadline deadline = Clock::now() + std::chrono::milliseconds(DOWNLOAD_MS);
    std::string answer;
    bool whole = false;
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 || connecting()) {
        pollfd p{fd, POLLOUT, 0};
        while (Clock::now() < deadline && !leaving() && poll(&p, 1, msLeft(deadline)) == 0) {
        }
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(fd, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
        const std::string get = "GET " + path + " HTTP/1.1\r\nHost: " + where + "\r\nConnection: close\r\n\r\n";
        if ((p.revents & POLLOUT) && error == 0 && send(fd, get.data(), int(get.size()), MSG_NOSIGNAL) == int(get.size())) {
            p.events = POLLIN;
            while (Clock::now() < deadline && !leaving() && answer.size() <= DESCRIPTION_BYTES + 4096) {
                if (poll(&p, 1, msLeft(deadline)) <= 0)
                    continue;
                char buffer[4096];
                const auto n = recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    whole = n == 0;
                    break;
                }
                answer.append(buffer, size_t(n));
                const size_t body = answer.find("\r\n\r\n");
                const std::string length = body == std::string::npos ? "" : header(answer.substr(0, body), "Content-Length");
                if (!length.empty() && answer.size() >= body + 4 + std::strtoul(length.c_str(), nullptr, 10)) {
                    whole = true;
                    break;
                }
            }
        }
    }
    closeSocket(fd);
    const size_t body = answer.find("\r\n\r\n");
    if (!whole || body == std::string::npos || answer.compare(0, 5, "HTTP/") != 0 ||
        answer.compare(9, 3, "200") != 0)
        return "";
    const std::string head = answer.substr(0, body);
    std::string text = answer.substr(body + 4);
    const std::string length = header(head, "Content-Length");
    if (!length.empty())
        text.resize(std::min<size_t>(text.size(), std::strtoul(length.c_str(), nullptr, 10)));
    if (strcasecmp(header(head, "Transfer-Encoding").c_str(), "chunked") == 0) {
        std::string joined;
        for (size_t at = 0; at < text.size();) {
            const size_t n = std::strtoul(text.c_str() + at, nullptr, 16);
            const size_t start = text.find("\r\n", at);
            if (n == 0 || start == std::string::npos || start + 2 + n > text.size())
                break;
            joined.append(text, start + 2, n);
            at = start + 2 + n + 2;
        }
        text = joined;
    }
    return text.size() <= DESCRIPTION_BYTES ? text : "";
}

// Addresses no friend can reach: private, shared (CGNAT), loopback, link-local, reserved for
// documentation or benchmarks, multicast and above, "this network".
bool reservedAddress(const std::string& text)
{
    in_addr a{};
    if (inet_pton(AF_INET, text.c_str(), &a) != 1)
        return true;
    const uint32_t ip = ntohl(a.s_addr);
    static const struct {
        uint32_t net;
        int bits;
    } ranges[] = {{0x00000000, 8},  {0x0A000000, 8},  {0x64400000, 10}, {0x7F000000, 8},
                  {0xA9FE0000, 16}, {0xAC100000, 12}, {0xC0000000, 24}, {0xC0000200, 24},
                  {0xC0A80000, 16}, {0xC6120000, 15}, {0xC6336400, 24}, {0xCB007100, 24},
                  {0xE0000000, 3}};
    for (const auto& r : ranges)
        if ((ip >> (32 - r.bits)) == (r.net >> (32 - r.bits)))
            return true;
    return false;
}
