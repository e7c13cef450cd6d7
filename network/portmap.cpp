#include "network/portmap.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>
#include <natpmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// How long the router gets to answer each question: a router that answers at all does so
// within a few milliseconds on a home network. Each is a deadline for the whole question,
// however the devices on the LAN answer.
const int DISCOVER_MS = 1000;
const int DOWNLOAD_MS = 2000;
const int NATPMP_ANSWER_MS = 1500;
// A device's description is a few kilobytes; the devices after the first few are not asked.
const size_t DESCRIPTION_BYTES = 64 * 1024;
const size_t DEVICES = 4;
// How long leaving waits for the mapping to be given back before the thread is left to it.
const int GIVE_BACK_MS = 500;
const char* const DESCRIPTION = "River Duel";

using Deadline = Clock::time_point;

int msLeft(Deadline deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : left > 100 ? 100 : int(left); // in slices, to notice leaving
}

// Addresses no friend can reach: private, shared (CGNAT), loopback, link-local, reserved for
// documentation or benchmarks, multicast and above, "this network".
bool reserved(const std::string& text)
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

} // namespace

struct PortMap::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false, done = false;
    State state = State::Asking;
    std::string address, method;

    bool stopping()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return stop;
    }
    bool stopping(int seconds)
    {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait_for(lock, std::chrono::seconds(seconds), [this] { return stop; });
        return stop;
    }
};

namespace {

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

// The gateways on the LAN by SSDP: the description addresses of the first DEVICES machines
// that answer, within DISCOVER_MS however many answer.
std::vector<std::string> searchGateways(PortMap::Shared& shared)
{
    std::vector<std::string> found;
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return found;
    const unsigned char ttl = 2;
    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
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
    while (Clock::now() < deadline && devices.size() < DEVICES && !shared.stopping()) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, msLeft(deadline)) <= 0)
            continue;
        char buffer[1500];
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const ssize_t n = recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
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
    close(fd);
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
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in self{};
    socklen_t length = sizeof self;
    const bool ok = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
                    getsockname(fd, reinterpret_cast<sockaddr*>(&self), &length) == 0 &&
                    inet_ntop(AF_INET, &self.sin_addr, text, socklen_t(size)) != nullptr;
    if (fd >= 0)
        close(fd);
    return ok;
}

// The body of an HTTP GET of `url` (http://a.b.c.d[:port]/path), "" when it is not there
// within DOWNLOAD_MS or is longer than DESCRIPTION_BYTES.
std::string download(const std::string& url, PortMap::Shared& shared)
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
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return "";
    const Deadline deadline = Clock::now() + std::chrono::milliseconds(DOWNLOAD_MS);
    std::string answer;
    bool whole = false;
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 || errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        while (Clock::now() < deadline && !shared.stopping() && poll(&p, 1, msLeft(deadline)) == 0) {
        }
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
        const std::string get = "GET " + path + " HTTP/1.1\r\nHost: " + where + "\r\nConnection: close\r\n\r\n";
        if ((p.revents & POLLOUT) && error == 0 && send(fd, get.data(), get.size(), MSG_NOSIGNAL) == ssize_t(get.size())) {
            p.events = POLLIN;
            while (Clock::now() < deadline && !shared.stopping() && answer.size() <= DESCRIPTION_BYTES + 4096) {
                if (poll(&p, 1, msLeft(deadline)) <= 0)
                    continue;
                char buffer[4096];
                const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
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
    close(fd);
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

} // namespace

// One port the router forwards to us, as it was asked for.
struct PortMap::Mapping {
    virtual ~Mapping() = default;
    // Asks again for the same port, for another lease.
    virtual bool renew() = 0;
    virtual void remove() = 0;
    std::string outside; // the router's outside address
    uint16_t outsidePort = 0;
    const char* method = "";
    bool behind = false; // the outside address is private or reserved: nothing was mapped
};

namespace {

class UpnpMapping : public PortMap::Mapping {
public:
    ~UpnpMapping() override
    {
        if (haveUrls_)
            FreeUPNPUrls(&urls_);
    }

    // Finds the router by SSDP and asks it for `port` (or, when that is taken by another
    // machine, one of the next few), for `lease` seconds.
    bool open(uint16_t port, uint32_t lease, PortMap::Shared& shared)
    {
        method = "UPnP";
        port_ = port;
        lease_ = std::to_string(lease);
        for (const std::string& location : searchGateways(shared)) {
            const std::string description = download(location, shared);
            if (description.empty() || shared.stopping())
                continue;
            data_ = IGDdatas{};
            parserootdesc(description.data(), int(description.size()), &data_);
            if (!data_.first.servicetype[0])
                continue; // not a gateway
            if (haveUrls_)
                FreeUPNPUrls(&urls_);
            urls_ = UPNPUrls{};
            GetUPNPUrls(&urls_, &data_, location.c_str(), 0);
            haveUrls_ = true;
            if (urls_.controlURL && UPNPIGD_IsConnected(&urls_, &data_))
                break;
            FreeUPNPUrls(&urls_);
            haveUrls_ = false;
        }
        if (!haveUrls_ || shared.stopping())
            return false; // none, one that is not connected, or not a gateway at all
        if (!localAddressTowards(urls_.controlURL, lan_, sizeof lan_))
            return false;
        char outsideText[40] = {};
        if (UPNP_GetExternalIPAddress(urls_.controlURL, data_.first.servicetype, outsideText) != 0 ||
            !*outsideText)
            return false;
        outside = outsideText;
        if (reserved(outside)) {
            behind = true;
            return false;
        }
        for (uint16_t tried = 0; tried < 8; ++tried) {
            outsidePort = uint16_t(port + tried);
            const int result = add();
            if (result == 0)
                return true;
            if (result != 718) // ConflictInMappingEntry: another machine has that port
                return false;
        }
        return false;
    }

    bool renew() override { return add() == 0; }

    void remove() override
    {
        UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype,
                               std::to_string(outsidePort).c_str(), "UDP", nullptr);
    }

private:
    int add()
    {
        const std::string outsideText = std::to_string(outsidePort), inside = std::to_string(port_);
        int result = UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype, outsideText.c_str(),
                                         inside.c_str(), lan_, DESCRIPTION, "UDP", nullptr, lease_.c_str());
        if (result == 725) { // OnlyPermanentLeasesSupported: still removed when the run ends
            lease_ = "0";
            result = UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype, outsideText.c_str(),
                                         inside.c_str(), lan_, DESCRIPTION, "UDP", nullptr, "0");
        }
        return result;
    }

    UPNPUrls urls_{};
    IGDdatas data_{};
    bool haveUrls_ = false;
    char lan_[64] = {};
    uint16_t port_ = 0;
    std::string lease_;
};

