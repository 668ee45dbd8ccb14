// level_check: what a level needs before it can be played, shared by the
// editor's save note and the level checker tool.
#pragma once

struct LevelCheck {
  int spawns, finishes;
  int spawnX, spawnY;   // the last spawn, where the ball starts
};

// Counts the spawns and finishes of the level in MapGrid.
LevelCheck CheckLevel();
// "No spawn", "More than one spawn", "No finish", or null when the level is
// playable; in English, for Tr() where it is shown (the hub sends it as it is).
const char* LevelCheckNote(const LevelCheck& c);
