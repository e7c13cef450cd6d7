#include "network/lockstep.h"

namespace {
// Bits of one rider's inputs in a packed pass, plus the leave bit, which either may set.
uint8_t riderBits(int rider) { return uint8_t(rider == 0 ? 0x07 : 0x38) | 0x40; }
const size_t KEPT_HASHES = 8;
} // namespace

Lockstep::Lockstep(int rider, uint16_t game, uint8_t delay)
    : rider_(rider), game_(game), delay_(delay), local_(delay, 0), remote_(delay, 0),
      acked_(delay)
{
}

bool Lockstep::record(uint32_t pass, RiderInput local, bool escape)
{
    if (leaving_ || uint64_t(pass) + delay_ != local_.size())
        return false;
    PassInput input;
    input.riders[rider_] = local;
    input.leave = escape;
    local_.push_back(packPass(input));
    leaving_ = leaving_ || escape;
    return true;
}

bool Lockstep::known(uint32_t pass, PassInput& input) const
{
    if (pass >= local_.size() || pass >= remote_.size())
        return false;
    return unpackPass(uint8_t(local_[pass] | remote_[pass]), input);
}

bool Lockstep::guess(uint32_t pass, PassInput& input) const
{
    if (known(pass, input))
        return true;
    if (pass >= local_.size() || pass >= remote_.size() + ROLLBACK_WINDOW || (local_[pass] & 0x40))
        return false;
    // The other rider holds what it held last; it never leaves on a guess.
    const uint8_t last = remote_.empty() ? 0 : uint8_t(remote_.back() & ~0x40);
    return unpackPass(uint8_t(local_[pass] | last), input);
}

uint32_t Lockstep::confirmed() const
{
    return uint32_t(local_.size() < remote_.size() ? local_.size() : remote_.size());
}

int Lockstep::ahead() const
{
    if (remoteTold_ == 0)
        return 0;
    const int lead = int(local_.size()) - int(remote_.size());
    const int difference = lead - remoteLead_;
    return difference >= 0 ? difference / 2 : -((1 - difference) / 2);
}

void Lockstep::leaveNow()
{
    if (leaving())
        return;
    PassInput input;
    input.leave = true;
    local_.push_back(packPass(input));
    leaving_ = true;
}


Message Lockstep::inputs() const
{
    Message m;
    m.type = MessageType::Inputs;
    m.game = game_;
    m.ack = uint32_t(remote_.size());
    // Everything from the last confirmed pass on, so one lost packet costs nothing.
    m.first = acked_;
    const size_t end = local_.size();
    const size_t count = end - acked_ < MAX_INPUTS_PER_MESSAGE ? end - acked_ : MAX_INPUTS_PER_MESSAGE;
    if (count == 0 && end > 0)
        m.first = uint32_t(end - 1); // nothing new: repeat the last pass to carry the ack
    m.inputs.assign(local_.begin() + m.first, local_.begin() + m.first + (count ? count : end > 0));
    return m;
}

bool Lockstep::stepped(uint32_t pass, const StateHash& hash, Message& out)
{
    if ((pass + 1) % HASH_INTERVAL != 0)
        return false;
    localHashes_.emplace_back(pass, hash);
    if (localHashes_.size() > KEPT_HASHES)
        localHashes_.pop_front();
    while (!remoteHashes_.empty() && remoteHashes_.front().first <= pass) {
        if (remoteHashes_.front().first == pass)
            compare(pass, hash, remoteHashes_.front().second);
        remoteHashes_.pop_front();
    }
    out = Message();
    out.type = MessageType::Hash;
    out.game = game_;
    out.pass = pass;
    out.hash = hash;
    return true;
}

void Lockstep::compare(uint32_t pass, const StateHash& local, const StateHash& remote)
{
    const char* part = firstDifference(local, remote);
    if (*part && drift_.empty()) {
        drift_ = part;
        driftPass_ = pass;
    }
}

bool Lockstep::receive(const Message& m)
{
    if (m.game != game_)
        return true; // a late packet of an earlier game, or an early one of the next
    if (m.type == MessageType::Inputs) {
        // The other side can run at most the window (and its delay, and a pass to leave at
        // once) ahead of what it has from here.
        const uint64_t told = uint64_t(m.first) + m.inputs.size();
        if (m.ack > local_.size() || told > local_.size() + ROLLBACK_WINDOW + delay_ + 2u)
            return false;
        if (m.ack > acked_)
            acked_ = m.ack;
        if (told >= remoteTold_) {
            remoteTold_ = uint32_t(told);
            remoteLead_ = int(told) - int(m.ack);
        }
        const uint8_t allowed = riderBits(1 - rider_);
        for (size_t i = 0; i < m.inputs.size(); ++i) {
            const uint8_t byte = m.inputs[i];
            const uint64_t pass = uint64_t(m.first) + i;
            if (byte & ~allowed)
                return false;
            if (pass < remote_.size()) {
                if (remote_[pass] != byte)
                    return false; // a pass may never change once sent
            } else if (pass == remote_.size()) {
                remote_.push_back(byte);
            }
            // A gap (a newer packet overtaken by an older one) waits for the next packet.
        }
        return true;
    }
    if (m.type == MessageType::Hash) {
        if (m.pass % HASH_INTERVAL != HASH_INTERVAL - 1 || m.pass > local_.size() + ROLLBACK_WINDOW + delay_ + 2u)
            return false;
        for (const auto& [pass, hash] : localHashes_)
            if (pass == m.pass) {
                compare(pass, hash, m.hash);
                return true;
            }
        if (localHashes_.empty() || m.pass > localHashes_.back().first) {
            if (remoteHashes_.size() >= KEPT_HASHES)
                return false;
            remoteHashes_.emplace_back(m.pass, m.hash);
        }
        return true;
    }
    return true;
}
