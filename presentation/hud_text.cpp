#include "presentation/hud_text.h"

#include <allegro.h>
#include <cstring>

HudWords hudWords;

void drawBigText(BITMAP* dest, const char* text, int centreX, int y, int size, int colour)
{
    const int w = text_length(font, text);
    const int h = text_height(font);
    BITMAP* line = create_bitmap(w, h);
    if (!line)
        return;
    const int x = centreX - w * size / 2;
    for (int pass = 0; pass < 2; ++pass) {
        clear_to_color(line, bitmap_mask_color(line));
        textout_ex(line, font, text, 0, 0, pass ? colour : makecol(0, 0, 0), -1);
        const int off = pass ? 0 : (size + 1) / 2;
        masked_stretch_blit(line, dest, 0, 0, w, h, x + off, y + off, w * size, h * size);
    }
    destroy_bitmap(line);
}

void drawBanner(BITMAP* dest, const char* line, const char* hint, int y)
{
    const int bottom = y + (hint ? 56 : 40);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    set_trans_blender(0, 0, 0, 176);
    rectfill(dest, 0, y, SCREEN_W - 1, bottom, makecol(0, 0, 32));
    solid_mode();
    drawBigText(dest, line, SCREEN_W / 2, y + 8, 3, makecol(255, 255, 0));
    if (hint)
        drawBigText(dest, hint, SCREEN_W / 2, y + 40, 1, makecol(255, 255, 255));
}
