#include "app/words.h"

// The Windows build has no gettext: it speaks English.
static bool speaking = false;

void speakPlayersLanguage()
{
    speaking = true;
}

const char* tr(const char* english)
{
    return english;
}

const char* classicOr(const char* classic, const char* english)
{
    return speaking ? english : classic;
}
