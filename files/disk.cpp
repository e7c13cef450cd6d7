#include "files/disk.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int createFile(const std::string& name)
{
    // O_EXCL never opens what is there, a symbolic link included.
    return open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
}

bool lookAt(const std::string& path, std::string& kind)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return false;
    const mode_t mode = info.st_mode;
    kind = S_ISREG(mode)    ? ""
           : S_ISLNK(mode)  ? "a symbolic link"
           : S_ISDIR(mode)  ? "a directory"
           : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
           : S_ISFIFO(mode) ? "a FIFO"
           : S_ISSOCK(mode) ? "a socket"
                            : "not a plain file";
    return true;
}

bool flushFile(int fd)
{
    return fsync(fd) == 0;
}

bool moveToFree(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that kind of rename: a hard link is made only at a free name.
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    unlink(from.c_str());
    return true;
}

bool moveOver(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void flushFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// A file-size limit (ulimit -f) would kill the whole game with SIGXFSZ at the first write past
// it; ignored, the write fails with EFBIG instead and is reported as a full disk is.
void keepFileSizeLimitFromKilling()
{
    static const bool once = [] {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        return sigaction(SIGXFSZ, &ignore, nullptr) == 0;
    }();
    (void)once;
}
