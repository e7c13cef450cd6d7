#include <allegro.h>
#include <cstdio>
#include <memory>

#include "app/choices.h"
#include "app/clock.h"
#include "app/comfort.h"
#include "app/game.h"
#include "app/menu.h"
#include "app/options.h"
#include "app/system.h"
#include "app/words.h"
#include "computer/computer.h"
#include "input/gamepad.h"
#include "network/network.h"
#include "presentation/hud_text.h"
#include "recording/recording.h"
#include "classic/rider.h"
#include "classic/session.h"

extern std::string settingsProblem;
void runSettingsScreen(Settings& settings, GameSetup& setup);

namespace {

enum Entry { TWO_PLAYERS, COMPUTER, DEMO, HOST, JOIN, WATCH, SETTINGS, QUIT, ENTRIES };

RiderInput onlinePlayer()
{
    return playerInput(true);
}

// Each rider's picture, name and keys, as set.
void drawRiders(BITMAP* dest, const GameSetup& setup)
{
    for (int r = 0; r < 2; ++r) {
        const int x = r == 0 ? 200 : 600;
        riders[r]->surfaceSprite.drawPhase(dest, x, 125, ticks);
        const RiderSetup& rider = setup.riders[r];
        drawBigText(dest, rider.name, x, 160, 2, makecol(255, 255, 255));
        char keys[96];
        std::snprintf(keys, sizeof keys, tr("left %s, right %s, jump/dive %s"),
                      scancode_to_name(rider.leftKey), scancode_to_name(rider.rightKey),
                      scancode_to_name(rider.actionKey));
        textout_centre_ex(dest, font, keys, x, 184, makecol(200, 200, 200), -1);
    }
}

std::vector<std::string> menuLines(const Settings& settings, int selected)
{
    char computer[80];
    std::snprintf(computer, sizeof computer, tr("Against the computer, level < %d >"), settings.level);
    // The one address both lines use, typed where the chosen line is.
    auto address = [&](Entry entry) {
        const std::string typed = settings.address + (selected == entry ? "_" : "");
        return typed.empty() ? std::string(tr("type an address")) : typed;
    };
    return {tr("Two players"), computer, tr("Watch two computers"), tr("Host an online game"),
            tr("Join: ") + address(JOIN), tr("Watch online: ") + address(WATCH), tr("Settings"),
            tr("Quit")};
}

// The key that chose a game is let go first: a demo leaves on any key.
void waitForKeysUp()
{
    for (int k = 1; k < KEY_MODIFIERS; ++k)
        while (key[k] && !closeRequested)
            rest(10);
    clear_keybuf();
}

// Games of one session until its player goes back: a local match starts at once and ends with
// its winner, a game left with ESC or a demo's dismissed end screen; online, games start by
// Return, a click or the other machine, and ESC goes back.
void visit(const GameSetup& setup, Session& session, bool local, bool demo, int matchLength,
           const char* hint)
{
    bool startNow = local;
    uint32_t nextTick = ticks + 1;
    clear_keybuf();
    for (;;) {
        session.poll();
        bool asked = false, back = closeRequested;
        KeyPress press;
        while (nextKeyPress(press)) {
            asked = asked || press.scancode == KEY_ENTER || press.scancode == KEY_SPACE;
            back = back || press.scancode == KEY_ESC;
        }
        const PadPresses pads = gamepadCommands();
        asked = asked || pressedSinceLastLook() || pads.pressed.face;
        if (back || pads.pressed.escape) {
            session.quitting();
            waitForEscapeRelease();
            return;
        }
        beginScreen(backBuffer);
        drawRiders(backBuffer, setup);
        drawBigText(backBuffer, hint, SCREEN_W / 2, 260, 2, makecol(255, 255, 255));
        endScreen(backBuffer, tr("Return, Space or a click starts a game; ESC goes back"),
                  session.status() ? session.status() : gamepadStatus());
        if (startNow || session.startsGame() || (asked && session.clicked())) {
            startNow = false;
            if (demo)
                waitForKeysUp();
            const GameResult result = runGame(setup, session.feed(), session.endScreenSeconds());
            forgetClicks();
            clear_keybuf();
            if (result.decided)
                ++hudWords.score[result.winner];
            const bool matchOver = matchLength > 0 &&
                                   hudWords.score[result.winner] >= matchLength;
            if (!session.afterGame(result) || (local && (!result.decided || matchOver)))
                return;
            if (demo && (!result.decided || result.dismissed))
                return; // a key sent the demo away
            startNow = local;
            ticks = 0;
            nextTick = ticks;
        }
        nextTick = waitForTick(nextTick);
    }
}

} // namespace

