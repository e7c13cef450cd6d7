// Prints how Allegro's default font draws a line of text: one row of 0/1 per pixel row,
// 8 rows, 8 columns a character. The end-screen test compares the screen against it.
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    const int width = text_length(font, argv[1]);
    BITMAP* canvas = create_bitmap(width, 8);
    clear_to_color(canvas, 0);
    textout_ex(canvas, font, argv[1], 0, 0, makecol(255, 255, 0), -1);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < width; ++x)
            std::putchar(getpixel(canvas, x, y) ? '1' : '0');
        std::putchar('\n');
    }
    return 0;
}
END_OF_MAIN()
