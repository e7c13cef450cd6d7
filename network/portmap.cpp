#include "network/portmap.h"

#include <arpa/inet.h>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>
#include <natpmp.h>
#include <pthread.h>
#include <sys/select.h>

#include <csignal>

#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// How long the router gets to answer each question: a router that answers at all does so
// within a few milliseconds on a home network.
const int DISCOVER_MS = 1000;
const int NATPMP_ANSWER_MS = 1500;
const char* const DESCRIPTION = "River Duel";

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
    bool open(uint16_t port, uint32_t lease)
    {
        method = "UPnP";
        port_ = port;
        lease_ = std::to_string(lease);
        int error = 0;
        // Every kind of gateway asked at once, answers awaited once.
        static const char* const kinds[] = {"urn:schemas-upnp-org:device:InternetGatewayDevice:1",
                                            "urn:schemas-upnp-org:device:InternetGatewayDevice:2",
                                            "urn:schemas-upnp-org:service:WANIPConnection:1",
                                            "urn:schemas-upnp-org:service:WANPPPConnection:1", nullptr};
        UPNPDev* devices = upnpDiscoverDevices(kinds, DISCOVER_MS, nullptr, nullptr, UPNP_LOCAL_PORT_ANY,
                                               0, 2, &error, 1);
        if (!devices)
            return false;
        const int found = UPNP_GetValidIGD(devices, &urls_, &data_, lan_, sizeof lan_);
        freeUPNPDevlist(devices);
        haveUrls_ = found != 0;
        if (found != 1)
            return false; // none, one that is not connected, or not a gateway at all
        char outsideText[40] = {};
        if (UPNP_GetExternalIPAddress(urls_.controlURL, data_.first.servicetype, outsideText) != 0 ||
            !*outsideText)
            return false;
        outside = outsideText;
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
    bool open(uint16_t port, uint32_t lease)
    {
        method = "NAT-PMP";
        port_ = port;
        lease_ = lease;
        if (initnatpmp(&nat_, 0, 0) < 0)
            return false;
        open_ = true;
        natpmpresp_t answer;
        if (sendpublicaddressrequest(&nat_) < 0 || !await(answer) ||
            answer.type != NATPMP_RESPTYPE_PUBLICADDRESS)
            return false;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &answer.pnu.publicaddress.addr, text, sizeof text);
        outside = text;
        outsidePort = port;
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
    // NATPMP_ANSWER_MS.
    bool await(natpmpresp_t& answer)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(NATPMP_ANSWER_MS);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            timeval wait{};
            getnatpmprequesttimeout(&nat_, &wait);
            const long long waitUs = wait.tv_sec * 1000000LL + wait.tv_usec;
            const long long us = waitUs > 0 && waitUs < left.count() ? waitUs : left.count();
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

PortMap::PortMap(uint16_t port) : port_(port)
{
    thread_ = std::thread(&PortMap::run, this);
}

PortMap::~PortMap()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

PortMap::State PortMap::state() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

std::string PortMap::address() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return address_;
}

std::string PortMap::method() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return method_;
}

bool PortMap::stopping(int seconds)
{
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::seconds(seconds), [this] { return stop_; });
    return stop_;
}

void PortMap::run()
{
    // SIGTERM and SIGINT are the main thread's to notice, never this one's to be cut short by.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    std::unique_ptr<Mapping> mapping;
    auto upnp = std::make_unique<UpnpMapping>();
    if (upnp->open(port_, LEASE_SECONDS)) {
        mapping = std::move(upnp);
    } else if (!stopping(0)) {
        auto natpmp = std::make_unique<NatPmpMapping>();
        if (natpmp->open(port_, LEASE_SECONDS))
            mapping = std::move(natpmp);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state_ = mapping ? State::Mapped : State::NoRouter;
        if (mapping) {
            address_ = mapping->outside + ":" + std::to_string(mapping->outsidePort);
            method_ = mapping->method;
        }
    }
    if (!mapping)
        return;
    // Renewed at half the lease, so one lost answer costs nothing.
    while (!stopping(LEASE_SECONDS / 2))
        mapping->renew();
    mapping->remove();
}
