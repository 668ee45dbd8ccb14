// input_entry: the state of one key, mouse button or pad entry as its events
// come, shared by the keyboard and mouse record (input.h) and the pad's
// (gamepad.h). An entry that goes down and up within one frame is pressed for
// that frame and up from the next.
#pragma once

// Entry values.
const int InputUp = 0;        // not down
const int InputHeld = 1;      // went down in an earlier frame, still down
const int InputPressed = 2;   // went down during this frame (and may have come up since)

// True when the entry is down (pressed this frame or held).
inline bool IsDown(int state) { return state != InputUp; }

// One entry and its late release, as its events come:
void PressEntry(int* state, bool* upLate);    // up or let go this frame: 2; down: stays
void ReleaseEntry(int* state, bool* upLate);  // 0, or stays 2 until AgeEntry when pressed this frame
void AgeEntry(int* state, bool* upLate);      // 2 becomes 1, or 0 when it was let go late
void SetEntry(int* state, bool* upLate, bool down);  // PressEntry when down, else ReleaseEntry

// AgeEntry for each of count entries and their late releases.
void AgeEntries(int* states, bool* upLate, int count);
