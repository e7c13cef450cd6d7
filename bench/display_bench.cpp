#include <allegro.h>
#include <benchmark/benchmark.h>

#include "presentation/display.h"

// Scaling the finished 800 x 600 picture for the screen: to 1440 x 1080 (a 1920 x 1080 full
// screen, 1.8 times) and to 1600 x 1200 (--scale 2). The screen copy itself is not included.
static void BM_ScalePicture(benchmark::State& state)
{
    BITMAP* picture = create_bitmap_ex(32, 800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            putpixel(picture, x, y, (x * 7 + y * 13) & 0xFFFFFF);
    const int w = static_cast<int>(state.range(0));
    BITMAP* shown = create_bitmap_ex(32, w, w * 3 / 4);
    for (auto _ : state) {
        scaleCopy(picture, shown);
        benchmark::DoNotOptimize(shown->line[0]);
        benchmark::ClobberMemory();
    }
    destroy_bitmap(shown);
    destroy_bitmap(picture);
}
BENCHMARK(BM_ScalePicture)->Arg(1440)->Arg(1600)->Arg(2880);
