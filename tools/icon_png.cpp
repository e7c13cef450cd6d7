// Turns a drawn BMP icon (48, 64, 128 or 256 pixels square) into the PNG that desktops look for. Pixels in the mask colour
// become transparent, every other pixel opaque.
#include <allegro.h>
#include <loadpng.h>
#include <cerrno>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ICON.bmp ICON.png\n", argv[0]);
        return 2;
    }
    const char* in = argv[1];
    const char* out = argv[2];
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "%s: cannot start Allegro\n", argv[0]);
        return 1;
    }
    set_color_depth(32);

    BITMAP* drawn = load_bitmap(in, nullptr);
    if (!drawn) {
        std::fprintf(stderr, "%s: cannot read the icon %s (the asset generator draws it)\n", argv[0], in);
        return 1;
    }
    const int size = drawn->w;
    if (drawn->h != size || (size != 48 && size != 64 && size != 128 && size != 256)) {
        std::fprintf(stderr, "%s: %s is %d x %d, the icon must be square, 48, 64, 128 or 256 pixels\n",
                     argv[0], in, drawn->w, drawn->h);
        return 1;
    }

    // save_png writes a 32-bit bitmap with its alpha byte, which load_bitmap leaves at 0.
    BITMAP* icon = create_bitmap_ex(32, size, size);
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            const int c = getpixel(drawn, x, y);
            const int r = getr32(c), g = getg32(c), b = getb32(c);
            const bool masked = r == 255 && g == 0 && b == 255;
            putpixel(icon, x, y, makeacol32(r, g, b, masked ? 0 : 255));
        }
    }
    const bool failed = save_png(out, icon, nullptr) != 0;
    if (failed)
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], out);
    destroy_bitmap(icon);
    destroy_bitmap(drawn);
    return failed ? 1 : 0;
}
END_OF_MAIN()
