#pragma once
// The game's words in the player's language (--comfort): English, or a translation from
// locale/LANG/LC_MESSAGES/riverduel.mo beside the game's art when one exists. The classic game
// keeps its own words.

// From now on tr() translates.
void speakPlayersLanguage();
// `english` in the player's language, or as it is.
const char* tr(const char* english);
// The classic game's own words, or with --comfort `english` in the player's language.
const char* classicOr(const char* classic, const char* english);
