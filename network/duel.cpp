#include "network/duel.h"

#include "network/enet_port.h"

#include <algorithm>
#include <cstdio>

#include "network/own_address.h"
#include "network/portmap.h"

namespace {
// Longer than any pause of a live game, well short of what a player would wait for.
const uint32_t SILENCE_MS = 3000;
const uint32_t RESEND_MS = 20;
const uint32_t PASS_MS = 50;
// The other rider is judged by the passes it sends over a window of time: fewer than half
// of what the game needs, and of what this side could play in that time, and the game stops
// (at less, the game crawls on for ever). A machine that is itself slow blames nobody.
const uint32_t JUDGE_MS = 5000;
const uint32_t JUDGE_MIN_PASSES = JUDGE_MS / PASS_MS / 2;
// A stall this long is shown, and ESC during it leaves at once.
const uint32_t SHOWN_STALL_MS = 250;
// A leave of this side's waits this long for the other side's inputs up to it.
const uint32_t LEAVE_WAIT_MS = 1000;
// The side ahead waits one pass at most this often.
const uint32_t HOLD_EVERY = 40;
} // namespace

std::string onlineGameLine(const OnlineGameCount& c)
{
    return "online game: passes " + std::to_string(c.passes) + ", input delay " +
           std::to_string(c.inputDelay) + ", rolled back " + std::to_string(c.rolledBack) +
           " passes (deepest " + std::to_string(c.deepest) + "), stalled " +
           std::to_string(c.stalled());
}

uint8_t inputDelayFor(uint32_t roundTripMs)
{
    return roundTripMs < 60 ? 0 : 1;
}

Duel::Duel(bool hosting, std::string address, uint16_t port, RiderInput (*local)(),
           int inputDelay, Connection::Identity self)
    : hosting_(hosting), address_(std::move(address)), port_(port), local_(local),
      delay_(inputDelay), self_(std::move(self))
{
}

bool Duel::open()
{
    link_ = std::make_unique<Connection>(hosting_, address_, port_, self_);
    const bool ok = link_->open();
    if (ok && hosting_) {
        port_ = link_->port();
        friend_ = localAddresses(port_);
    }
    lastWhy_ = ok ? "" : link_->why();
    if (!ok)
        link_.reset();
    partnerClicked_ = haveStart_ = false;
    partnerInMenu_ = true;
    refreshStatus();
    return ok;
}

void Duel::say(const std::string& status)
{
    if (status == status_)
        return;
    status_ = status;
    // The same line on the terminal, for whoever started the game from one.
    std::printf("riverduel: %s\n", status_.c_str());
    std::fflush(stdout);
}

std::string Duel::friendAddress() const
{
    if (portMap_ && portMap_->state() == PortMap::State::Mapped)
        return portMap_->address();
    return friend_;
}

// Where a friend finds this host: through the router when it was asked, else this machine's
// own address, which stays on screen even when no router answered (a friend at home joins it).
static std::string friendNote(const PortMap* map, const std::string& address)
{
    if (map && map->state() == PortMap::State::Asking)
        return " (asking the router to open it...)";
    const std::string join = address.empty() ? "" : ": ask your friend to join " + address;
    if (map && map->state() == PortMap::State::BehindRouter && address.empty())
        return ": the router is itself behind another router";
    const bool unanswered = map && map->state() != PortMap::State::Mapped;
    if (unanswered && address.empty())
        return ": no router answered, open the port by hand";
    return join;
}

