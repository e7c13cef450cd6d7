#include "app/console.h"

#include <cstdio>
#include <string>
#include <windows.h>

static std::string keptPath;

static bool writable(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void openConsole()
{
    if (writable(STD_ERROR_HANDLE))
        return; // sent to a file, a pipe or a console already
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        return;
    }
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return;
    keptPath = std::string(folder) + "riverduel-" + std::to_string(GetCurrentProcessId()) + ".txt";
    if (!std::freopen(keptPath.c_str(), "w+", stderr))
        keptPath.clear();
}

int closeConsole(int code)
{
    if (keptPath.empty())
        return code;
    std::fflush(stderr);
    std::string kept;
    if (code != 0 && std::fseek(stderr, 0, SEEK_SET) == 0) {
        char chunk[1024];
        size_t got;
        while (kept.size() < 4000 && (got = std::fread(chunk, 1, sizeof chunk, stderr)) > 0)
            kept.append(chunk, got);
    }
    std::fclose(stderr);
    DeleteFileA(keptPath.c_str());
    keptPath.clear();
    if (code != 0)
        MessageBoxA(nullptr, kept.empty() ? "River Duel ended with an error." : kept.c_str(), "River Duel",
                    MB_OK | MB_ICONERROR);
    return code;
}
