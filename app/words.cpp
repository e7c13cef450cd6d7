#include "app/words.h"

#include <clocale>
#include <libintl.h>
#include <sys/stat.h>

static bool translating = false;

void speakPlayersLanguage()
{
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    // Beside the art when started from the build or the installed game's folder.
    struct stat here {};
    const char* where = stat("locale", &here) == 0 ? "locale" : RIVERDUEL_LOCALEDIR;
    bindtextdomain("riverduel", where);
    bind_textdomain_codeset("riverduel", "UTF-8");
    translating = true;
}

const char* tr(const char* english)
{
    return translating ? dgettext("riverduel", english) : english;
}

const char* classicOr(const char* classic, const char* english)
{
    return translating ? tr(english) : classic;
}
