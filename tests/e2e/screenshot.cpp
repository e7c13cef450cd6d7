// Screenshots for the end-to-end tests, without ImageMagick's start-up on every look:
//   screenshot FILE            the whole screen into FILE, as a binary PPM (any image tool reads it)
//   screenshot FILE SX SY      "r,g,b" of the screen pixel SX,SY of such a FILE
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

static int look(const char* path, long x, long y)
{
    FILE* file = std::fopen(path, "rb");
    long width = 0, height = 0, top = 0;
    if (!file || std::fscanf(file, "P6 %ld %ld %ld", &width, &height, &top) != 3 || top != 255 ||
        std::fgetc(file) == EOF || x < 0 || y < 0 || x >= width || y >= height)
        return 1;
    unsigned char p[3];
    if (std::fseek(file, (y * width + x) * 3, SEEK_CUR) != 0 || std::fread(p, 1, 3, file) != 3)
        return 1;
    std::fclose(file);
    std::printf("%d,%d,%d\n", p[0], p[1], p[2]);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 2)
        return take(argv[1]);
    if (argc == 4)
        return look(argv[1], std::atol(argv[2]), std::atol(argv[3]));
    std::fprintf(stderr, "usage: screenshot FILE [SX SY]\n");
    return 2;
}
