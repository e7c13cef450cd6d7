#include "files/disk.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

// Names are in the system's code page, as the C library's open() takes them.

int createFile(const std::string& name)
{
    // O_EXCL (CREATE_NEW) never opens what is there, a link or a junction included.
    return _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

static int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    case ERROR_PATH_NOT_FOUND: return ENOTDIR;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

bool lookAt(const std::string& path, std::string& kind)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        errno = errnoOf(GetLastError());
        return false;
    }
    kind = attributes & FILE_ATTRIBUTE_REPARSE_POINT ? "a link (a reparse point)"
           : attributes & FILE_ATTRIBUTE_DIRECTORY   ? "a directory"
           : attributes & FILE_ATTRIBUTE_DEVICE      ? "a device"
                                                     : "";
    return true;
}

bool flushFile(int fd)
{
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE || !FlushFileBuffers(file)) {
        errno = EIO;
        return false;
    }
    return true;
}

static bool moveFile(const std::string& from, const std::string& to, DWORD flags)
{
    if (MoveFileExA(from.c_str(), to.c_str(), flags | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = errnoOf(GetLastError());
    return false;
}

bool moveToFree(const std::string& from, const std::string& to)
{
    return moveFile(from, to, 0); // without MOVEFILE_REPLACE_EXISTING: never over a file
}

bool moveOver(const std::string& from, const std::string& to)
{
    return moveFile(from, to, MOVEFILE_REPLACE_EXISTING);
}

void flushFolder(const std::string&)
{
    // MOVEFILE_WRITE_THROUGH: the move is on the disk when it returns.
}

void keepFileSizeLimitFromKilling()
{
    // Windows has no such limit.
}
