// medal_set: the medal pictures' file, shared by the artwork generator that
// draws it and the game that loads it: "Media/medals.png", one row of square
// cells, bronze, silver, gold and the author medal (game/run/medals.h order from
// medal_bronze). They are told apart without colour too: one, two and three
// notches on a round medal, and a star for the author's.
#pragma once

const char* const MedalsFileName = "medals.png";
const int MedalCellPixels = 64;
const int MedalPictureCount = 4;
