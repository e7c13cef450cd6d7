// The pinned games, recorded by playing the real program (tests/games/record.sh): each must
// still play to the line pinned beside it, and together they must keep covering the game.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "classic/game.h"
#include "simulation/feed.h"
#include "audio/sound.h"
#include "recording/recording.h"
#include "classic/rider.h"
#include "classic/headless.h"

namespace {

const std::string gamesDir = RIVERDUEL_SOURCE_DIR "/tests/games";

std::set<std::string> heard;

// Every sound the game asks for is noted by name.
struct Listening : Stage {
    void show(const World&, const Cues& cues) override
    {
        static const std::map<int, std::string> names = {
            {SND_JUMP, "jump"},     {SND_EMERGE, "emerge"}, {SND_DIVE, "dive"},
            {SND_LOG, "log"},       {SND_ROCK, "rock"},     {SND_BURGER, "burger"},
            {SND_BRIDGE, "bridge"}, {SND_BUMP, "bump"},     {SND_STOMP, "stomp"},
            {SND_BANK, "bank"},
        };
        for (int i = 0; i < cues.count; ++i) {
            const auto name = names.find(cues.list[i].event);
            if (name != names.end() && !cues.list[i].stop)
                heard.insert(name->second);
        }
    }
};

// Replays through the game's own replay feed and watches the riders after every step.
struct Watch : PassFeed {
    std::unique_ptr<PassFeed> replay;
    explicit Watch(const Recording& recording) : replay(replayFeed(recording)) {}
    void begin(GameStart& start) override { replay->begin(start); }
    bool gather(uint32_t pass, bool escape, PassInput& input) override
    {
        return replay->gather(pass, escape, input);
    }
    void stepped(uint32_t, const PassInput&, const World& world) override
    {
        for (const RiderState& rider : world.riders) {
            if (rider.x == 125.0f)
                heard.insert("left bank");
            if (rider.x == 675.0f)
                heard.insert("right bank");
        }
    }
    bool broken() const override { return replay->broken(); }
};

std::map<std::string, std::string> pinnedGames()
{
    std::map<std::string, std::string> games;
    DIR* dir = opendir(gamesDir.c_str());
    for (dirent* entry; dir && (entry = readdir(dir));) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && name.substr(name.size() - 4) == ".rdr") {
            std::ifstream line(gamesDir + "/" + name.substr(0, name.size() - 4) + ".line");
            std::getline(line, games[name]);
        }
    }
    if (dir)
        closedir(dir);
    return games;
}

} // namespace

TEST(PinnedGames, EachPlaysToItsLineAndTogetherTheyCoverTheGame)
{
    const auto games = pinnedGames();
    ASSERT_GE(games.size(), 6u);
    std::map<std::string, int> outcomes;
    for (const auto& [file, line] : games) {
        Recording recording;
        ASSERT_EQ(loadRecording(gamesDir + "/" + file, recording), "") << file;
        ASSERT_TRUE(startHeadless(recording.geometry));
        GameResult replayed;
        ASSERT_EQ(replayRecording(recording, replayed), "") << file;
        EXPECT_EQ(resultLine(replayed), line) << file << " plays differently now";
        Watch watch(recording);
        GameStart start;
        watch.begin(start);
        World world;
        startWorld(world, defaultGameSetup(), start);
        Listening listening;
        const GameResult watched = playGame(world, watch, listening);
        EXPECT_EQ(resultLine(watched), line) << file << " through the replay feed";
        ++outcomes[line.substr(0, line.find(" steps"))];
    }

    EXPECT_GE(outcomes["winner Rudko"], 1);
    EXPECT_GE(outcomes["winner Berto"], 1);
    EXPECT_GE(outcomes["winner none"], 1);
    for (const char* event : {"jump", "dive", "emerge", "rock", "log", "burger", "bridge", "bump",
                              "stomp", "bank", "left bank", "right bank"})
        EXPECT_TRUE(heard.count(event)) << "no pinned game has a " << event;
}
