// Recordings: a game saved through the game's own feed plays back to the state it ended in;
// no damaged file gets past the reader or hurts it, and a cut one reads as unfinished; the
// writer never replaces or follows what is at FILE, and a game cut off stays readable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <functional>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "classic/session.h"
#include "classic/game.h"
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

namespace {

bool startsWith(const std::string& text, const std::string& start)
{
    return text.rfind(start, 0) == 0;
}

std::vector<uint8_t> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Every single bit flipped in `bytes[0, upTo)`: each must read as damage beginning `damage`.
void everyFlipIsDamage(const std::vector<uint8_t>& bytes, size_t upTo, const char* damage, const char* what)
{
    Recording out;
    for (size_t at = 0; at < upTo; ++at)
        for (int bit = 0; bit < 8; ++bit) {
            std::vector<uint8_t> flipped = bytes;
            flipped[at] ^= static_cast<uint8_t>(1 << bit);
            const std::string error = decodeRecording(flipped.data(), flipped.size(), out);
            EXPECT_TRUE(startsWith(error, damage)) << what << " byte " << at << " bit " << bit << ": '" << error << "'";
        }
}

} // namespace

TEST(Recording, ReadingTellsWholeUnfinishedDamagedAndForeignFilesApart)
{
    GameResult played;
    const Recording recording = recordGame(5, 200, played);
    const std::vector<uint8_t> bytes = encodeRecording(recording);
    Recording out;
    ASSERT_EQ(decodeRecording(bytes.data(), bytes.size(), out), "");
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(encodeRecording(out), bytes);
    const size_t header = 26 + recording.build.size();

    // A file cut anywhere after its header is an unfinished recording of the passes in its
    // whole blocks; cut inside a block, the cut-off bytes are counted, not read.
    std::vector<size_t> ends = {header}; // where each whole piece ends
    for (size_t passes = 0; passes < recording.passes.size(); passes += 20)
        ends.push_back(ends.back() + 5 + std::min<size_t>(20, recording.passes.size() - passes));
    for (size_t size = 0; size < bytes.size(); ++size) {
        const std::string error = decodeRecording(bytes.data(), size, out);
        if (size < header) {
            EXPECT_TRUE(error == "truncated recording: the header is cut short" ||
                        (size < 6 && error == "not a River Duel recording"))
                << "cut at " << size << ": " << error;
            continue;
        }
        ASSERT_EQ(error, "") << "cut at " << size;
        EXPECT_FALSE(out.finished) << "cut at " << size;
        const size_t blocks = std::upper_bound(ends.begin(), ends.end(), size) - ends.begin() - 1;
        EXPECT_EQ(out.passes.size(), std::min(blocks * 20, recording.passes.size())) << "cut at " << size;
        EXPECT_EQ(out.tornBytes, size - ends[blocks]) << "cut at " << size;
        EXPECT_TRUE(std::equal(out.passes.begin(), out.passes.end(), recording.passes.begin()));
    }

    // Any damage reads as damage: the magic and version included, in a finished file, an
    // unfinished one, and one whose last block was cut off mid-write (whose cut-off bytes no
    // checksum covers).
    everyFlipIsDamage(bytes, bytes.size(), "damaged recording: ", "finished");
    const std::vector<uint8_t> unfinished(bytes.begin(), bytes.begin() + header + 3 * 25);
    everyFlipIsDamage(unfinished, unfinished.size(), "damaged recording: ", "unfinished");
    const std::vector<uint8_t> torn(bytes.begin(), bytes.begin() + header + 3 * 25 + 7);
    everyFlipIsDamage(torn, torn.size() - 7, "damaged recording: ", "torn");
    // The pinned games are version 1: they read, and damage to them reads as damage too.
    const std::vector<uint8_t> old = fileBytes(RIVERDUEL_SOURCE_DIR "/tests/games/stomping.rdr");
    ASSERT_EQ(decodeRecording(old.data(), old.size(), out), "");
    EXPECT_TRUE(out.finished);
    for (size_t at = 0; at < old.size(); at += 7) {
        std::vector<uint8_t> flipped = old;
        flipped[at] ^= 0x10;
        const std::string error = decodeRecording(flipped.data(), flipped.size(), out);
        EXPECT_TRUE(startsWith(error, "damaged recording: ") || startsWith(error, "truncated recording: "))
            << "version 1, byte " << at << ": " << error;
    }

    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(decodeRecording(longer.data(), longer.size(), out), "damaged recording: 1 bytes after its end");
    // Another version, whole: named, not taken for damage.
    std::vector<uint8_t> other = bytes;
    other[8] = 3;
    const uint32_t crc = crc32(other.data(), other.size() - 4);
    for (int i = 0; i < 4; ++i)
        other[other.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
    EXPECT_EQ(decodeRecording(other.data(), other.size(), out),
              "recording format version 3, this game reads versions 1 to 2");
    const std::string text = "winner Rudko steps 291 state 3e68a1cbd141a9a2\n";
    EXPECT_EQ(decodeRecording(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out),
              "not a River Duel recording");
}

// Headers and passes changed at random but with a correct checksum: the reader refuses what
// makes no sense, and whatever it lets through plays back without harm.
TEST(Recording, ReaderAndReplaySurviveRandomRecordings)
{
    GameResult played;
    // The game's own version 2 file, and a pinned version 1 one.
    for (const std::vector<uint8_t>& good :
         {encodeRecording(recordGame(6, 150, played)), fileBytes(RIVERDUEL_SOURCE_DIR "/tests/games/left_with_esc.rdr")}) {
        Recording original;
        ASSERT_EQ(decodeRecording(good.data(), good.size(), original), "");
        ASSERT_TRUE(startHeadless(original.geometry)); // its bridge, so that its mutants play
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
}

namespace {

// What a folder holds: each name with its kind, and a link's target or a file's bytes.
std::map<std::string, std::string> folderState(const std::string& dir)
{
    std::map<std::string, std::string> state;
    DIR* d = opendir(dir.c_str());
    for (dirent* entry; d && (entry = readdir(d));) {
        const std::string name = entry->d_name, path = dir + "/" + name;
        struct stat info;
        if (name == "." || name == ".." || lstat(path.c_str(), &info) != 0)
            continue;
        char target[256] = {};
        if (S_ISLNK(info.st_mode) && readlink(path.c_str(), target, sizeof target - 1) >= 0)
            state[name] = std::string("link to ") + target;
        else if (S_ISREG(info.st_mode)) {
            const std::vector<uint8_t> bytes = fileBytes(path);
            state[name] = "file " + std::string(bytes.begin(), bytes.end());
        } else
            state[name] = S_ISCHR(info.st_mode) ? "device" : S_ISFIFO(info.st_mode) ? "fifo" : "other";
    }
    if (d)
        closedir(d);
    return state;
}

void put(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

Recording headOf(uint32_t seed)
{
    Recording head;
    head.build = "riverduel test";
    head.start.seed = seed;
    head.geometry = currentGeometry();
    return head;
}

} // namespace

// Where a game is to be recorded, whatever is there already stays as it was: the game goes
// to the first free name of the series, or the run is refused at once, with the reason.
TEST(Recording, WritingNeverReplacesOrFollowsWhatIsThere)
{
    const std::string root = scratch("writing");
    std::filesystem::remove_all(root);
    ASSERT_EQ(mkdir(root.c_str(), 0755), 0);
    struct Case {
        const char* name;
        std::function<void(const std::string& dir)> prepare;
        const char* file;    // what --record names, in the case's folder
        const char* check;   // how checkRecordingTarget's answer begins
        const char* savedAs; // where a game played anyway goes; nullptr: none can be
    };
    const Case cases[] = {
        {"a free name", [](const std::string&) {}, "game.rdr", "", "game.rdr"},
        {"an existing file", [](const std::string& d) { put(d + "/game.rdr", "mine"); }, "game.rdr", "",
         "game-2.rdr"},
        {"files of the series",
         [](const std::string& d) {
             put(d + "/game.rdr", "1"), put(d + "/game-2.rdr", "2"), put(d + "/game-4.rdr", "4");
         },
         "game.rdr", "", "game-3.rdr"},
        {"no extension", [](const std::string& d) { put(d + "/game", "mine"); }, "game", "", "game-2"},
        {"a symbolic link at FILE", [](const std::string& d) { EXPECT_EQ(symlink("victim", (d + "/game.rdr").c_str()), 0); },
         "game.rdr", "it is a symbolic link, not a regular file, and a recording never replaces one",
         "game-2.rdr"},
        {"a dangling symbolic link at FILE",
         [](const std::string& d) { EXPECT_EQ(symlink("nowhere", (d + "/game.rdr").c_str()), 0); }, "game.rdr",
         "it is a symbolic link", "game-2.rdr"},
        {"a symbolic link at the temporary name",
         [](const std::string& d) { EXPECT_EQ(symlink("victim", (d + "/game.rdr.part").c_str()), 0); }, "game.rdr", "",
         "game.rdr"},
        {"a device at FILE",
         [](const std::string& d) { ASSERT_EQ(mknod((d + "/game.rdr").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0); },
         "game.rdr", "it is a device", "game-2.rdr"},
        {"a FIFO at FILE", [](const std::string& d) { mkfifo((d + "/game.rdr").c_str(), 0644); }, "game.rdr",
         "it is a FIFO", "game-2.rdr"},
        {"a missing folder", [](const std::string&) {}, "missing/game.rdr",
         "cannot create a file in DIR/missing: No such file or directory", nullptr},
        {"a file for a folder", [](const std::string& d) { put(d + "/plain", "x"); }, "plain/game.rdr",
         "cannot create a file in DIR/plain: Not a directory", nullptr},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string dir = root + "/" + std::to_string(++n);
        ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
        put(dir + "/victim", "precious");
        c.prepare(dir);
        const std::string file = dir + "/" + c.file;
        const auto before = folderState(dir);
        const std::string check = checkRecordingTarget(file);
        std::string expected = c.check;
        if (expected.find("DIR") != std::string::npos)
            expected.replace(expected.find("DIR"), 3, dir);
        EXPECT_TRUE(startsWith(check, expected) && (check.empty() == expected.empty()))
            << c.name << ": '" << check << "'";
        EXPECT_EQ(folderState(dir), before) << c.name << ": the check left something behind";
        if (!c.savedAs)
            continue;
        Holds holds(n);
        std::unique_ptr<PassFeed> feed(recordingFeed(holds, file));
        const GameResult played = playHeadless(defaultGameSetup(), *feed, 100);
        auto after = folderState(dir);
        Recording saved;
        EXPECT_EQ(loadRecording(dir + "/" + c.savedAs, saved), "") << c.name;
        EXPECT_EQ(replayLine(saved), resultLine(played)) << c.name;
        after.erase(c.savedAs);
        EXPECT_EQ(after, before) << c.name << ": what was there changed, or a temporary file was left";
    }
    std::filesystem::remove_all(root);
}

// A game cut off mid-way leaves an unfinished recording of its whole blocks, whether the
// program died or the file could not grow; --overwrite replaces only regular files.
TEST(Recording, CutOffGamesStayAsUnfinishedRecordings)
{
    const std::string dir = scratch("cut");
    std::filesystem::remove_all(dir);
    ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    GameResult played;
    const Recording game = recordGame(7, 400, played);
    {
        RecordingWriter writer(dir + "/killed.rdr", false);
        ASSERT_EQ(writer.begin(game, 1), "");
        for (size_t i = 0; i < 130; ++i)
            ASSERT_EQ(writer.add(game.passes[i]), "");
        // The program dies here: nothing more is written.
    }
    Recording killed;
    ASSERT_EQ(loadRecording(dir + "/killed.rdr.part", killed), "");
    EXPECT_FALSE(killed.finished);
    EXPECT_EQ(killed.passes, std::vector<uint8_t>(game.passes.begin(), game.passes.begin() + 120));
    EXPECT_TRUE(startsWith(replayLine(killed), "winner none steps 120 state "));

    // The file may not grow past its header and two blocks: the third fails with the
    // system's reason, and the file is left ending at its last whole block.
    struct rlimit saved, small;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    small = saved;
    small.rlim_cur = 26 + game.build.size() + 2 * 25 + 10;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    {
        RecordingWriter writer(dir + "/full.rdr", false);
        EXPECT_EQ(writer.begin(game, 1), "");
        for (size_t i = 0; i < 100 && error.empty(); ++i)
            error = writer.add(game.passes[i]);
        EXPECT_FALSE(writer.writing());
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, "cannot write " + dir + "/full.rdr.part: File too large; the game so far stays in " + dir +
                         "/full.rdr.part");
    Recording full;
    ASSERT_EQ(loadRecording(dir + "/full.rdr.part", full), "");
    EXPECT_EQ(full.passes.size(), 40u);
    EXPECT_EQ(full.tornBytes, 0u);

    // --overwrite: game 1 replaces FILE, game 2 refuses a symbolic link at FILE-2 and stays
    // in its temporary file.
    put(dir + "/mine.rdr", "old");
    ASSERT_EQ(symlink("mine.rdr", (dir + "/mine-2.rdr").c_str()), 0);
    for (int g = 1; g <= 2; ++g) {
        RecordingWriter writer(dir + "/mine.rdr", true);
        ASSERT_EQ(writer.begin(headOf(g), g), "");
        writer.add(0x40);
        std::string path;
        const std::string finished = writer.finish(99, path);
        if (g == 1) {
            EXPECT_EQ(finished, "");
            EXPECT_EQ(path, dir + "/mine.rdr");
        } else {
            EXPECT_EQ(finished, "cannot replace " + dir + "/mine-2.rdr: it is a symbolic link; the game stays in " +
                                    dir + "/mine.rdr.part");
        }
    }
    Recording replaced;
    EXPECT_EQ(loadRecording(dir + "/mine.rdr", replaced), "");
    EXPECT_EQ(replaced.finalState, 99u);
    EXPECT_EQ(loadRecording(dir + "/mine.rdr.part", replaced), "");
    EXPECT_EQ(replaced.start.seed, 2u);
    char target[64] = {};
    EXPECT_GT(readlink((dir + "/mine-2.rdr").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "mine.rdr");

    EXPECT_EQ(recordingPath("/tmp/none/game.rdr", 1), "/tmp/none/game.rdr");
    EXPECT_EQ(recordingPath("/tmp/none/game.rdr", 2), "/tmp/none/game-2.rdr");
    EXPECT_EQ(recordingPath("/tmp/none.d/game", 3), "/tmp/none.d/game-3");
    EXPECT_EQ(recordingPath("/tmp/.hidden", 2), "/tmp/.hidden-2");
    std::filesystem::remove_all(dir);
}
