#include "audio/sound.h"

#include <allegro.h>
#include <cstdio>
#include <unistd.h>


static void silentPlay(SAMPLE*, int, int, int, int) {}
static void silentStop(SAMPLE*) {}

// Passes on what the sound drivers wrote to standard error meanwhile.
static void passOn(FILE* said)
{
    std::rewind(said);
    char line[512];
    while (std::fgets(line, sizeof line, said))
        std::fputs(line, stderr);
}

void startSound()
{
    // The sound library reports a missing card in many lines of its own on standard error;
    // they are held back, and when no device opens one line of ours says what that means.
    std::fflush(stderr);
    FILE* said = std::tmpfile();
    const int kept = said ? dup(STDERR_FILENO) : -1;
    if (kept >= 0)
        dup2(fileno(said), STDERR_FILENO);
    const bool failed = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0 || digi_card == DIGI_NONE;
    if (kept >= 0) {
        std::fflush(stderr);
        dup2(kept, STDERR_FILENO);
        close(kept);
    }
    if (failed) {
        std::fprintf(stderr, "riverduel: no sound device could be opened (%s); the game plays silently\n",
                     allegro_error[0] ? allegro_error : "none found");
        mixer = Mixer{silentPlay, silentStop};
    } else if (said) {
        passOn(said);
    }
    if (said)
        std::fclose(said);
}
