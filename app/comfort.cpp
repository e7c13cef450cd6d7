#include "app/comfort.h"

#include <allegro.h>
#include <cstdio>
#include <cstring>

#include "app/game.h"
#include "app/options.h"
#include "app/stage.h"
#include "app/window.h"
#include "app/words.h"
#include "presentation/assets.h"
#include "presentation/hud_text.h"
#include "classic/game.h"

std::string settingsProblem;

Settings prepareComfort(Options& options)
{
    speakPlayersLanguage();
    const std::string path = settingsPath();
    Settings settings = readSettings(path, settingsProblem);
    if (!settingsProblem.empty())
        std::fprintf(stderr, "riverduel: %s\n", settingsProblem.c_str());
    if (options.volumeGiven)
        settings.volume = options.volume;
    if (options.scaleGiven || options.fullscreen) {
        settings.scale = options.scaleGiven ? options.scale : settings.scale;
        settings.fullscreen = options.fullscreen;
    }
    if (options.levelGiven)
        settings.level = options.level;
    if (!options.join.empty())
        settings.address = options.join;
    const std::string failed = writeSettings(path, settings);
    if (!failed.empty())
        std::fprintf(stderr, "riverduel: %s (the settings are not kept)\n", failed.c_str());
    options.volume = settings.volume;
    options.scale = settings.scale;
    options.fullscreen = settings.fullscreen;
    options.level = settings.level;
    return settings;
}

GameSetup comfortSetup(const Settings& settings)
{
    GameSetup setup = defaultGameSetup();
    for (int r = 0; r < 2; ++r) {
        RiderSetup& rider = setup.riders[r];
        std::snprintf(rider.name, sizeof rider.name, "%s", settings.names[r].c_str());
        rider.leftKey = settings.keys[r][0];
        rider.rightKey = settings.keys[r][1];
        rider.actionKey = settings.keys[r][2];
    }
    return setup;
}

// The end screen: the title art, and below it on a band the winner, the score and the key.
static void drawEndWords(BITMAP* dest, const GameResult& result)
{
    const uint8_t winner = result.winner;
    const int h = titleBitmap->h;
    masked_blit(titleBitmap, dest, 0, 0, SCREEN_W / 2 - titleBitmap->w / 2, SCREEN_H / 2 - h / 2,
                titleBitmap->w, h);
    int score[2] = {hudWords.score[0], hudWords.score[1]};
    ++score[winner];
    const bool matchOver = hudWords.matchLength > 0 && score[winner] >= hudWords.matchLength;
    char line[96];
    std::snprintf(line, sizeof line, matchOver ? tr("%s wins the match!") : tr("%s wins!"),
                  result.names[winner]);
    char hint[160];
    if (hudWords.matchLength > 0)
        std::snprintf(hint, sizeof hint, tr("%s %d : %d %s - press any key to go on"),
                      result.names[0], score[0], score[1], result.names[1]);
    else
        std::snprintf(hint, sizeof hint, "%s", tr("Press any key to go on"));
    drawBanner(dest, line, hint, SCREEN_H / 2 + h / 2 + 8);
}

void comfortGames(const GameSetup& setup, int matchLength, int seat)
{
    static char note[64];
    pausing = seat < 0 ? Pausing::local : Pausing::online;
    hudWords.shown = true;
    hudWords.health = tr("health");
    hudWords.weight = tr("weight");
    hudWords.firstTo = tr("first to %d");
    hudWords.matchLength = matchLength;
    hudWords.score[0] = hudWords.score[1] = 0;
    hudWords.note = nullptr;
    if (seat >= 0) {
        std::snprintf(note, sizeof note, tr("you ride %s"), setup.riders[seat].name);
        hudWords.note = note;
    }
    endScreenWords = drawEndWords;
}
