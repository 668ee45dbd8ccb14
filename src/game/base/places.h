// places: the folders the game's files live in, and the one way a file or
// folder path is built. One program-wide record, chosen once at start-up by
// the platform layer (platform/paths) and read by every module that opens a
// file; its defaults are the repository layout, with every file relative to
// the working directory. Every path the game builds goes into a PathBuffer;
// one that does not fit is refused, never cut, so two files never share a
// name that lost its end.
//   PathSize, PathBuffer         the one size and type of a path
//   Places                       the record
//   PlacePath(out, folder, name) folder/name, or name alone for an empty folder
//   ReadablePath(out, name)      the player's copy of a file when it is a regular
//                                file, else the shipped one (levels, settings)
//   PrepareFolder(folder)        creates a missing folder and its parents when the
//                                record says so; true when it is a folder
//   PrepareFolderOf(path)        the same for the folder holding a file
#pragma once

const int PathSize = 512;   // bytes of any file or folder path, terminator included
typedef char PathBuffer[PathSize];

struct PlacesRecord {
  PathBuffer media;            // pictures and sounds
  PathBuffer shippedLevels;    // levels that come with the game
  PathBuffer userLevels;       // the player's levels, scores and replays; saves go here
  PathBuffer screenshots;      // screenshots; empty: the working directory
  PathBuffer userSettings;     // folder of the player's settings file
  PathBuffer shippedSettings;  // folder of the settings used when the player has none
  PathBuffer locale;           // compiled catalogues: <locale>/<language>/LC_MESSAGES/tetherorb2.mo
  bool makeFolders;            // create missing folders before writing
  PathBuffer shippedSolutions; // the shipped levels' author runs, levelN.replay
  PathBuffer cache;            // what the game keeps to save fetching it again (hub pictures); empty: nothing kept
};

extern PlacesRecord Places;

// False, with out empty, when the joined path does not fit.
bool PlacePath(PathBuffer& out, const char* folder, const char* name);

// Picks userFolder/name when that is a regular file, else shippedFolder/name.
// False (out empty) when either path does not fit: a player's copy that
// cannot be looked for is never stood in for by the shipped file.
bool ReadablePath(PathBuffer& out, const char* userFolder, const char* shippedFolder, const char* name);

bool PrepareFolder(const char* folder);
// PrepareFolder for the folder a file path lies in.
bool PrepareFolderOf(const char* path);
