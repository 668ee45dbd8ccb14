// paths: chooses at start-up where the game's files are and fills the Places
// record (game/places.h). When the working directory holds the game's own
// pictures (Media/tetherorb2texture.png and Media/dashboard.png) the game
// runs from the repository and every file stays there, and so it does
// when the executable has no data folder beside it (a build never installed);
// otherwise it runs installed: shipped data found from the executable's folder
// (TETHERORB_DATA_FROM_EXECUTABLE below),
// settings in $XDG_CONFIG_HOME/tetherorb2 and everything the player makes in
// $XDG_DATA_HOME/tetherorb2 (Levels/, screenshots/).
//   ChoosePaths()   fills Places once; the other modules only read it
#pragma once

// How the installed game finds its data: relative to the folder of the
// executable, set by the build to match the install layout.
#ifndef TETHERORB_DATA_FROM_EXECUTABLE
#define TETHERORB_DATA_FROM_EXECUTABLE "../share/games/tetherorb2"
#endif

void ChoosePaths();
