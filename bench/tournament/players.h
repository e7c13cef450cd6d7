#pragma once
// The riders of the tournament: the computer at each level, the computer as it was before it
// had levels, and scripted riders that play like people (late, misjudging) or play one trick.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "input/input.h"

struct World;

class Player {
public:
    virtual ~Player() = default;
    // The keys for the next pass, called once before each pass.
    virtual RiderInput decide(const World& world) = 0;
};

// A player by name riding rider `index` in the game of `seed`; nullptr for an unknown name.
// Names: level1 ... level5, classic, idle, random, and the scripted riders in scriptedNames().
std::unique_ptr<Player> makePlayer(const std::string& name, int index, uint32_t seed);
// The human-like scripted riders, then the one-trick ones.
const std::vector<std::string>& humanNames();
const std::vector<std::string>& trickNames();
// What each is, in a line.
std::string describe(const std::string& name);
