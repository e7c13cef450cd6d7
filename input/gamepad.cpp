#include "input/gamepad.h"

#include <allegro.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

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
// What each pad reported of itself when it was found, and so where its buttons are.
std::string names[watchedPads];
const PadLayout* layouts[watchedPads] = {&plainPadLayout(), &plainPadLayout()};
// The commands each pad held when it was last read.
PadCommands lastHeld[watchedPads];
std::string status;

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

// Where the driver finds pad `pad`: the configured device, or the first of the usual two.
static std::string pathOf(int pad)
{
    if (!configuredPath[pad].empty())
        return configuredPath[pad];
    const std::string path = "/dev/input/js" + std::to_string(pad);
    return markAt(path).present ? path : "/dev/js" + std::to_string(pad);
}

static DeviceMark markOf(int pad)
{
    return markAt(pathOf(pad));
}

// Asks the pad at `pad`'s device for its name and its number of buttons.
static void learn(int pad)
{
    names[pad].clear();
    layouts[pad] = &plainPadLayout();
    if (!marks[pad].present)
        return;
    const int fd = open(pathOf(pad).c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return;
    char name[128] = {};
    unsigned char buttons = 0;
    if (ioctl(fd, JSIOCGNAME(sizeof name - 1), name) < 0)
        name[0] = '\0';
    if (ioctl(fd, JSIOCGBUTTONS, &buttons) < 0)
        buttons = 0;
    close(fd);
    names[pad] = name[0] ? name : "a gamepad";
    layouts[pad] = &padLayout(name, buttons);
}

static void install()
{
    remove_joystick();
    started = install_joystick(JOY_TYPE_AUTODETECT) == 0;
    for (int pad = 0; pad < watchedPads; ++pad) {
        marks[pad] = markOf(pad);
        learn(pad);
    }
}

void startGamepads()
{
    wanted = true;
    for (int pad = 0; pad < watchedPads; ++pad)
        configuredPath[pad] = configuredDevice(pad);
    install();
}

// Pad `pad` read afresh, or nullptr when it is not there.
static const JOYSTICK_INFO* readPad(int pad)
{
    const DeviceMark now = markOf(pad);
    // The library keeps an unplugged pad's last state, held buttons and all: it is ignored
    // until a pad stands at its path again, which the driver, restarted, then opens.
    if (!now.present) {
        lastHeld[pad] = PadCommands();
        return nullptr;
    }
    if (!(now == marks[pad]))
        install();
    if (!started || pad >= num_joysticks) {
        lastHeld[pad] = PadCommands();
        return nullptr;
    }
    poll_joystick();
    lastHeld[pad] = padCommands(joy[pad], *layouts[pad]);
    return &joy[pad];
}

RiderInput gamepadInput(int pad)
{
    if (!wanted || pad < 0 || pad >= watchedPads)
        return RiderInput();
    const JOYSTICK_INFO* read = readPad(pad);
    return read ? padInput(*read, *layouts[pad]) : RiderInput();
}

PadPresses gamepadCommands()
{
    PadPresses presses;
    if (!wanted)
        return presses;
    for (int pad = 0; pad < watchedPads; ++pad) {
        const PadCommands before = lastHeld[pad];
        if (!readPad(pad))
            continue;
        const PadCommands& now = lastHeld[pad];
        presses.held.face = presses.held.face || now.face;
        presses.held.escape = presses.held.escape || now.escape;
        presses.pressed.face = presses.pressed.face || (now.face && !before.face);
        presses.pressed.escape = presses.pressed.escape || (now.escape && !before.escape);
    }
    return presses;
}

const char* gamepadStatus()
{
    if (!wanted)
        return nullptr;
    status = "gamepads:";
    for (int pad = 0; pad < watchedPads; ++pad)
        if (started && pad < num_joysticks && !names[pad].empty() && markOf(pad).present)
            status += (status.back() == ':' ? " " : ", ") + names[pad];
    if (status.back() == ':')
        status = "no gamepad found";
    return status.c_str();
}