int runComfortMenu(const GameSetup& setupAtStart, Settings& settings, bool gamepads,
                   const std::string& record, bool computer, bool demo)
{
    GameSetup setup = setupAtStart;
    ChoiceList list;
    list.top = 214;
    list.spacing = 38;
    list.selected = computer ? COMPUTER : demo ? DEMO : TWO_PLAYERS;
    bool chooseNow = computer || demo; // the command line chose already
    std::string status = settingsProblem;
    uint32_t nextTick = ticks + 1;
    clear_keybuf();
    for (;;) {
        const bool typing = list.selected == JOIN || list.selected == WATCH;
        list.lines = menuLines(settings, list.selected);
        KeyPress press;
        Ask ask = closeRequested ? Ask::back : askList(list, press);
        if (chooseNow)
            ask = Ask::choose, chooseNow = false;
        if (ask == Ask::back)
            break;
        if (typing && ask == Ask::typed && settings.address.size() < 60 && press.letter != ' ')
            settings.address += static_cast<char>(press.letter);
        if (typing && ask == Ask::erase && !settings.address.empty())
            settings.address.pop_back();
        if (list.selected == COMPUTER && (ask == Ask::less || ask == Ask::more))
            settings.level = (settings.level + (ask == Ask::more ? 1 : 3)) % 5 + 1;
        beginScreen(backBuffer);
        drawRiders(backBuffer, setup);
        list.draw(backBuffer);
        endScreen(backBuffer, tr("Arrows choose, Return or Space starts, ESC quits"),
                  status.empty() ? gamepadStatus() : status.c_str());
        if (ask == Ask::choose) {
            const int entry = list.selected;
            if (entry == QUIT)
                break;
            std::unique_ptr<Session> session;
            const char* hint = "";
            std::string host = settings.address;
            int port = defaultPort;
            const size_t colon = host.rfind(':');
            if (colon != std::string::npos && colon > 0) {
                port = std::atoi(host.c_str() + colon + 1);
                host.resize(colon);
            }
            if (entry == TWO_PLAYERS)
                session.reset(new LocalSession(gamepads));
            else if (entry == COMPUTER)
                session.reset(computerSession(gamepads, settings.level));
            else if (entry == DEMO)
                session.reset(demoSession(settings.level));
            else if (entry == HOST)
                session = hostDuel(defaultPort, onlinePlayer), hint = tr("Waiting for a friend");
            else if ((entry == JOIN || entry == WATCH) && !host.empty() && port > 0 && port < 65536)
                session = entry == JOIN ? joinDuel(host, static_cast<uint16_t>(port), onlinePlayer)
                                        : watchDuel(host, static_cast<uint16_t>(port)),
                hint = entry == JOIN ? tr("Joining") : tr("Watching");
            if (entry == SETTINGS) {
                runSettingsScreen(settings, setup);
                const std::string failed = writeSettings(settingsPath(), settings);
                status = failed.empty() ? "" : failed;
            } else if (session) {
                if (entry == JOIN)
                    writeSettings(settingsPath(), settings); // the address, remembered
                const bool local = entry <= COMPUTER;
                const int seat = entry == HOST ? 0 : entry == JOIN ? 1 : -1;
                comfortGames(setup, local ? settings.matchLength : 0, seat);
                std::unique_ptr<Session> recorder;
                if (!record.empty())
                    recorder.reset(recordEveryGame(*session, record, false));
                visit(setup, recorder ? *recorder : *session, local, entry == DEMO,
                      local ? settings.matchLength : 0, hint);
            }
            clear_keybuf();
            forgetClicks();
            ticks = 0;
            nextTick = ticks;
        }
        nextTick = waitForTick(nextTick);
    }
    writeSettings(settingsPath(), settings);
    freeRiders();
    return 0;
}
