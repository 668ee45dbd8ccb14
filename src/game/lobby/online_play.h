// online_play: a level from the hub in play. Its file is kept in the player's
// level folder under hub/ (Levels/hub/ID.dat), beside and never over the
// player's own slots, with its best score and best run's ghost beside it
// (ID.score, ID.ghost, as a slot's are kept; an assisted run's best apart in
// ID.assist.score, with no ghost); it plays with no slot
// (CurrentLevel 0), and its runs go to the hub under its id. Without a
// record to race, its own best run is the ghost.
// Racing the record re-runs the record's replay first, with the game's own
// step and no window, and keeps the ball's path as the ghost raced.
//   HubPlay                          the hub level in play
//   HubLevelPath(out, id)            Levels/hub/ID.dat in the player's folder
//   SaveHubLevel(id, text)           the level's text from the hub, saved whole
//   StartHubLevel(id, race)          plays the saved level (racing race's path)
//   StepHubRace()                    once a frame while the raced run is re-run; true once play starts
//   RestartHubLevel()                the same level again, with the same ghost
//   KeepHubBest()                    a run ended: a better finish kept as ID.score and ID.ghost (assisted: ID.assist.score)
//   HubLevelBest(id)                 the best kept for a hub level; 0 for none
//   HubLevelInPlay()                 the level in play or on the card is the hub's
#pragma once

#include <string>

#include "game/files/level_files.h"
#include "game/files/level_id.h"

struct HubPlayRecord {
  bool active;                  // a hub level was started last; see HubLevelInPlay
  LevelId id;
  char title[TitleSlotSize];    // its title line, line feed kept
  bool racing;                  // a record's path is raced
  int authorScore;              // the hub's author run's score, for the medals; 0 when unknown
  int clearPercent;             // the share of players who finish it, as the list said; -1 when unknown
};
extern HubPlayRecord HubPlay;

bool HubLevelPath(PathBuffer& out, const char* id);
bool SaveHubLevel(const char* id, const std::string& text);

// Reads Levels/hub/ID.dat into the grid and starts play from its spawn
// (asking for the play screen). With race, the replay's text is re-run
// first, over the next frames (StepHubRace), and its path becomes the
// ghost; a race that cannot be read or does not finish leaves no ghost.
// False, with nothing started, for a file that cannot be read or has no spawn.
bool StartHubLevel(const char* id, const std::string* race, int authorScore);

// Once a frame after StartHubLevel with a race: re-runs a bounded part of
// it; true once play has started (at once when no race is being re-run).
// A race no longer stepped is dropped by the next StartHubLevel.
bool StepHubRace();

void RestartHubLevel();

// After a run of a hub level ended (RunEnd filled): a finish better than the
// kept best is saved with its ghost, and RunEnd's best and newBest tell the
// card as they do for a slot. An assisted run is compared with and kept as
// the assisted best only.
void KeepHubBest();

// The unassisted best.
int HubLevelBest(const char* id);
// True from StartHubLevel until a level with a slot starts (CurrentLevel is no longer 0).
bool HubLevelInPlay();
