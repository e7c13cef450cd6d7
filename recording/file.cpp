#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "files/open_flags.h"
#include "recording/recording.h"

// The largest file a recording can be: the header, every pass in a block of its own, the end.
static constexpr size_t largestFile = 26 + maxBuildLength + 6 * size_t(maxRecordedPasses) + 17;

static std::string lastError()
{
    return std::strerror(errno);
}

std::string loadRecording(const std::string& path, Recording& recording)
{
    // Never block on a pipe or a device named as a recording, and never read more than the
    // largest recording there can be.
    const int fd = open(path.c_str(), O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return "cannot open it: " + lastError();
    struct stat info;
    std::string error;
    std::vector<uint8_t> bytes;
    if (fstat(fd, &info) != 0)
        error = "cannot read it: " + lastError();
    else if (!S_ISREG(info.st_mode))
        error = "not a regular file";
    else if (static_cast<uint64_t>(info.st_size) > largestFile)
        error = "too large for a recording (" + std::to_string(info.st_size) + " bytes)";
    else {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                error = "cannot read it: " + lastError();
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        if (error.empty() && done != bytes.size())
            error = "cannot read it whole: it shrank while it was read";
    }
    close(fd);
    if (!error.empty())
        return error;
    return decodeRecording(bytes.data(), bytes.size(), recording);
}
