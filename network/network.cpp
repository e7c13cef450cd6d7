#include "network/network.h"

#include "network/duel.h"
#include "network/portmap.h"
#include "network/watch.h"

namespace {

// The host's duel with what it offers beyond the one rider: the router's port mapping and
// the spectators. Both go before the duel's connection does: the mapping is removed and the
// spectators are told the host is leaving.
class HostedDuel : public Duel {
public:
    HostedDuel(uint16_t port, RiderInput (*local)(), bool askRouter, int inputDelay)
        : Duel(true, "", port, local, inputDelay), askRouter_(askRouter)
    {
    }

    bool open()
    {
        if (!Duel::open())
            return false;
        welcome(&spectators_);
        watchedBy(&spectators_);
        if (askRouter_) {
            map_ = std::make_unique<PortMap>(port());
            mappedBy(map_.get());
        }
        return true;
    }

private:
    bool askRouter_;
    Spectators spectators_;
    std::unique_ptr<PortMap> map_;
};

} // namespace

std::unique_ptr<Session> hostDuel(uint16_t port, RiderInput (*local)(), bool askRouter, int inputDelay)
{
    auto duel = std::make_unique<HostedDuel>(port, local, askRouter, inputDelay);
    duel->open();
    return duel;
}

std::unique_ptr<Session> joinDuel(const std::string& host, uint16_t port, RiderInput (*local)())
{
    auto duel = std::make_unique<Duel>(false, host, port, local);
    duel->open();
    return duel;
}

std::unique_ptr<Session> watchDuel(const std::string& host, uint16_t port)
{
    auto watching = std::make_unique<Watching>(host, port);
    watching->open();
    return watching;
}