class NatPmpMapping : public PortMap::Mapping {
public:
    ~NatPmpMapping() override
    {
        if (open_)
            closenatpmp(&nat_);
    }

    // Asks the default gateway for its outside address, then for `port`.
    bool open(uint16_t port, uint32_t lease, PortMap::Shared& shared)
    {
        method = "NAT-PMP";
        port_ = port;
        lease_ = lease;
        if (initnatpmp(&nat_, 0, 0) < 0)
            return false;
        open_ = true;
        natpmpresp_t answer;
        if (sendpublicaddressrequest(&nat_) < 0 || !await(answer, &shared) ||
            answer.type != NATPMP_RESPTYPE_PUBLICADDRESS)
            return false;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &answer.pnu.publicaddress.addr, text, sizeof text);
        outside = text;
        outsidePort = port;
        if (reserved(outside)) {
            behind = true;
            return false;
        }
        return renew();
    }

    bool renew() override
    {
        natpmpresp_t answer;
        if (sendnewportmappingrequest(&nat_, NATPMP_PROTOCOL_UDP, port_, outsidePort, lease_) < 0 ||
            !await(answer) || answer.type != NATPMP_RESPTYPE_UDPPORTMAPPING)
            return false;
        outsidePort = answer.pnu.newportmapping.mappedpublicport;
        return true;
    }

    void remove() override
    {
        natpmpresp_t answer;
        if (sendnewportmappingrequest(&nat_, NATPMP_PROTOCOL_UDP, port_, 0, 0) >= 0)
            await(answer);
    }

private:
    // The answer to the request just sent, the library repeating it meanwhile, for at most
    // NATPMP_ANSWER_MS, or until the game leaves while asking.
    bool await(natpmpresp_t& answer, PortMap::Shared* shared = nullptr)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(NATPMP_ANSWER_MS);
        for (;;) {
            if (shared && shared->stopping())
                return false;
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            timeval wait{};
            getnatpmprequesttimeout(&nat_, &wait);
            const long long waitUs = wait.tv_sec * 1000000LL + wait.tv_usec;
            long long us = waitUs > 0 && waitUs < left.count() ? waitUs : left.count();
            us = us < 100000 ? us : 100000;
            wait.tv_sec = us / 1000000;
            wait.tv_usec = us % 1000000;
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(nat_.s, &readable);
            select(nat_.s + 1, &readable, nullptr, nullptr, &wait);
            const int result = readnatpmpresponseorretry(&nat_, &answer);
            if (result >= 0)
                return true;
            if (result != NATPMP_TRYAGAIN)
                return false;
        }
    }

    natpmp_t nat_{};
    bool open_ = false;
    uint16_t port_ = 0;
    uint32_t lease_ = 0;
};

} // namespace

namespace {

void ask(std::shared_ptr<PortMap::Shared> shared, uint16_t port)
{
    // SIGTERM and SIGINT are the main thread's to notice, never this one's to be cut short by.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    std::unique_ptr<PortMap::Mapping> mapping;
    bool behind = false;
    auto upnp = std::make_unique<UpnpMapping>();
    if (upnp->open(port, PortMap::LEASE_SECONDS, *shared)) {
        mapping = std::move(upnp);
    } else if (!(behind = upnp->behind) && !shared->stopping()) {
        auto natpmp = std::make_unique<NatPmpMapping>();
        const bool mapped = natpmp->open(port, PortMap::LEASE_SECONDS, *shared);
        behind = natpmp->behind;
        if (mapped)
            mapping = std::move(natpmp);
    }
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->state = mapping ? PortMap::State::Mapped
                                : behind ? PortMap::State::BehindRouter : PortMap::State::NoRouter;
        if (mapping) {
            shared->address = mapping->outside + ":" + std::to_string(mapping->outsidePort);
            shared->method = mapping->method;
        }
    }
    if (mapping) {
        // Renewed at half the lease, so one lost answer costs nothing.
        while (!shared->stopping(PortMap::LEASE_SECONDS / 2))
            mapping->renew();
        mapping->remove();
    }
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->done = true;
    shared->wake.notify_all();
}

} // namespace

PortMap::PortMap(uint16_t port) : shared_(std::make_shared<Shared>())
{
    // The thread holds what it shares with this object, so it may finish after it is gone.
    std::thread(ask, shared_, port).detach();
}

PortMap::~PortMap()
{
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->stop = true;
    shared_->wake.notify_all();
    shared_->wake.wait_for(lock, std::chrono::milliseconds(GIVE_BACK_MS), [this] { return shared_->done; });
}

PortMap::State PortMap::state() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->state;
}

std::string PortMap::address() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->address;
}

std::string PortMap::method() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->method;
}
