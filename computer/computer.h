#pragma once
// The computer rider: what it decides each pass, and the feeds and sessions it rides in.
#include <memory>

#include "simulation/feed.h"

struct World;

// The computer riding one rider. It looks at the river once a pass as a player sees it and
// acts on what it saw three passes before, through the same three inputs as a player. Its
// choices follow from what it saw alone: no random numbers, no clock. A fresh one per game.
class ComputerRider {
public:
    explicit ComputerRider(int index); // 0 rides riders[0] (Rudko), 1 riders[1] (Berto)
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
// each game) in place of what `inner` gives them. Owned by the caller.
PassFeed* computerFeed(PassFeed& inner, const bool rides[2]);
// --computer: the player rides Rudko with either key set or the first pad; the computer Berto.
Session* computerSession(bool gamepads);
// --demo: the computer rides both, a game after another; any key goes back to the menu.
Session* demoSession();
