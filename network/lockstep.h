#pragma once
// Both riders' inputs pass by pass, confirmed by both machines, and the hashes they compare.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "network/message.h"

// Both machines' inputs for one game, pass by pass. A key pressed at pass N is used at pass
// N + delay on both sides. A pass whose other rider's inputs are not here yet may run on a
// guess (that rider still holds what it last held), at most ROLLBACK_WINDOW passes beyond the
// last known one; the game takes the guess back when the real inputs differ.
// Knows nothing of the wire: it takes messages in and hands messages out.
class Lockstep {
public:
    Lockstep(int rider, uint16_t game, uint8_t delay);
    // The local player at pass `pass` (only the first call for each pass counts).
    // True when this call recorded a new pass.
    bool record(uint32_t pass, RiderInput local, bool escape);
    // Both riders' inputs for `pass`, once both are known.
    bool known(uint32_t pass, PassInput& input) const;
    // The inputs of `pass` as best known now: the other rider's guessed when missing. False
    // when the pass must wait: beyond the window, or this side leaves there (a leave is only
    // taken at a pass both sides hold).
    bool guess(uint32_t pass, PassInput& input) const;
    // Passes from 0 on whose inputs both sides hold.
    uint32_t confirmed() const;
    // Passes this side holds of its own and of the other's.
    uint32_t localPasses() const { return uint32_t(local_.size()); }
    uint32_t remotePasses() const { return uint32_t(remote_.size()); }
    // How many passes this side runs ahead of the other (half the difference of the leads
    // both see, rounded down): the side ahead waits a pass now and then.
    int ahead() const;
    // This side leaves at once (the game stalled): one more pass of its own, with the leave.
    void leaveNow();
    bool leaving() const { return leaving_; }
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
    int remoteLead_ = 0;    // the other side's passes beyond what it held of ours, last told
    uint32_t remoteTold_ = 0; // the other side's passes in the message that told it
    bool leaving_ = false;
    std::deque<std::pair<uint32_t, StateHash>> localHashes_, remoteHashes_;
    std::string drift_;
    uint32_t driftPass_ = 0;
};

constexpr uint32_t HASH_INTERVAL = 20;
// Passes a game may run on guesses before it waits for the other side.
constexpr uint32_t ROLLBACK_WINDOW = 8;
