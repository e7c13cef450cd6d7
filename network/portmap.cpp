#include "network/portmap.h"

#include "network/gateway.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>
// The Windows game asks by UPnP only: libnatpmp is not built for it.
#ifndef _WIN32
#define RIVERDUEL_NATPMP 1
#include <arpa/inet.h>
#include <natpmp.h>
#include <pthread.h>
#include <sys/select.h>

#include <csignal>
#endif

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// How long the router gets to answer a NAT-PMP question: a router that answers at all does
// so within a few milliseconds on a home network.
const int NATPMP_ANSWER_MS = 1500;
// How long leaving waits for the mapping to be given back before the thread is left to it.
const int GIVE_BACK_MS = 500;
const char* const DESCRIPTION = "River Duel";

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
        for (const std::string& location : searchGateways([&shared] { return shared.stopping(); })) {
            const std::string description = download(location, [&shared] { return shared.stopping(); });
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
        if (reservedAddress(outside)) {
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

#ifdef RIVERDUEL_NATPMP
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
        if (reservedAddress(outside)) {
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
#endif

} // namespace

namespace {

void ask(std::shared_ptr<PortMap::Shared> shared, uint16_t port)
{
#ifdef RIVERDUEL_NATPMP
    // SIGTERM and SIGINT are the main thread's to notice, never this one's to be cut short by.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
#endif
    std::unique_ptr<PortMap::Mapping> mapping;
    bool behind = false;
    auto upnp = std::make_unique<UpnpMapping>();
    if (upnp->open(port, PortMap::LEASE_SECONDS, *shared)) {
        mapping = std::move(upnp);
    } else if (!(behind = upnp->behind) && !shared->stopping()) {
#ifdef RIVERDUEL_NATPMP
        auto natpmp = std::make_unique<NatPmpMapping>();
        const bool mapped = natpmp->open(port, PortMap::LEASE_SECONDS, *shared);
        behind = natpmp->behind;
        if (mapped)
            mapping = std::move(natpmp);
#endif
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
