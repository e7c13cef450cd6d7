#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "recording/recording.h"

static constexpr size_t largestFile = 11 + maxBuildLength + 15 + maxRecordedPasses + 12;

std::string loadRecording(const std::string& path, Recording& recording)
{
    // Never block on a pipe or a device named as a recording, and never read more than the
    // largest recording there can be.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::string("cannot open it: ") + std::strerror(errno);
    struct stat info;
    std::string error;
    std::vector<uint8_t> bytes;
    if (fstat(fd, &info) != 0)
        error = std::string("cannot read it: ") + std::strerror(errno);
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
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        if (done != bytes.size())
            error = "cannot read it whole";
    }
    close(fd);
    if (!error.empty())
        return error;
    return decodeRecording(bytes.data(), bytes.size(), recording);
}

std::string saveRecording(const std::string& path, const Recording& recording)
{
    const std::vector<uint8_t> bytes = encodeRecording(recording);
    const std::string part = path + ".part";
    FILE* file = std::fopen(part.c_str(), "wb");
    if (!file)
        return "cannot write " + part + ": " + std::strerror(errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(part.c_str());
        return "cannot write " + part;
    }
    if (std::rename(part.c_str(), path.c_str()) != 0) {
        const std::string error = "cannot write " + path + ": " + std::strerror(errno);
        std::remove(part.c_str());
        return error;
    }
    return "";
}
