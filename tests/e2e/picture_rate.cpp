// Grabs a rectangle of the screen every 2 ms for a while and prints how many different
// pictures it saw a second and how long the longest one stayed, in milliseconds: "RATE LONGEST".
// A grab that comes more than 10 ms after the one before (this program was kept waiting on a
// busy machine) leaves its time out of the count and the picture it ends out of the longest.
// Usage: picture_rate X Y W H SECONDS
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

static uint64_t hashImage(const XImage* image)
{
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < image->height; ++y) {
        const unsigned char* row = reinterpret_cast<const unsigned char*>(image->data) + y * image->bytes_per_line;
        for (int i = 0; i < image->width * image->bits_per_pixel / 8; ++i)
            h = (h ^ row[i]) * 1099511628211ull;
    }
    return h;
}

int main(int argc, char** argv)
{
    if (argc != 6)
        return 2;
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const unsigned w = std::atoi(argv[3]), h = std::atoi(argv[4]);
    const double seconds = std::atof(argv[5]);
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const Window root = DefaultRootWindow(display);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    Clock::time_point changedAt = start;
    uint64_t last = 0;
    int changes = -1; // the first grab is no change
    double longest = 0.0;
    Clock::time_point grabbed = start;
    double blind = 0.0; // seconds not looked at
    bool missed = false; // the picture now shown may have begun unseen
    for (Clock::time_point now = start; now - start < std::chrono::duration<double>(seconds); now = Clock::now()) {
        const double gap = std::chrono::duration<double>(now - grabbed).count();
        grabbed = now;
        if (gap > 0.010) {
            blind += gap;
            missed = true;
        }
        XImage* image = XGetImage(display, root, x, y, w, h, AllPlanes, ZPixmap);
        if (!image)
            return 2;
        const uint64_t hash = hashImage(image);
        XDestroyImage(image);
        if (changes < 0 || hash != last) {
            if (changes >= 1 && !missed) // the first picture's start was not seen
                longest = std::max(longest, std::chrono::duration<double, std::milli>(now - changedAt).count());
            // A change after a blind stretch is left out with the stretch's time.
            changes += changes < 0 || !missed ? 1 : 0;
            changedAt = now;
            missed = false;
            last = hash;
        }
        std::this_thread::sleep_until(now + std::chrono::milliseconds(2));
    }
    std::printf("%.1f %.0f\n", changes / (seconds - blind), longest);
    XCloseDisplay(display);
    return 0;
}
