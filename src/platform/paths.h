// paths: chooses at start-up where the game's files are and fills the Places
// record (game/base/places.h). When the working directory holds the game's own
// pictures (Media/tetherorb2texture.png and Media/dashboard.png) the game
// runs from the repository and every file stays there, and so it does
// when the executable has no data folder beside it (a build never installed);
// otherwise it runs installed: shipped data found from the executable's folder
// (TETHERORB_DATA_FROM_EXECUTABLE below),
// settings in $XDG_CONFIG_HOME/tetherorb2 and everything the player makes in
// $XDG_DATA_HOME/tetherorb2 (Levels/, screenshots/), and what it keeps only
// to save fetching it again (the hub's level pictures) in
// $XDG_CACHE_HOME/tetherorb2 (in the repository: cache/). A folder too long a path
// to hold the game's files is never cut: an XDG variable gives way to the
// home folder's default, and a home or data folder too long as well leaves
// the working directory, each said in one line on stderr.
//   ChoosePaths()          fills Places once; the other modules only read it
//   ChoosePlayerFolders()  the installed game's part of it for the player's
//                          own folders (levels, screenshots, settings, cache)
#pragma once

#include "game/base/places.h"

// Bytes each chosen folder leaves for what the game puts in it: the longest
// is "screenshots/screenshot2147483647.png", and "Media/sounds/<file>".
const int PathNameRoom = 64;

// How the installed game finds its data: relative to the folder of the
// executable, set by the build to match the install layout.
#ifndef TETHERORB_DATA_FROM_EXECUTABLE
#define TETHERORB_DATA_FROM_EXECUTABLE "../share/games/tetherorb2"
#endif
// ... and its compiled catalogues; a build tree keeps them in "locale" beside the executable.
#ifndef TETHERORB_LOCALE_FROM_EXECUTABLE
#define TETHERORB_LOCALE_FROM_EXECUTABLE "../share/locale"
#endif
const char BuildTreeLocale[] = "locale";

void ChoosePaths();
void ChoosePlayerFolders();
