// Recordings: a game saved through the game's own feed plays back to the state it ended in,
// and no damaged file gets past the reader or hurts it.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/game.h"
#include "recording/crc32.h"
#include "recording/recording.h"
#include "../tools/holds.h"

namespace {

std::string scratch(const char* name)
{
    return "/tmp/riverduel-test-" + std::to_string(getpid()) + "-" + name;
}

// A game of random holds, cut at `passes`, saved and read back.
Recording recordGame(uint64_t seed, uint32_t passes, GameResult& played)
{
    const std::string path = scratch("game.rdr");
    Holds holds(seed);
    std::unique_ptr<PassFeed> feed(recordingFeed(holds, path));
    played = playHeadless(defaultGameSetup(), *feed, passes);
    Recording recording;
    EXPECT_EQ(loadRecording(path, recording), "");
    std::remove(path.c_str());
    return recording;
}

std::string replayLine(const Recording& recording)
{
    GameResult result;
    const std::string error = replayRecording(recording, result);
    return error.empty() ? resultLine(result) : "error: " + error;
}

} // namespace

TEST(Recording, GamesPlayBackToTheStateTheyEndedIn)
{
    for (uint64_t seed : {1, 2, 3}) {
        GameResult played;
        const Recording recording = recordGame(seed, 12000, played);
        EXPECT_EQ(recording.passes.size(), played.steps + 1u);
        EXPECT_EQ(recording.finalState, played.state.whole());
        const std::string line = replayLine(recording);
        EXPECT_EQ(line, resultLine(played));
        EXPECT_EQ(replayLine(recording), line) << "a second replay differs";
    }
    // Cut short, the game is saved as left at the pass it stopped at.
    GameResult played;
    const Recording cut = recordGame(4, 300, played);
    EXPECT_FALSE(played.decided);
    EXPECT_EQ(cut.passes.size(), 301u);
    EXPECT_EQ(replayLine(cut), resultLine(played));
    EXPECT_EQ(replayLine(cut).rfind("winner none steps 300 ", 0), 0u);
}

TEST(Recording, DamagedFilesAreRefusedWithAReason)
{
    GameResult played;
    const Recording recording = recordGame(5, 200, played);
    const std::vector<uint8_t> bytes = encodeRecording(recording);
    Recording out;
    ASSERT_EQ(decodeRecording(bytes.data(), bytes.size(), out), "");
    EXPECT_EQ(encodeRecording(out), bytes);

    for (size_t size = 0; size < bytes.size(); ++size)
        EXPECT_NE(decodeRecording(bytes.data(), size, out), "") << "cut at " << size;
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(decodeRecording(longer.data(), longer.size(), out), "damaged recording: 1 bytes after its end");
    for (size_t at = 0; at < bytes.size(); ++at)
        for (int bit = 0; bit < 8; ++bit) {
            std::vector<uint8_t> flipped = bytes;
            flipped[at] ^= static_cast<uint8_t>(1 << bit);
            EXPECT_NE(decodeRecording(flipped.data(), flipped.size(), out), "") << at << ":" << bit;
        }

    std::vector<uint8_t> other = bytes;
    other[8] = 2;
    EXPECT_EQ(decodeRecording(other.data(), other.size(), out),
              "recording format version 2, this game reads version 1");
    // A pass count far beyond the file is caught before anything is allocated for it.
    std::vector<uint8_t> huge = bytes;
    const size_t count = 11 + recording.build.size() + 11;
    huge[count + 3] = 0x7f;
    EXPECT_EQ(decodeRecording(huge.data(), huge.size(), out).rfind("damaged recording: ", 0), 0u);
}

// Headers and passes changed at random but with a correct checksum: the reader refuses what
// makes no sense, and whatever it lets through plays back without harm.
TEST(Recording, ReaderAndReplaySurviveRandomRecordings)
{
    GameResult played;
    const std::vector<uint8_t> good = encodeRecording(recordGame(6, 150, played));
    uint64_t state = 88172645463325252ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<uint8_t> bytes = good;
        const int changes = 1 + static_cast<int>(next() % 4);
        for (int c = 0; c < changes; ++c) {
            const size_t at = next() % (bytes.size() - 4);
            bytes[at] = static_cast<uint8_t>(next() % 3 == 0 ? bytes[at] ^ (1u << (next() % 8)) : next());
        }
        if (next() % 4 == 0)
            bytes.resize(next() % bytes.size() + 4);
        const uint32_t crc = crc32(bytes.data(), bytes.size() - 4);
        for (int i = 0; i < 4; ++i)
            bytes[bytes.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
        Recording recording;
        if (decodeRecording(bytes.data(), bytes.size(), recording) != "")
            continue;
        ++accepted;
        GameResult result;
        replayRecording(recording, result);
    }
    EXPECT_GT(accepted, 100) << "the mutations never reached the replay";
}

TEST(Recording, LaterGamesOfARunGoBesideTheFirst)
{
    EXPECT_EQ(recordingPath("/tmp/none/game.rdr", 1), "/tmp/none/game.rdr");
    EXPECT_EQ(recordingPath("/tmp/none/game.rdr", 2), "/tmp/none/game-2.rdr");
    EXPECT_EQ(recordingPath("/tmp/none.d/game", 3), "/tmp/none.d/game-3");
    const std::string taken = scratch("taken-2.rdr");
    std::fclose(std::fopen(taken.c_str(), "w"));
    EXPECT_EQ(recordingPath(scratch("taken.rdr"), 2), scratch("taken-3.rdr"));
    std::remove(taken.c_str());
}
