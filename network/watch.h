#pragma once
// Spectators: the host's side that sends them the games, and `--watch`, which shows them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "network/connection.h"
#include "network/duel.h"
#include "simulation/feed.h"

// One message to a peer of either side, sent at once: reliable ones on channel 0, the rest on 1.
// Returns its size.
size_t sendTo(_ENetPeer* peer, const Message& message, bool reliable);

// The host's spectators, up to Connection::MAX_GUESTS: told of each game's start and sent its
// confirmed passes in small batches, each repeating what a spectator has not yet said it
// holds, so a lost datagram costs nothing. Nothing here ever waits for a spectator: one that
// is slow or gone only misses passes, and the riders play on as before. One that has not said
// hello within Connection::GREETING_MS, or says nothing for a few seconds, loses its seat, in
// the menu as in a game; one that acknowledges nothing is sent at most twice what it sends,
// beyond its first batch.
class Spectators : public DuelWatcher, public Connection::Guests {
public:
    explicit Spectators(Connection::Identity self = Connection::ours());
    ~Spectators() override;

    void gameStarted(const Message& start) override;
    void confirmed(uint16_t game, uint32_t pass, const PassInput& input) override;
    void gameEnded(uint16_t game, uint32_t passes) override;

    void arrived(_ENetPeer* peer) override;
    bool has(const _ENetPeer* peer) const override;
    void heard(_ENetPeer* peer, const uint8_t* data, size_t size) override;
    void left(_ENetPeer* peer) override;
    bool greeted(const _ENetPeer* peer) const override;
    void tend() override { dropSilent(); }

    // Spectators who said hello in this game's version.
    size_t watching() const;
    // Bytes of messages sent to spectators so far.
    uint64_t sent() const { return sent_; }

private:
    struct Seat {
        _ENetPeer* peer = nullptr;
        bool greeted = false;
        bool following = false; // it was told of the current game's start
        uint32_t held = 0;      // passes of the current game it said it holds
        uint32_t since = 0, lastHeard = 0; // the network library's clock, milliseconds
        uint64_t given = 0, taken = 0;     // bytes sent to it and heard from it
    };
    struct Game {
        Message start;
        std::vector<uint8_t> passes; // one packed pass each
        uint32_t total = GAME_RUNNING;
    };
    void send(Seat& seat, const Message& message, bool reliable);
    void follow(Seat& seat);
    // The passes of `game` from `from` on, as many as one message holds.
    void sendPasses(Seat& seat, const Game& game, uint32_t from);
    void sendEverything(uint16_t game);
    void dropSilent();
    Seat* seat(const _ENetPeer* peer);

    Connection::Identity self_;
    std::vector<Seat> seats_;
    Game games_[2]; // the current game and the one before, for spectators still catching up
    bool haveGame_ = false;
    uint64_t sent_ = 0;
};

// `--watch HOST[:PORT]`: follows a host's games as a spectator, a second and a half behind
// the riders, in the window with their sounds and end screens, one game after another. A
// game already under way when it arrives is shown only from the next one on. ESC leaves the
// game shown (the next one comes all the same); a click after a lost connection tries again.
class Watching : public Session, public PassFeed {
public:
    // Passes held before a game is shown, and again after the feed ran dry.
    static constexpr uint32_t LEAD = 30;

    Watching(std::string address, uint16_t port, Connection::Identity self = Connection::ours());
    ~Watching() override;
    bool open();

    void poll() override;
    const char* status() const override { return status_.c_str(); }
    bool startsGame() override;
    bool clicked() override;
    PassFeed& feed() override { return *this; }
    int endScreenSeconds() const override { return 5; }
    bool afterGame(const GameResult& result) override;
    void quitting() override;

    void begin(GameStart& start) override;
    void started(const World& world) override { world_ = &world; }
    bool gather(uint32_t pass, bool escape, PassInput& input) override;
    bool broken() const override { return !brokenWhy_.empty(); }
    void waiting() override { service(); }

    bool greeted() const { return greeted_; }
    // The game shown now, or about to be.
    uint16_t game() const { return shown_; }

private:
    struct Game {
        GameStart start;
        std::vector<uint8_t> passes;
        uint32_t total = GAME_RUNNING;
        bool complete() const { return total != GAME_RUNNING && passes.size() >= total; }
    };
    void service();
    void handle(const Message& message);
    void lose(const std::string& why);
    void say(const std::string& status);
    void refreshStatus();
    void send(const Message& message, bool reliable);
    void acknowledge();
    const Game* next() const;

    std::string address_;
    uint16_t port_;
    Connection::Identity self_;
    _ENetHost* host_ = nullptr;
    _ENetPeer* peer_ = nullptr;
    bool greeted_ = false;
    std::map<uint16_t, Game> games_; // by game number; the oldest is shown first
    bool showing_ = false;
    const World* world_ = nullptr; // the game shown
    uint16_t shown_ = 0;
    bool dry_ = false;          // the shown game ran out of passes: wait for LEAD more
    uint32_t dryAt_ = 0;        // milliseconds, when it ran dry
    uint32_t lastSeen_ = 0;     // milliseconds, when the last Seen went out
    uint32_t openedAt_ = 0;     // milliseconds, when the connection was asked for
    std::string lastWhy_, brokenWhy_, status_;
};
