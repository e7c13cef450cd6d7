// STAND-IN until the art lands: plain placeholder images and silent sounds.
#include <allegro.h>
#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::string out = argv[1];
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    mkdir((out + "/bitmaps").c_str(), 0755);
    mkdir((out + "/sound").c_str(), 0755);
    return 0;
}
END_OF_MAIN()
