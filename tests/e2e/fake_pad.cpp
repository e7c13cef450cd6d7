// Preloaded into the game by the gamepad test: the files named in FAKE_PADS, separated by
// colons (FIFOs the test writes js_event records into), answer the joystick driver's
// questions as pads would, with FAKE_PAD_AXES axes (8) and FAKE_PAD_BUTTONS buttons (11), and
// the name FAKE_PAD_NAME ("River Duel test pad").
// Every other ioctl goes through.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <linux/joystick.h>
#include <string>
#include <sys/stat.h>

static bool isFakePad(int fd)
{
    const char* paths = std::getenv("FAKE_PADS");
    struct stat opened;
    if (!paths || fstat(fd, &opened) != 0)
        return false;
    std::string list = paths;
    for (size_t from = 0; from <= list.size();) {
        size_t colon = list.find(':', from);
        if (colon == std::string::npos)
            colon = list.size();
        struct stat pad;
        if (stat(list.substr(from, colon - from).c_str(), &pad) == 0 && pad.st_dev == opened.st_dev &&
            pad.st_ino == opened.st_ino)
            return true;
        from = colon + 1;
    }
    return false;
}

static int count(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    const bool nameRequest = _IOC_TYPE(request) == 'j' && _IOC_NR(request) == _IOC_NR(JSIOCGNAME(0));
    if (request == JSIOCGVERSION || request == JSIOCGAXES || request == JSIOCGBUTTONS || nameRequest) {
        if (isFakePad(fd)) {
            if (request == JSIOCGVERSION) {
                *static_cast<__u32*>(arg) = JS_VERSION;
            } else if (request == JSIOCGAXES) {
                *static_cast<__u8*>(arg) = static_cast<__u8>(count("FAKE_PAD_AXES", 8));
            } else if (request == JSIOCGBUTTONS) {
                *static_cast<__u8*>(arg) = static_cast<__u8>(count("FAKE_PAD_BUTTONS", 11));
            } else {
                const char* given = std::getenv("FAKE_PAD_NAME");
                const char* name = given && *given ? given : "River Duel test pad";
                const size_t room = _IOC_SIZE(request);
                if (room == 0)
                    return 0;
                std::strncpy(static_cast<char*>(arg), name, room);
                static_cast<char*>(arg)[room - 1] = '\0';
                return static_cast<int>(std::strlen(static_cast<char*>(arg)));
            }
            return 0;
        }
    }
    using Ioctl = int (*)(int, unsigned long, ...);
    static const Ioctl real = reinterpret_cast<Ioctl>(dlsym(RTLD_NEXT, "ioctl"));
    return real(fd, request, arg);
}
