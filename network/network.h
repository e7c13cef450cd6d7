#pragma once
// The online duel as the program starts it: hosting, joining or watching.
#include <cstdint>
#include <memory>
#include <string>

#include "simulation/feed.h"

// Two players on two machines, one river (`--host [PORT]`, `--join HOST[:PORT]`, UDP). The
// host rides Rudko, the joiner Berto; each steers with what `local` reads on its own machine.
// The menu's status line says whom it waits for or rides with, or what went wrong. The host
// asks the home router to open its port (unless `askRouter` is false) and says what address
// to give a friend; spectators may connect to its port too. The host chooses the input delay
// for both, `inputDelay` passes (0 to 4), or by the round trip when negative.
std::unique_ptr<Session> hostDuel(uint16_t port, RiderInput (*local)(), bool askRouter = true,
                                  int inputDelay = -1);
std::unique_ptr<Session> joinDuel(const std::string& host, uint16_t port, RiderInput (*local)());
// A spectator of a host's games (`--watch HOST[:PORT]`).
std::unique_ptr<Session> watchDuel(const std::string& host, uint16_t port);