void Duel::refreshStatus()
{
    if (hosting_ && portMap_ && portMap_->state() == PortMap::State::NoRouter && !routerTold_) {
        // The screen keeps the address to give; the terminal says what a friend outside needs.
        std::printf("riverduel: no router answered: for a friend outside this network, open UDP "
                    "port %d by hand\n", port_);
        routerTold_ = true;
    }
    if (hosting_ && portMap_ && portMap_->state() == PortMap::State::BehindRouter && !routerTold_) {
        std::printf("riverduel: the router is itself behind another router: a friend outside this "
                    "network cannot reach UDP port %d\n", port_);
        routerTold_ = true;
    }
    const std::string where = address_ + ":" + std::to_string(port_);
    std::string line;
    if (!link_)
        line = lastWhy_ + (hosting_ ? "" : " - click to try again");
    else if (!link_->connected() && hosting_)
        line = (lastWhy_.empty() ? "" : lastWhy_ + " - ") + "waiting for a rider on UDP port " +
               std::to_string(port_) + friendNote(portMap_, friendAddress());
    else if (!link_->connected())
        line = "connecting to " + where + "...";
    else if (!partnerInMenu_ && endScreen_)
        line = "the other rider is still looking at the end screen";
    else if (!partnerInMenu_)
        line = "waiting for the other rider to come back to the menu";
    else if (hosting_)
        line = "Berto has joined (" + link_->partnerBuild() + "): click to start";
    else
        line = "riding with the host at " + where + ": click to start";
    // Why the last game stopped stays in view while the connection lives.
    if (link_ && link_->connected() && !lastWhy_.empty())
        line = lastWhy_ + " - " + line;
    say(line);
}

void Duel::gone(const std::string& why)
{
    lastWhy_ = why;
    if (inGame_ && brokenWhy_.empty())
        brokenWhy_ = why;
    partnerClicked_ = haveStart_ = false;
    partnerInMenu_ = true;
    if (!hosting_)
        link_.reset(); // the joiner connects afresh on the next click
}

void Duel::handle(const Message& m)
{
    switch (m.type) {
    case MessageType::Start:
        if (!hosting_ && !inGame_ && m.game >= games_) {
            start_ = m;
            haveStart_ = true;
        }
        break;
    case MessageType::Click:
        if (hosting_ && !inGame_ && m.game == games_)
            partnerClicked_ = true;
        break;
    case MessageType::Menu:
        if (games_ > 0 && m.game == uint16_t(games_ - 1))
            partnerInMenu_ = true;
        break;
    case MessageType::Inputs:
    case MessageType::Hash:
        if (game_ && !game_->receive(m)) {
            link_->drop("dropped the other rider: it sent inputs that cannot be");
            gone(link_->why());
        }
        break;
    default:
        break;
    }
}

void Duel::service()
{
    if (!link_)
        return;
    Message m;
    for (;;) {
        const Connection::Event event = link_->next(m);
        if (event == Connection::Event::None)
            break;
        if (event == Connection::Event::Gone) {
            gone(link_->why());
            if (!link_)
                break;
        } else if (event == Connection::Event::Partner) {
            lastWhy_.clear();
            roundTrip_ = UINT32_MAX;
        } else {
            handle(m);
            if (!link_)
                break;
        }
    }
    // The round trip as the network library measures it counts the time each side takes to
    // look at the link again (a menu looks once a pass) and swells while a side is busy: the
    // least seen with this partner, less one such gap (half on each side), is the network's.
    const uint32_t at = enet_time_get();
    if (lastService_ != 0)
        serviceGap_ += (double(std::min<uint32_t>(at - lastService_, 100)) - serviceGap_) / 8;
    lastService_ = at;
    if (link_ && link_->connected()) {
        const uint32_t measured = link_->roundTrip(), gap = uint32_t(serviceGap_);
        roundTrip_ = std::min(roundTrip_, measured > gap ? measured - gap : 0);
    }
    // ENet gives up on a silent partner much later; every state here services the link often.
    if (link_ && link_->connected() && link_->silence() > SILENCE_MS) {
        link_->drop("connection lost");
        gone(link_->why());
    }
    // A game that ended here may still be running there, a few passes behind and short of
    // inputs whose packets were lost: they are repeated until the other side has them all.
    const uint32_t now = enet_time_get();
    if (!playing_ && game_ && link_ && !game_->delivered() && now - lastSent_ >= RESEND_MS * 2) {
        link_->send(game_->inputs(), false);
        lastSent_ = now;
    }
}

void Duel::poll()
{
    service();
    refreshStatus();
}

bool Duel::startsGame()
{
    if (!connected())
        return false;
    return hosting_ ? partnerClicked_ && partnerInMenu_ : haveStart_;
}

bool Duel::clicked()
{
    if (!link_) {
        if (!hosting_)
            open();
        return false;
    }
    if (!link_->connected() || !partnerInMenu_)
        return false;
    if (hosting_)
        return true;
    Message click;
    click.type = MessageType::Click;
    click.game = games_;
    link_->send(click, true);
    return false;
}

