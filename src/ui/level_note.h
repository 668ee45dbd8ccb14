// level_note: the one line at the foot of a level list that says why the
// chosen level did not start (its file went missing or cannot be read since
// the list was made, or it has no spawn to play from), or what Delete asks or
// did. The line stays until the highlight moves or the screen changes.
#pragma once

const int LevelNoteSize = 256;   // bytes: room for a translated note in two-byte letters
extern char LevelNote[LevelNoteSize];   // empty while there is nothing to say
const float NoteTextSize = 0.5f;        // drawn from MenuBarLeft, within the bars' width

// Why a level file cannot be read, by its errno, in the note's words ("its file is missing").
const char* LevelReadReason(int error);

// True when level n's file can be read now; else false with the reason in LevelNote.
bool LevelReadyToStart(int n);

// LevelReadyToStart, and the file has a spawn for the ball; else false with
// the reason in LevelNote.
bool LevelReadyToPlay(int n);

void ClearLevelNote();

// LevelNote at the bottom of the screen, in ScreenOrtho units.
void DrawLevelNote();
