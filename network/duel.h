#pragma once
// An online duel as the menu and the game see it.
#include <cstdint>
#include <memory>
#include <string>

#include "simulation/feed.h"
#include "network/connection.h"
#include "network/lockstep.h"

class PortMap;

// Whoever follows the host's games without playing: told of each game's start, of every pass
// once both riders' inputs for it are confirmed (in order, each once), and of its end.
class DuelWatcher {
public:
    virtual ~DuelWatcher() = default;
    virtual void gameStarted(const Message& start) = 0;
    virtual void confirmed(uint16_t game, uint32_t pass, const PassInput& input) = 0;
    virtual void gameEnded(uint16_t game, uint32_t passes) = 0;
};

// What one online game cost: the line printed as it ends.
struct OnlineGameCount {
    uint32_t passes = 0, inputDelay = 0;
    uint32_t rolledBack = 0, deepest = 0; // passes stepped again; the most at one time
    uint32_t stalledMs = 0;               // time the game waited for the other side
    uint32_t stalled() const { return (stalledMs + 25) / 50; } // in passes
};
// "online game: passes N, input delay D, rolled back R passes (deepest K), stalled S"
std::string onlineGameLine(const OnlineGameCount& count);

// The input delay chosen from the round trip: none below 60 ms, else one pass.
constexpr int AUTO_INPUT_DELAY = -1;
uint8_t inputDelayFor(uint32_t roundTripMs);

// An online duel as the menu and the game see it: the host rides Rudko, the joiner Berto.
// A click on either side starts the game on both; the host chooses the start and the input
// delay (`inputDelay` passes, or AUTO_INPUT_DELAY). The other rider's inputs are guessed until
// they arrive (see GameRun), within a window of ROLLBACK_WINDOW passes.
class Duel : public Session, public PassFeed {
public:
    Duel(bool hosting, std::string address, uint16_t port, RiderInput (*local)(),
         int inputDelay = AUTO_INPUT_DELAY, Connection::Identity self = Connection::ours());
    bool open();

    void poll() override;
    const char* status() const override { return status_.c_str(); }
    bool startsGame() override;
    bool clicked() override;
    PassFeed& feed() override { return *this; }
    bool afterGame(const GameResult& result) override;
    void quitting() override;

    void begin(GameStart& start) override;
    bool gather(uint32_t pass, bool escape, PassInput& input) override;
    uint32_t confirmedPasses() const override;
    bool regather(uint32_t pass, PassInput& input) override;
    void confirmed(uint32_t pass, const PassInput& input, const World& world) override;
    void rolledBack(uint32_t from, uint32_t passes) override;
    const char* waitingFor() const override;
    void ended(const GameResult& result) override;
    bool broken() const override { return !brokenWhy_.empty() || leftAtOnce_; }
    void waiting() override { service(); }

    // The same as confirmed, for a game that hashes its state itself.
    void confirmedWith(uint32_t pass, const PassInput& input, const StateHash& hash);
    const OnlineGameCount& count() const { return count_; }
    bool connected() const { return link_ && link_->connected(); }
    uint16_t port() const { return link_ ? link_->port() : port_; }
    const std::string& brokenWhy() const { return brokenWhy_; }
    void watchedBy(DuelWatcher* watcher) { watcher_ = watcher; }
    // Spectators who connect to the host's port (after open()).
    void welcome(Connection::Guests* guests) { if (link_) link_->welcome(guests); }
    // The router's port mapping, which gives the address a friend joins.
    void mappedBy(const PortMap* map) { portMap_ = map; }
    // The address the host's status line tells a friend to join: the router's outside address
    // and port once the router mapped it, else this machine's own ("192.168.1.20:24642"), or ""
    // when there is none to tell: "waiting for a rider on UDP port 24642: ask your friend to
    // join 192.168.1.20:24642".
    std::string friendAddress() const;

private:
    void service();
    void handle(const Message& message);
    void gone(const std::string& why);
    void say(const std::string& status);
    void refreshStatus();
    void checkDrift();
    void judge(uint32_t now);
    uint32_t ownPace(uint32_t now) const;
    bool hold(uint32_t pass, uint32_t now);
    void stallEnds(uint32_t now);

    bool hosting_;
    bool routerTold_ = false; // the terminal heard that no router answered
    std::string address_;
    uint16_t port_;
    RiderInput (*local_)();
    int delay_;
    Connection::Identity self_;
    std::unique_ptr<Connection> link_;
    std::unique_ptr<Lockstep> game_;
    uint16_t games_ = 0;        // games started in this run
    bool inGame_ = false;       // from the game's start to the end of its end screen
    bool playing_ = false;      // from the game's start to its last pass
    uint32_t stalledSince_ = 0; // the network library's clock, milliseconds; 0 when not
    bool stallOnLink_ = false;
    uint32_t stalledOnLink_ = 0; // Connection::looked() when this stall began
    bool haveStart_ = false;    // the joiner holds the host's start for the next game
    Message start_;
    bool partnerClicked_ = false;
    bool partnerInMenu_ = true;
    std::string lastWhy_, brokenWhy_, status_;
    std::string friend_; // friendAddress(), found once the port is open
    uint32_t lastSent_ = 0; // milliseconds, the network library's clock
    DuelWatcher* watcher_ = nullptr;
    uint32_t confirmed_ = 0; // passes of this game told to the watcher
    const PortMap* portMap_ = nullptr;
    OnlineGameCount count_;
    bool escape_ = false;     // ESC or the close button since the last pass of our own
    bool leftAtOnce_ = false; // left while the game stalled, without waiting for an agreed pass
    bool endScreen_ = false;  // the last game ended on the end screen
    uint32_t judgedSince_ = 0, judgedFrom_ = 0; // the partner's passes over a time window
    uint32_t judgedOwn_ = 0;                     // ownPace() when the window began
    uint32_t holdUntil_ = 0, nextHold_ = 0;
    double ahead_ = 0;        // how far this side runs ahead, averaged over the passes
    uint32_t roundTrip_ = UINT32_MAX; // the least seen with this partner, milliseconds
    uint32_t lastService_ = 0;        // the network library's clock
    double serviceGap_ = 0;           // milliseconds between looks at the link, averaged
};
