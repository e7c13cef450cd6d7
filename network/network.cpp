#include "network/network.h"

#include "network/duel.h"

bool parsePort(const std::string& text, uint16_t& port)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long value = std::stoul(text);
    if (value < 1 || value > 65535)
        return false;
    port = uint16_t(value);
    return true;
}

bool parseAddress(const std::string& text, std::string& host, uint16_t& port)
{
    const size_t colon = text.rfind(':');
    host = text.substr(0, colon);
    port = DEFAULT_PORT;
    if (colon != std::string::npos && !parsePort(text.substr(colon + 1), port))
        return false;
    return !host.empty() && host.find(':') == std::string::npos;
}

std::unique_ptr<Session> hostDuel(uint16_t port, RiderInput (*local)())
{
    auto duel = std::make_unique<Duel>(true, "", port, local);
    duel->open();
    return duel;
}

std::unique_ptr<Session> joinDuel(const std::string& host, uint16_t port, RiderInput (*local)())
{
    auto duel = std::make_unique<Duel>(false, host, port, local);
    duel->open();
    return duel;
}
