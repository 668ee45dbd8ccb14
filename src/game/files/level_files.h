// Room game/files: level, score, ghost and replay files, level ids, checks,
// pictures and slots. Includes base and play.
//
// level_files: the level files "level%i.dat" (title line, width,
// height, one row of letters 'a'..'l' per line) and the 4-byte little-endian
// best-score files "level%i.score" (folders in places.h), with the catalogue
// of the 999 slots read at start-up. Saves go through file_save.h: they replace
// a file whole or leave it as it was; the best run's ghost file is saved the
// same way, beside the score file.
#pragma once

#include <cstddef>
#include <cstdio>

#include "game/base/places.h"

const int MaxLevels = 999;         // level numbers 1..999
const int ShippedLevelCount = 15;  // levels 1..15 come with the game
const int TitleSlotSize = 256;     // 254 bytes of UTF-8 title, the line feed and the terminator

extern char LevelTitles[MaxLevels][TitleSlotSize]; // first line of each file, line feed kept
extern bool LevelExists[MaxLevels];
extern int LevelBest[MaxLevels];   // best score, 0 when there is none
extern int HighestLevel;           // highest level number with a file, 0 if none
extern int SavedFileCount;         // level, score and ghost files replaced or removed since start-up

// What the reader had to mend in a file that did not follow the format.
struct LevelRepairs {
  bool titleCut;        // the title line was longer than its slot
  bool sizeClamped;     // width or height outside 0..998 / 0..1000, or not a number
  int shortRows;        // rows missing or shorter than the width
  int badCharacters;    // bytes outside 'a'..'l' inside the level rectangle
};

// "level<n>.dat", "level<n>.score" and "level<n>.ghost" in the player's level
// folder (see places.h), where saves go; "Levels/..." when run from the
// repository. The ghost file always lies in the score file's folder. Each
// is false, with out empty, when the path does not fit a PathBuffer: the
// file is then neither read nor written, and a save fails with ENAMETOOLONG.
bool LevelFileName(PathBuffer& out, int n);
bool ScoreFileName(PathBuffer& out, int n);
bool GhostFileName(PathBuffer& out, int n);
// "level<n>.assist.score": the best of runs made with an assist (game/files/assist_best.h).
bool AssistScoreFileName(PathBuffer& out, int n);
// The level file that is read: the player's copy, else the shipped one.
bool ShippedOrUserLevelName(PathBuffer& out, int n);
// The folder of the score and ghost files.
const char* ScoreFolder();

// Reads the title slots and existence flags of all slots, and the best
// scores of the slots the lists show; a slot above 15 without a level costs
// only the failed look for its level file.
void LoadLevelCatalogue();

// True for 1..15 and for a higher level number whose level exists: the slots
// whose best score and ghost the lists can show.
bool LevelSlotShown(int n);

// LevelExists and the title slot of level n from its file as it is now; the
// slot keeps its title when there is none.
void ReadLevelTitle(int n);

// HighestLevel again from LevelExists.
void FindHighestLevel();

// Reads a title line into a slot: at most 254 characters, always ending in a
// line feed; true when characters had to be cut.
bool ReadTitleLine(FILE* f, char* slot);

// Reads a whole level file into MapGrid, LevelWidth and LevelHeight; cells
// outside 0..11 become maptype_nothing. repairs and title may be null.
void ReadLevelStream(FILE* f, char* title, LevelRepairs* repairs);

// 0 when level n's file opens for reading and is a regular file; else errno's
// reason (EISDIR for a folder, EINVAL for another kind of file, ENAMETOOLONG
// for a path that does not fit).
int LevelFileError(int n);

// Reads level n's file (when it opens), then runs ScanLevel.
void LoadLevel(int n);

// The spawn cells in level n's file as the reader would place them, read
// without touching MapGrid or the level size; 0 when the file does not open.
int LevelFileSpawns(int n);

// Writes CurrentLevel's title, size and rows; true when the file was replaced.
bool SaveLevel();

// Writes the title line, size and rows of the current grid to a stream, as
// every level file is written (the level hub takes it as a level's canonical text).
void WriteLevelStream(FILE* f, const char* title);

// Writes the file at path with the given title and the current grid; true on success.
bool WriteLevelFile(const char* path, const char* title);

// Reads up to 4 little-endian bytes; a missing or short file gives the low bytes only.
int ReadScoreStream(FILE* f);

// Writes the 4-byte best score of level n; true when the file was replaced.
bool SaveBest(int n, int score);

// A score file at path (4 bytes, little-endian), saved whole or not at all.
bool SaveScoreFile(const char* path, int score);

// Replaces the file at path with size bytes, through the same temporary file
// and rename as every save; true when the file was replaced.
bool SaveFileBytes(const char* path, const unsigned char* bytes, size_t size);
