// Writing a recording while its game is played, so that nothing someone owns is ever
// replaced or written through, and a game cut off by a crash is still on disk.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "files/disk.h"
#include "recording/recording.h"

namespace {

std::string reason(int error = errno)
{
    return std::strerror(error);
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file at the first name of base, base-2, base-3, ... that nothing holds.
int createNew(const std::string& base, std::string& made)
{
    for (int n = 1; n <= 1000; ++n) {
        const std::string name = n == 1 ? base : base + "-" + std::to_string(n);
        const int fd = createFile(name);
        if (fd >= 0) {
            made = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1; // errno is EEXIST
}

bool writeAll(int fd, const uint8_t* data, size_t size)
{
    keepFileSizeLimitFromKilling();
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::string recordingPath(const std::string& first, int game)
{
    if (game <= 1)
        return first;
    const size_t slash = first.rfind('/');
    size_t dot = first.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        dot = first.size();
    return first.substr(0, dot) + "-" + std::to_string(game) + first.substr(dot);
}

std::string checkRecordingTarget(const std::string& first)
{
    std::string kind;
    if (lookAt(first, kind)) {
        if (!kind.empty())
            return "it is " + kind + ", not a regular file, and a recording never replaces one";
    } else if (errno != ENOENT && errno != ENOTDIR) {
        return "cannot look at it: " + reason();
    }
    // A file made and removed again shows a missing or read-only folder, one this user may
    // not write in, or a full disk, before anyone plays.
    const std::string folder = folderOf(first);
    std::string probe;
    const int fd = createNew(first + ".part", probe);
    if (fd < 0)
        return "cannot create a file in " + folder + ": " + reason();
    const uint8_t bytes[64] = {};
    const bool written = writeAll(fd, bytes, sizeof bytes);
    const int error = errno;
    close(fd);
    unlink(probe.c_str());
    if (!written)
        return "cannot write in " + folder + ": " + reason(error);
    return "";
}

RecordingWriter::~RecordingWriter()
{
    if (fd_ >= 0)
        close(fd_); // what was written stays, an unfinished recording
}

std::string RecordingWriter::fail(const std::string& why)
{
    const int error = errno;
    std::string what = why + ": " + reason(error);
    if (fd_ >= 0) {
        // Back to the last whole piece, so the file reads as an unfinished recording.
        if (written_ > 0 && ftruncate(fd_, static_cast<off_t>(written_)) == 0)
            what += "; the game so far stays in " + part_;
        close(fd_);
        fd_ = -1;
        if (written_ == 0)
            unlink(part_.c_str());
    }
    return what;
}

std::string RecordingWriter::write(const std::vector<uint8_t>& bytes)
{
    if (!writeAll(fd_, bytes.data(), bytes.size()))
        return fail("cannot write " + part_);
    written_ += bytes.size();
    return "";
}

std::string RecordingWriter::begin(const Recording& head, int game)
{
    if (fd_ >= 0)
        close(fd_);
    game_ = game;
    count_ = 0;
    written_ = 0;
    pending_.clear();
    fd_ = createNew(first_ + ".part", part_);
    if (fd_ < 0)
        return "cannot create " + first_ + ".part: " + reason();
    return write(encoder_.header(head));
}

std::string RecordingWriter::add(uint8_t pass)
{
    if (fd_ < 0)
        return "";
    if (count_ == maxRecordedPasses) {
        errno = EFBIG;
        return fail("the game is longer than a recording holds");
    }
    pending_.push_back(pass);
    ++count_;
    if (pending_.size() < passesPerBlock)
        return "";
    // One write a second: a crash or kill -9 loses at most the last second of the game.
    const std::vector<uint8_t> block = encoder_.block(pending_.data(), pending_.size());
    pending_.clear();
    return write(block);
}

std::string RecordingWriter::finish(uint64_t finalState, std::string& path)
{
    if (fd_ < 0)
        return "nothing was written";
    std::vector<uint8_t> bytes;
    if (!pending_.empty())
        bytes = encoder_.block(pending_.data(), pending_.size());
    pending_.clear();
    const std::vector<uint8_t> end = encoder_.end(count_, finalState);
    bytes.insert(bytes.end(), end.begin(), end.end());
    std::string error = write(bytes);
    if (!error.empty())
        return error;
    if (!flushFile(fd_))
        return fail("cannot write " + part_ + " to disk");
    close(fd_);
    fd_ = -1;

    const std::string stays = "; the game stays in " + part_;
    std::string target;
    if (overwrite_) {
        target = recordingPath(first_, game_);
        std::string kind;
        if (lookAt(target, kind) && !kind.empty())
            return "cannot replace " + target + ": it is " + kind + stays;
        if (!moveOver(part_, target))
            return "cannot rename it to " + target + ": " + reason() + stays;
    } else {
        for (int n = 1;; ++n) {
            target = recordingPath(first_, n);
            if (moveToFree(part_, target))
                break;
            if (errno != EEXIST || n == 100000)
                return "cannot rename it to " + target + ": " + reason() + stays;
        }
    }
    // The new name is on disk only once its folder is.
    flushFolder(folderOf(target));
    path = target;
    return "";
}
