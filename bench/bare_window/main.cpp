// The floor for processor use: an Allegro window with input and timer installed that
// draws nothing and waits until it is killed.
#include <allegro.h>

int main()
{
    if (allegro_init() != 0)
        return 1;
    install_keyboard();
    install_mouse();
    install_timer();
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0)
        return 1;
    for (;;)
        rest(100);
}
END_OF_MAIN()
