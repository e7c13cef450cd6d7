#include "input/gamepad.h"

#include <allegro.h>
#include <string>
#include <sys/stat.h>

namespace {

// What stands at a pad's device path: a device node is made anew each time a pad is plugged
// in, so a different inode is a different pad.
struct DeviceMark {
    bool present = false;
    dev_t device = 0;
    ino_t inode = 0;

    bool operator==(const DeviceMark& other) const
    {
        return present == other.present && device == other.device && inode == other.inode;
    }
};

constexpr int watchedPads = 2;
bool wanted = false;
bool started = false;
std::string configuredPath[watchedPads];
DeviceMark marks[watchedPads];

} // namespace

// The path the library's Linux driver opens for pad `pad`, when its configuration names one.
static std::string configuredDevice(int pad)
{
    const std::string key = "joystick_device_" + std::to_string(pad);
    const char* path = get_config_string("joystick", key.c_str(), nullptr);
    if (!path && pad == 0)
        path = get_config_string("joystick", "joystick_device", nullptr);
    return path ? path : "";
}

static DeviceMark markAt(const std::string& path)
{
    DeviceMark mark;
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        mark.present = true;
        mark.device = info.st_dev;
        mark.inode = info.st_ino;
    }
    return mark;
}

static DeviceMark markOf(int pad)
{
    if (!configuredPath[pad].empty())
        return markAt(configuredPath[pad]);
    const DeviceMark mark = markAt("/dev/input/js" + std::to_string(pad));
    return mark.present ? mark : markAt("/dev/js" + std::to_string(pad));
}

static void install()
{
    remove_joystick();
    started = install_joystick(JOY_TYPE_AUTODETECT) == 0;
    for (int pad = 0; pad < watchedPads; ++pad)
        marks[pad] = markOf(pad);
}

void startGamepads()
{
    wanted = true;
    for (int pad = 0; pad < watchedPads; ++pad)
        configuredPath[pad] = configuredDevice(pad);
    install();
}

RiderInput gamepadInput(int pad)
{
    if (!wanted || pad < 0 || pad >= watchedPads)
        return RiderInput();
    const DeviceMark now = markOf(pad);
    // The library keeps an unplugged pad's last state, held buttons and all: it is ignored
    // until a pad stands at its path again, which the driver, restarted, then opens.
    if (!now.present)
        return RiderInput();
    if (!(now == marks[pad]))
        install();
    if (!started || pad >= num_joysticks)
        return RiderInput();
    poll_joystick();
    return padInput(joy[pad]);
}
