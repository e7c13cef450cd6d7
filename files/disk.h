#pragma once
// Writing files safely, on Linux and on Windows (disk_windows.cpp): what recordings and the
// settings need.
#include <string>

// A new file at `name`, opened for writing: never what is already there, a link included.
// -1 with errno (EEXIST when the name is taken) on failure.
int createFile(const std::string& name);
// What stands at `path` when it is not a regular file ("a directory", "a symbolic link", ...),
// without following a link; "" for a regular file. False with errno when nothing could be
// looked at (ENOENT or ENOTDIR when nothing is there).
bool lookAt(const std::string& path, std::string& kind);
// The file's bytes on the disk. False with errno.
bool flushFile(int fd);
// Moves `from` to `to` only when nothing is at `to`. False with errno EEXIST when something is.
bool moveToFree(const std::string& from, const std::string& to);
// Moves `from` to `to`, replacing a regular file there. False with errno.
bool moveOver(const std::string& from, const std::string& to);
// The folder's new names on the disk, where the system keeps them apart from the files.
void flushFolder(const std::string& folder);
// A write past a file-size limit fails with EFBIG instead of ending the game.
void keepFileSizeLimitFromKilling();
