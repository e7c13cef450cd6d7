#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "classic/headless.h"
#include "simulation/simulation.h"

// A recorded game: all it takes to play it again exactly. The file layout, field by field,
// is in docs/recording-format.md.
struct Recording {
    std::string build;           // the identity of the game that recorded it
    GameStart start;
    KindGeometry geometry;
    std::vector<uint8_t> passes; // packPass() of every pass the game asked for, the last one ends it
    uint64_t finalState = 0;     // StateHash::whole() when the game ended
    // False: the game was cut off (a crash, kill -9, a power cut) before it ended; `passes`
    // holds what was written by then, and there is no final state.
    bool finished = true;
    size_t tornBytes = 0; // bytes of a block cut off mid-write at the end, left out
};

constexpr uint16_t recordingVersion = 2;       // the version this game writes
constexpr uint16_t oldestRecordingVersion = 1; // the oldest it still reads
constexpr uint32_t maxRecordedPasses = 1u << 22; // over 58 hours at 20 passes a second
constexpr size_t maxBuildLength = 64;
constexpr size_t passesPerBlock = 20; // a block of passes is written every second of play

// The whole file of a recording (an unfinished one when `recording.finished` is false).
std::vector<uint8_t> encodeRecording(const Recording& recording);
// "" when the bytes are an undamaged recording (perhaps an unfinished one); otherwise why
// not, in one line. The checksum is checked before anything else is believed.
std::string decodeRecording(const uint8_t* data, size_t size, Recording& recording);

// The bytes of a recording in the order a game writes them: the header, then a block of
// passes at a time, then the end. Each piece ends with the CRC-32 of the file so far.
class RecordingEncoder {
public:
    std::vector<uint8_t> header(const Recording& recording);
    std::vector<uint8_t> block(const uint8_t* passes, size_t count); // count 1 to 255
    std::vector<uint8_t> end(uint32_t passCount, uint64_t finalState);

private:
    std::vector<uint8_t> seal(std::vector<uint8_t> bytes);
    uint32_t crc_ = 0;
};

std::string loadRecording(const std::string& path, Recording& recording);

// Where the run's games go. FILE is checked before the game starts: its folder must take a
// new file and FILE, when it exists, must be a regular file. "" or why not, with the
// system's reason.
std::string checkRecordingTarget(const std::string& first);

// The N-th name of the series: FILE for 1, then "NAME-N.EXT" beside it.
std::string recordingPath(const std::string& first, int game);

// One recording as its game is played. The header goes to a new temporary file beside FILE
// (FILE.part, or FILE.part-2, ... when that name is taken; made with O_EXCL | O_NOFOLLOW, so
// nothing there is followed or replaced), a block of passes every second, and at the end
// the final state; then the file is synced and renamed to the first free name of the series
// (or, with `overwrite`, to the game's own name of the series, replacing a regular file).
class RecordingWriter {
public:
    RecordingWriter(std::string first, bool overwrite) : first_(std::move(first)), overwrite_(overwrite) {}
    ~RecordingWriter();
    // "" or why not; `game` is the game's number in the run (from 1).
    std::string begin(const Recording& head, int game);
    // One pass. "" or why not: then nothing more is written, and what was written stays
    // in the temporary file as an unfinished recording.
    std::string add(uint8_t pass);
    // The end: "" with `path` the file's final name, or why not (the game then stays in
    // the temporary file, whose name the reason gives).
    std::string finish(uint64_t finalState, std::string& path);
    bool writing() const { return fd_ >= 0; }
    const std::string& partPath() const { return part_; }

private:
    std::string write(const std::vector<uint8_t>& bytes);
    std::string fail(const std::string& why);

    std::string first_;
    bool overwrite_;
    int game_ = 1;
    int fd_ = -1;
    std::string part_;
    RecordingEncoder encoder_;
    std::vector<uint8_t> pending_;
    uint32_t count_ = 0;
    uint64_t written_ = 0; // bytes of whole pieces in the file
};

// Plays a recording through without drawing. "" when it held together (result filled),
// otherwise why not. An unfinished recording plays to where it stops. Needs the rules
// brought up (startHeadless, or the real game).
std::string replayRecording(const Recording& recording, GameResult& result);

class Session;
class PassFeed;

// The same session, with every game it plays recorded as it goes (a game left with ESC or
// cut short by a lost connection too), and its result line printed with its file's name.
Session* recordEveryGame(Session& inner, const std::string& first, bool overwrite);

// `inner`'s game, recorded as it goes to the first free name of `first`'s series, and its
// result line printed. Owned by the caller.
PassFeed* recordingFeed(PassFeed& inner, const std::string& first);

// Plays a recording back in the window at its own speed, to where it stops. ESC stops it.
PassFeed* replayFeed(const Recording& recording);

// How a pass is stepped; a check may be handed another to prove it notices.
using PassStepper = bool (*)(World& world, const PassInput& input, Cues& cues);

// Plays a recording through as replayRecording does, and after every pass saves the world,
// steps up to `ahead` of the recorded passes on, restores it over that, steps them again, and
// compares the state hashes and the sounds pass by pass, and the first of them with the pass
// the game then plays. "" when everything agreed (result filled); otherwise what did not:
// with `apart` set, "pass P: the PART differ" for a rollback that changed something.
std::string checkRollback(const Recording& recording, int ahead, GameResult& result, bool& apart,
                          PassStepper step = stepWorld);

class Stage;
// The recorded game played on `stage`; replayRecording's checks.
std::string playRecording(const Recording& recording, Stage& stage, GameResult& result);
