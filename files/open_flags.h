#pragma once
// open()'s flags as every system here knows them: files are always bytes (O_BINARY, which
// only Windows has, keeps its C library from reading them as text), and the flags Windows
// lacks ask nothing there (it has no FIFOs, controlling terminals or inherited descriptors
// across exec). O_NOFOLLOW is not among them: who needs it says what stands in for it.
#include <fcntl.h>
#include <sys/stat.h>

#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifdef _WIN32
#define O_NONBLOCK 0
#define O_CLOEXEC O_NOINHERIT
#define O_NOCTTY 0
#define S_ISSOCK(mode) false
#endif
