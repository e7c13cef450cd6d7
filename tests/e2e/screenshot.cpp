// Screenshots for the end-to-end tests, without ImageMagick's start-up on every look:
//   screenshot FILE            the whole screen into FILE, as a binary PPM (any image tool reads it)
//   screenshot FILE SX SY      "r,g,b" of the screen pixel SX,SY of such a FILE
//   screenshot FILE SX SY W H  "X,Y: #RRGGBB " for each pixel of that W x H block (as ImageMagick's
//                              txt: format gives a crop, X,Y from its corner)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

static int take(const char* path)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const Window root = DefaultRootWindow(display);
    XWindowAttributes size{};
    XGetWindowAttributes(display, root, &size);
    XImage* image = XGetImage(display, root, 0, 0, size.width, size.height, AllPlanes, ZPixmap);
    if (!image)
        return 1;
    // The X server's usual 24-bit screen: each pixel one word, red highest.
    if (image->bits_per_pixel != 32 || image->byte_order != LSBFirst || image->red_mask != 0xff0000 ||
        image->green_mask != 0xff00 || image->blue_mask != 0xff) {
        std::fprintf(stderr, "screenshot: not a 24-bit screen\n");
        return 1;
    }
    std::vector<unsigned char> rgb(size_t(size.width) * size.height * 3);
    unsigned char* out = rgb.data();
    for (int y = 0; y < size.height; ++y) {
        const unsigned char* in = reinterpret_cast<unsigned char*>(image->data) + size_t(y) * image->bytes_per_line;
        for (int x = 0; x < size.width; ++x, in += 4) {
            *out++ = in[2];
            *out++ = in[1];
            *out++ = in[0];
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return 1;
    std::fprintf(file, "P6\n%d %d\n255\n", size.width, size.height);
    const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}

static int look(const char* path, long x, long y, long w, long h, bool block)
{
    FILE* file = std::fopen(path, "rb");
    long width = 0, height = 0, top = 0;
    if (!file || std::fscanf(file, "P6 %ld %ld %ld", &width, &height, &top) != 3 || top != 255 ||
        std::fgetc(file) == EOF || x < 0 || y < 0 || w < 1 || h < 1 || x + w > width || y + h > height)
        return 1;
    const long start = std::ftell(file);
    std::vector<unsigned char> row(size_t(w) * 3);
    for (long r = 0; r < h; ++r) {
        if (std::fseek(file, start + ((y + r) * width + x) * 3, SEEK_SET) != 0 ||
            std::fread(row.data(), 1, row.size(), file) != row.size())
            return 1;
        for (long c = 0; c < w; ++c) {
            const unsigned char* p = &row[size_t(c) * 3];
            if (block)
                std::printf("%ld,%ld: #%02X%02X%02X \n", c, r, p[0], p[1], p[2]);
            else
                std::printf("%d,%d,%d\n", p[0], p[1], p[2]);
        }
    }
    std::fclose(file);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 2)
        return take(argv[1]);
    if (argc == 4)
        return look(argv[1], std::atol(argv[2]), std::atol(argv[3]), 1, 1, false);
    if (argc == 6)
        return look(argv[1], std::atol(argv[2]), std::atol(argv[3]), std::atol(argv[4]), std::atol(argv[5]), true);
    std::fprintf(stderr, "usage: screenshot FILE [SX SY [W H]]\n");
    return 2;
}
