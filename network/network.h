#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/session.h"

// Two players on two machines, one river: `--host [PORT]` and `--join HOST[:PORT]`.
// The host rides Rudko, the joiner Berto; each steers with `local`'s inputs.

// The UDP port a host listens on unless told otherwise.
constexpr uint16_t DEFAULT_PORT = 7305;

// A port number from 1 to 65535. False for anything else.
bool parsePort(const std::string& text, uint16_t& port);
// "HOST" or "HOST:PORT" (the default port when none is given).
bool parseAddress(const std::string& text, std::string& host, uint16_t& port);

// The menu's session of an online duel; its status line says what went wrong, if anything.
std::unique_ptr<Session> hostDuel(uint16_t port, RiderInput (*local)());
std::unique_ptr<Session> joinDuel(const std::string& host, uint16_t port, RiderInput (*local)());
