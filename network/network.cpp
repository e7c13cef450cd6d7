#include "network/network.h"

#include "network/duel.h"

std::unique_ptr<Session> hostDuel(uint16_t port, RiderInput (*local)(), int inputDelay)
{
    auto duel = std::make_unique<Duel>(true, "", port, local, inputDelay);
    duel->open();
    return duel;
}

std::unique_ptr<Session> joinDuel(const std::string& host, uint16_t port, RiderInput (*local)())
{
    auto duel = std::make_unique<Duel>(false, host, port, local);
    duel->open();
    return duel;
}