void Duel::begin(GameStart& start)
{
    if (hosting_) {
        start_ = Message();
        start_.type = MessageType::Start;
        start_.game = games_;
        start_.start = start;
        const uint32_t roundTrip = roundTrip_ != UINT32_MAX ? roundTrip_ : link_->roundTrip();
        start_.inputDelay = delay_ >= 0 ? uint8_t(delay_) : inputDelayFor(roundTrip);
        link_->send(start_, true);
    } else {
        start = start_.start;
    }
    game_ = std::make_unique<Lockstep>(hosting_ ? 0 : 1, start_.game, start_.inputDelay);
    games_ = uint16_t(start_.game + 1);
    inGame_ = playing_ = true;
    stalledSince_ = 0;
    stallOnLink_ = false;
    haveStart_ = partnerClicked_ = partnerInMenu_ = false;
    brokenWhy_.clear();
    lastWhy_.clear();
    confirmed_ = 0;
    count_ = OnlineGameCount();
    count_.inputDelay = start_.inputDelay;
    escape_ = leftAtOnce_ = endScreen_ = false;
    judgedSince_ = enet_time_get();
    judgedFrom_ = 0;
    judgedOwn_ = ownPace(judgedSince_);
    holdUntil_ = nextHold_ = 0;
    ahead_ = 0;
    if (watcher_)
        watcher_->gameStarted(start_);
}

bool Duel::gather(uint32_t pass, bool escape, PassInput& input)
{
    service();
    checkDrift();
    if (!game_ || !link_ || !brokenWhy_.empty()) {
        if (brokenWhy_.empty())
            brokenWhy_ = lastWhy_.empty() ? "connection lost" : lastWhy_;
        return false;
    }
    const uint32_t now = enet_time_get();
    judge(now);
    if (!brokenWhy_.empty())
        return false;
    // Every ESC counts, also one let go while the game waited.
    escape_ = escape_ || escape;
    bool fresh = false, held = false;
    if (!game_->leaving() && game_->localPasses() == pass + start_.inputDelay) {
        held = hold(pass, now);
        if (!held) {
            fresh = game_->record(pass, local_ ? local_() : RiderInput{}, escape_);
            escape_ = false;
        }
    }
    // A new pass's inputs go out at once; while the game waits, they are repeated now and then
    // in case the last packet was lost, not every time the loop asks.
    if (fresh || now - lastSent_ >= RESEND_MS) {
        link_->send(game_->inputs(), false);
        lastSent_ = now;
    }
    if (!held && game_->guess(pass, input)) {
        stallEnds(now);
        return true;
    }
    if (stalledSince_ == 0)
        stalledSince_ = now;
    if (!stallOnLink_)
        stallOnLink_ = true, stalledOnLink_ = link_->looked();
    const uint32_t stalled = now - stalledSince_;
    // A leave while the game waits for the other side ends it now; the other side is told
    // by the leave among this side's inputs.
    if ((escape_ && stalled >= SHOWN_STALL_MS) || (game_->leaving() && stalled >= LEAVE_WAIT_MS)) {
        game_->leaveNow();
        link_->send(game_->inputs(), false);
        lastSent_ = now;
        leftAtOnce_ = true;
        stallEnds(now);
        return false;
    }
    // A partner that answers but sends no inputs has left this game (it ended there at
    // another pass): waiting longer would wait for ever. Timed on the link's clock, as silence
    // is: a pause of this machine's own is nobody's fault.
    if (link_->looked() - stalledOnLink_ > SILENCE_MS)
        brokenWhy_ = "the other rider's game stopped at another pass: the games drifted apart";
    return false;
}

// The other side's passes over the last window of time: one that sends a pass now and then
// would keep the game waiting for ever.
void Duel::judge(uint32_t now)
{
    if (now - judgedSince_ < JUDGE_MS)
        return;
    const uint32_t came = game_->remotePasses() - judgedFrom_;
    const uint32_t could = ownPace(now) - judgedOwn_;
    if (came < JUDGE_MIN_PASSES && came * 2 < could) {
        stallEnds(now);
        // One not heard at all for a second (a live one answers the pings four times a
        // second) is not slow but gone.
        if (link_->silence() > 4 * Connection::PING_MS) {
            link_->drop("connection lost");
            gone(link_->why());
            return;
        }
        brokenWhy_ = "the other rider's game was too slow: " + std::to_string(came) +
                     " passes came in " + std::to_string(JUDGE_MS / 1000) + " s";
    }
    judgedSince_ = now;
    judgedFrom_ = game_->remotePasses();
    judgedOwn_ = ownPace(now);
}

