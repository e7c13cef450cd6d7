#pragma once
// Both riders' inputs pass by pass, confirmed by both machines, and the hashes they compare.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "network/message.h"

// Both machines' inputs for one game, pass by pass. A key pressed at pass N is used at pass
// N + delay on both sides, and a pass may run only once both riders' inputs for it are here.
// Knows nothing of the wire: it takes messages in and hands messages out.
class Lockstep {
public:
    Lockstep(int rider, uint16_t game, uint8_t delay);
    // The local player at pass `pass` (only the first call for each pass counts).
    // True when this call recorded a new pass.
    bool record(uint32_t pass, RiderInput local, bool escape);
    // Both riders' inputs for `pass`, once both are known.
    bool known(uint32_t pass, PassInput& input) const;
    // The local inputs the other side has not confirmed yet.
    Message inputs() const;
    // True once the other side holds every local pass.
    bool delivered() const { return acked_ >= local_.size(); }
    // After pass `pass` stepped: every 20th pass gives a hash for the other side.
    bool stepped(uint32_t pass, const StateHash& hash, Message& out);
    // False when the message cannot come from an honest peer of this game.
    bool receive(const Message& message);
    // Where the two games parted ("riders", ...), or "" while they agree.
    const std::string& drift() const { return drift_; }
    uint32_t driftPass() const { return driftPass_; }
    uint16_t game() const { return game_; }

private:
    void compare(uint32_t pass, const StateHash& local, const StateHash& remote);

    int rider_;
    uint16_t game_;
    uint8_t delay_;
    std::vector<uint8_t> local_, remote_; // one packed pass each, from pass 0 on
    uint32_t acked_;                      // local passes the other side holds
    std::deque<std::pair<uint32_t, StateHash>> localHashes_, remoteHashes_;
    std::string drift_;
    uint32_t driftPass_ = 0;
};

constexpr uint32_t HASH_INTERVAL = 20;
