// places: the folders the game's files live in. One program-wide record,
// chosen once at start-up by the platform layer (app/paths) and read by every
// module that opens a file; its defaults are the repository layout, with
// every file relative to the working directory.
//   Places                       the record
//   PlacePath(out, folder, name) folder/name, or name alone for an empty folder
//   ReadablePath(out, name)      the player's copy of a file when it is a regular
//                                file, else the shipped one (levels, settings)
//   PrepareFolder(folder)        creates a missing folder and its parents when the
//                                record says so; true when it is a folder
//   PrepareFolderOf(path)        the same for the folder holding a file
#pragma once

#include <cstddef>

const int PlaceSize = 512;   // bytes of one folder or file path, terminator included

struct PlacesRecord {
  char media[PlaceSize];          // pictures and sounds
  char shippedLevels[PlaceSize];  // levels that come with the game
  char userLevels[PlaceSize];     // the player's levels, scores and replays; saves go here
  char screenshots[PlaceSize];    // screenshots; empty: the working directory
  char userSettings[PlaceSize];   // folder of the player's settings file
  char shippedSettings[PlaceSize];// folder of the settings used when the player has none
  bool makeFolders;               // create missing folders before writing
};

extern PlacesRecord Places;

// False when the joined path does not fit into size.
bool PlacePath(char* out, size_t size, const char* folder, const char* name);

// Picks userFolder/name when that is a regular file, else shippedFolder/name.
bool ReadablePath(char* out, size_t size, const char* userFolder, const char* shippedFolder,
                  const char* name);

bool PrepareFolder(const char* folder);
// PrepareFolder for the folder a file path lies in.
bool PrepareFolderOf(const char* path);