// The passes this side played in this game, and those it could have played while it waited
// for the other side (or held back for it).
uint32_t Duel::ownPace(uint32_t now) const
{
    const uint32_t waited = count_.stalledMs + (stalledSince_ != 0 ? now - stalledSince_ : 0);
    return game_->localPasses() + waited / PASS_MS;
}

// The side that runs ahead of the other waits a pass now and then, so neither keeps guessing
// further than the other (and stalling at the window's end).
bool Duel::hold(uint32_t pass, uint32_t now)
{
    if (holdUntil_ != 0 && int32_t(now - holdUntil_) < 0)
        return true;
    if (holdUntil_ != 0) {
        holdUntil_ = 0;
        return false; // the pass held back runs now
    }
    ahead_ += (game_->ahead() - ahead_) / 16;
    if (pass < nextHold_ || ahead_ < 1.0)
        return false;
    holdUntil_ = now + PASS_MS;
    nextHold_ = pass + HOLD_EVERY;
    ahead_ -= 1.0;
    if (stalledSince_ == 0)
        stalledSince_ = now;
    return true;
}

void Duel::stallEnds(uint32_t now)
{
    if (stalledSince_ != 0)
        count_.stalledMs += now - stalledSince_;
    stalledSince_ = 0;
    stallOnLink_ = false;
}

uint32_t Duel::confirmedPasses() const
{
    return game_ ? game_->confirmed() : 0;
}

bool Duel::regather(uint32_t pass, PassInput& input)
{
    return game_ && game_->guess(pass, input);
}

void Duel::rolledBack(uint32_t from, uint32_t passes)
{
    (void)from;
    count_.rolledBack += passes;
    if (passes > count_.deepest)
        count_.deepest = passes;
}

const char* Duel::waitingFor() const
{
    if (stalledSince_ == 0 || holdUntil_ != 0 || enet_time_get() - stalledSince_ < SHOWN_STALL_MS)
        return nullptr;
    return "waiting for the other rider";
}

void Duel::confirmed(uint32_t pass, const PassInput& input, const World& world)
{
    confirmedWith(pass, input, hashWorld(world));
}

void Duel::confirmedWith(uint32_t pass, const PassInput& input, const StateHash& hash)
{
    if (watcher_ && game_ && pass == confirmed_) {
        watcher_->confirmed(game_->game(), pass, input);
        ++confirmed_;
    }
    Message m;
    if (game_ && game_->stepped(pass, hash, m) && link_)
        link_->send(m, true);
    checkDrift();
}

void Duel::checkDrift()
{
    // Both sides see the other's hashes, so both stop; the connection stays for another game.
    if (game_ && !game_->drift().empty() && brokenWhy_.empty())
        brokenWhy_ = "the games drifted apart at pass " + std::to_string(game_->driftPass()) +
                     ": the " + game_->drift() + " differ";
}

void Duel::ended(const GameResult& result)
{
    playing_ = false;
    stallEnds(enet_time_get());
    count_.passes = result.steps;
    std::printf("%s\n", onlineGameLine(count_).c_str());
    std::fflush(stdout);
    if (watcher_ && game_)
        watcher_->gameEnded(game_->game(), confirmed_);
}

bool Duel::afterGame(const GameResult& result)
{
    endScreen_ = result.decided && !broken();
    inGame_ = playing_ = false;
    leftAtOnce_ = false;
    if (!brokenWhy_.empty())
        lastWhy_ = brokenWhy_;
    brokenWhy_.clear();
    if (link_ && link_->connected()) {
        Message menu;
        menu.type = MessageType::Menu;
        menu.game = uint16_t(games_ - 1);
        link_->send(menu, true);
    }
    refreshStatus();
    return true;
}

void Duel::quitting()
{
    if (link_)
        link_->leave();
}
