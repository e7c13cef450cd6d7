#pragma once
// The home router found on the LAN, each question within a deadline and a byte cap.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// True when the game is leaving: every wait below ends within 100 ms of it.
using Leaving = std::function<bool()>;

// The description addresses of the first few gateways that answer an SSDP search, within a
// second however many answer.
std::vector<std::string> searchGateways(const Leaving& leaving);
// The body of an HTTP GET of `url` (http://a.b.c.d[:port]/path), "" when it is not there
// within 2 s or is longer than 64 KB.
std::string download(const std::string& url, const Leaving& leaving);
// This machine's address on the way to the gateway at `url`: the one it forwards to.
bool localAddressTowards(const std::string& url, char* text, size_t size);
// Addresses no friend can reach: private, shared by carriers (100.64.0.0/10), loopback,
// link-local, documentation and benchmark ranges, multicast and above, "this network".
bool reservedAddress(const std::string& ipv4);
