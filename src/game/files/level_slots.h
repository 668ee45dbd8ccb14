// level_slots: the level numbers as the two level lists show them, where a
// new level goes, and taking a level back out. The shipped numbers 1..15
// have a row each up to the highest one present (a missing level shows
// empty, as it always has); a number above 15 has a row, after them, only
// while its level exists. With no level above 15 the play list shows at
// least ListWindowRows rows of the shipped numbers. Every
// answer comes from LevelExists, so the rows follow each save and removal.
// fill: the rows of the play list, whose shipped numbers fill a window.
//   LevelRowCount(fill)    rows of levels
//   LevelOfRow(row, fill)  the level number a row shows; 0 outside the rows
//   RowOfLevel(n, fill)    the row that shows level n; -1 when none does
//   FreeLevelSlot()    the lowest level number without a level; 0 when all are taken
//   LevelSlotKind(n)   whose level n is, from the files there now
//   RemoveLevel(n)     the player's own level gone with its best and ghost, or a
//                      changed shipped level back to the shipped version
//   NoteLevelSaved(n)  the catalogue after the editor saved level n
#pragma once

const int ListWindowRows = 6;   // rows a level list shows at once

int LevelRowCount(bool fill);
int LevelOfRow(int row, bool fill);
int RowOfLevel(int n, bool fill);
int FreeLevelSlot();

enum {
  slot_none,      // no level file
  slot_shipped,   // the shipped level as it came; in the repository layout, levels 1..15
  slot_changed,   // the player's copy over a shipped level (installed game)
  slot_own        // a level only the player has
};
int LevelSlotKind(int n);

// Removes the player's file of level n (slot_own or slot_changed); an own
// level's best score and ghost go too. 0 when done, else errno's reason
// (EPERM for a level of another kind), with nothing changed.
int RemoveLevel(int n);

// Level n's file was just written: it exists from now on. A slot that had
// no level starts without a best score or ghost, whatever stale files of
// that number held.
void NoteLevelSaved(int n);
