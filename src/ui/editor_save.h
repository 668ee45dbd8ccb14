// editor_save: saving the edited level and what the editor's bottom bar says.
// B saves and, after "Saved" has shown for a moment, goes back to the title;
// Ctrl + S saves and stays. A level that cannot be played is saved anyway
// with its check note on the bar, and B again leaves; a failed save names
// its cause. After a test run the bar tells how it ended, in the results
// card's words, until the next edit.
#pragma once

extern bool EditorSaveFailed;   // the last save could not write the file
extern const char* EditorNote;  // check note of the last save ("No spawn", ...), null when none

// A level just opened counts as saved; no notes.
void ResetEditorSave();

// Writes the level with the edited title; leave: B, which goes back to the
// title after the "Saved" beat unless a new check note asks to stay.
void SaveEditedLevel(bool leave);

// While the "Saved" beat before the title runs: counts it down by seconds,
// then sets the title screen; false when no beat runs.
bool SavedBeat(float seconds);

// True when the level is as last saved (or opened) and no step is open.
bool EditorLevelSaved();

// An edit makes the notes of the last save and test run old news.
void ClearEditorNotes();

// The bar tells how the test run that just ended ended (RunEnd); an
// unassisted finish becomes the level's author run.
void NoteTestRunEnd();

// True, with the reason on the bar, when the level has no spawn for a test run to start from.
bool TestRunRefused();

// A line for the bar until the next edit (English, for Tr): why a region
// operation or a test run from here did not do all that was asked.
void NoteEditorLine(const char* english);

// The hint bar's text: the save hint, "Saved", the failure with its cause,
// the check note, or the end of the last test run.
const char* EditorHintText();
