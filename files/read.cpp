#include "files/files.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "files/open_flags.h"

namespace {

const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a plain file";
}

std::string whyNotOpened(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return "missing";
    return std::string("cannot be opened: ") + std::strerror(error);
}

} // namespace

bool readGameFile(const char* path, size_t maxBytes, std::vector<unsigned char>* bytes, std::string* why)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const int fd = open(path, O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = whyNotOpened(errno);
        return false;
    }
    struct stat info;
    bool ok = false;
    if (fstat(fd, &info) != 0) {
        *why = std::string("cannot be examined: ") + std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        *why = std::string("not a regular file: it is ") + kindOf(info.st_mode);
    } else if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        *why = "too large: " + std::to_string(info.st_size) + " bytes, and the game reads at most " +
               std::to_string(maxBytes);
    } else {
        bytes->clear();
        bytes->reserve(static_cast<size_t>(info.st_size));
        unsigned char chunk[65536];
        for (;;) {
            const ssize_t got = read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                *why = std::string("cannot be read: ") + std::strerror(errno);
                break;
            }
            if (got == 0) {
                ok = true;
                break;
            }
            // The file may grow while it is read.
            if (bytes->size() + static_cast<size_t>(got) > maxBytes) {
                *why = "too large: it grew past the " + std::to_string(maxBytes) + " bytes the game reads";
                break;
            }
            bytes->insert(bytes->end(), chunk, chunk + got);
        }
        if (ok && bytes->empty()) {
            *why = "damaged: the file is empty";
            ok = false;
        }
    }
    close(fd);
    return ok;
}
