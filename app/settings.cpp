#include "app/settings.h"

#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <unistd.h>

#include "files/disk.h"
#include "files/open_flags.h"

Settings::Settings()
    : keys{{KEY_A, KEY_D, KEY_S}, {KEY_LEFT, KEY_RIGHT, KEY_DOWN}}, names{"Rudko", "Berto"}
{
}

std::string settingsPath()
{
#ifdef _WIN32
    const char* roaming = std::getenv("APPDATA");
    if (roaming && *roaming)
        return std::string(roaming) + "/riverduel/settings";
    return "";
#endif
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return std::string(config) + "/riverduel/settings";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.config/riverduel/settings";
    return "";
}

std::string encodeSettings(const Settings& s)
{
    std::ostringstream out;
    out << "# River Duel's settings, written by the game\n"
        << "volume=" << s.volume << "\nscale=" << s.scale << "\nfullscreen=" << s.fullscreen
        << "\nlevel=" << s.level << "\nmatch=" << s.matchLength;
    for (int r = 0; r < 2; ++r)
        out << "\nkeys" << r + 1 << '=' << s.keys[r][0] << ' ' << s.keys[r][1] << ' ' << s.keys[r][2]
            << "\nname" << r + 1 << '=' << s.names[r];
    out << "\naddress=" << s.address << '\n';
    return out.str();
}

static bool number(const std::string& text, int low, int high, int& into)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < low || value > high)
        return false;
    into = static_cast<int>(value);
    return true;
}

static bool plainText(const std::string& text, size_t longest)
{
    if (text.size() > longest)
        return false;
    for (unsigned char c : text)
        if (c < 32 || c > 126)
            return false;
    return true;
}

static bool decodeLine(const std::string& name, const std::string& value, Settings& s)
{
    int flag = 0;
    if (name == "volume")
        return number(value, 0, 100, s.volume);
    if (name == "scale")
        return number(value, 0, 4, s.scale);
    if (name == "fullscreen") {
        if (!number(value, 0, 1, flag))
            return false;
        s.fullscreen = flag;
        return true;
    }
    if (name == "level")
        return number(value, 1, 5, s.level);
    if (name == "match")
        return number(value, 1, 9, s.matchLength);
    if (name == "address")
        return plainText(value, 255) && value.find(' ') == std::string::npos;
    for (int r = 0; r < 2; ++r) {
        if (name == "name" + std::to_string(r + 1)) {
            s.names[r] = value;
            return !value.empty() && plainText(value, 19);
        }
        if (name == "keys" + std::to_string(r + 1)) {
            std::istringstream in(value);
            std::string a, b, c;
            in >> a >> b >> c;
            return in.eof() && number(a, 1, KEY_MAX - 1, s.keys[r][0]) &&
                   number(b, 1, KEY_MAX - 1, s.keys[r][1]) && number(c, 1, KEY_MAX - 1, s.keys[r][2]);
        }
    }
    return false;
}

bool decodeSettings(const std::string& text, Settings& settings, std::string& why)
{
    Settings s;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !decodeLine(line.substr(0, equals), line.substr(equals + 1), s)) {
            why = "line " + std::to_string(number) + " makes no sense";
            return false;
        }
        if (line.substr(0, equals) == "address")
            s.address = line.substr(equals + 1);
    }
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 3; ++i)
            if (keyClashes(s, r, i, s.keys[r][i])) {
                why = "two inputs share one key";
                return false;
            }
    settings = s;
    return true;
}

Settings readSettings(const std::string& path, std::string& problem)
{
    Settings settings;
    FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!file) {
        if (!path.empty() && errno != ENOENT)
            problem = path + ": " + std::strerror(errno) + "; the defaults are used";
        return settings;
    }
    std::string text;
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() < 65536)
        text.append(chunk, got);
    const bool failed = std::ferror(file);
    std::fclose(file);
    std::string why;
    if (failed)
        why = "cannot be read";
    else if (text.size() >= 65536 || text.find('\0') != std::string::npos)
        why = "is not a settings file";
    if (!why.empty() || !decodeSettings(text, settings, why))
        problem = path + ": " + why + "; the defaults are used";
    return settings;
}

static void makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
#ifdef _WIN32
        mkdir(path.substr(0, slash).c_str());
#else
        mkdir(path.substr(0, slash).c_str(), 0700);
#endif
}

std::string writeSettings(const std::string& path, const Settings& settings)
{
    if (path.empty())
        return "no place for the settings (HOME is not set)";
    makeFolders(path);
    const std::string fresh = path + ".new";
    const std::string text = encodeSettings(settings);
#ifdef O_NOFOLLOW
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
#else
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_BINARY | O_CLOEXEC, 0600);
#endif
    if (fd < 0)
        return fresh + ": " + std::strerror(errno);
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                         flushFile(fd);
    const int error = errno;
    close(fd);
    if (!written || !moveOver(fresh, path)) {
        const std::string why = fresh + ": " + std::strerror(written ? errno : error);
        unlink(fresh.c_str());
        return why;
    }
    return "";
}

bool keyClashes(const Settings& settings, int rider, int input, int code)
{
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 3; ++i)
            if ((r != rider || i != input) && settings.keys[r][i] == code)
                return true;
    return code == KEY_ESC || code == KEY_P || code == KEY_PAUSE;
}
