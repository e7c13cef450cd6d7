#pragma once
// The computer rider: what it decides each pass, and the feeds and sessions it rides in.
#include <memory>

#include "simulation/feed.h"

struct World;

// How well the computer rides: level 1 (a beginner) to 5 (an expert).
const int LOWEST_LEVEL = 1, HIGHEST_LEVEL = 5, DEFAULT_LEVEL = 3;
// Not a level to play against: the computer with no slips at all (it judges the river right
// and its mind never wanders), so that the computer riding Berto in the mirror image of a game
// presses the mirror image of what the one riding Rudko presses. For tests and the tournament.
const int FLAWLESS = HIGHEST_LEVEL + 1;

// The computer riding one rider. It looks at the river once a pass as a player sees it and
// acts on what it saw a reaction time before (150 ms at level 5 to 400 ms at level 1),
// through the same three inputs as a player. The lower its level, the shorter it thinks ahead,
// the worse it judges where and when obstacles come and the more often its mind wanders; a
// beginner (level 1) also hardly attacks. Its slips come from a small generator of its own
// seeded with `seed` (the game's); it draws nothing from the game's generator and reads no
// clock. A fresh one per game.
class ComputerRider {
public:
    // `index` 0 rides riders[0] (Rudko), 1 riders[1] (Berto).
    explicit ComputerRider(int index, int level = DEFAULT_LEVEL, uint32_t seed = 0);
    ~ComputerRider();
    ComputerRider(const ComputerRider&) = delete;
    ComputerRider& operator=(const ComputerRider&) = delete;
    // The inputs for the next pass; called once before each pass of the game.
    RiderInput decide(const World& world);

private:
    struct Mind;
    std::unique_ptr<Mind> mind;
};

// `inner`'s games with the computer riding the riders marked in `rides` (a fresh computer
// each game, of the level in `levels`) in place of what `inner` gives them. Owned by the caller.
PassFeed* computerFeed(PassFeed& inner, const bool rides[2], const int levels[2]);
PassFeed* computerFeed(PassFeed& inner, const bool rides[2]); // both of DEFAULT_LEVEL
// --computer [LEVEL]: the player rides Rudko with either key set or the first pad; the
// computer Berto. The menu's status line names the level.
Session* computerSession(bool gamepads, int level = DEFAULT_LEVEL);
// --demo [LEVEL]: the computer rides both, a game after another; any key goes back to the menu.
Session* demoSession(int level = DEFAULT_LEVEL);
