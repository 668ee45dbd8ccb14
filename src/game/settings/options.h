// options: the options screen's rows and what choosing them does, apart from
// how they are shown. Each change takes effect at once and is written to the
// player's settings file (game/settings/settings_write.h); one that cannot be written
// holds for the session, and the record keeps why for the screen's note.
// The rows: the two volumes, full screen, language, hints, ghost, the two
// assists, "Reduce flashing", "Restore defaults", then one row per bindable
// action (its key, alternate key and pad button) and the tether's row.
//   Options                          the record: lit row and column, the binding waited for, the note
//   OptionLabel(row)                 the row's name, in English for Tr()
//   OptionCells(row)                 the cells a row shows a value in
//   OptionColumnHead(column)         the name of a control row's column, in English for Tr()
//   OptionValueText(row, col, out)   what a row shows in a column
//   StepOption(row, step)            a value down (-1) or up (+1)
//   ChooseOption(row, column)        a switch flipped, a value stepped up (the last back to the
//                                    first), every option back to its default, a binding waited for
//   TakeChosenKey(key, button)       the key or pad button chosen for the binding waited for
#pragma once

#include "game/settings/key_bindings.h"

enum {
  optrow_sound = 0, optrow_music, optrow_fullscreen, optrow_language, optrow_hints, optrow_ghost,
  optrow_speed, optrow_tether, optrow_flashing, optrow_defaults, OptionSettingRows
};
const int OptionTetherRow = OptionSettingRows + KeyActionCount;   // the mouse button's row
const int OptionRowCount = OptionTetherRow + 1;
const int OptionColumns = 3;                 // a control row: key, alternate key, pad button
const int OptionPadColumn = 2;
const int VolumeStep = 10;                   // percent per step of a volume
const int OptionTextSize = 64;               // bytes of a value's text

// Why the note shows, if it does.
enum { optnote_none = 0, optnote_not_saved, optnote_last_key, optnote_restored };

struct OptionsRecord {
  int row;            // the lit row, 0..OptionRowCount-1
  int column;         // the lit column of a control row, 0..OptionColumns-1
  int firstRow;       // the row shown at the top of the list
  bool waiting;       // a binding waits for a key or button (KeyCaptureWanted follows it)
  bool overPause;     // opened from the pause layer, which comes back when it closes
  int note;           // optnote_*
  int saveError;      // with optnote_not_saved: SettingsWriteError of the failed write
};
extern OptionsRecord Options;

// The keyboard action of a control row, or -1 (a setting row, the tether's row).
int OptionAction(int row);

// The pad action (padbind_*) a control row shows in its pad column, or -1.
int OptionPadAction(int row);

const char* OptionLabel(int row);

// 1 for a setting row, whose value is its one cell; 0 for "Restore defaults",
// whose name is all it shows (the control rows' column heads stand beside it);
// OptionColumns for a control row.
int OptionCells(int row);

const char* OptionColumnHead(int column);

// column 0 of a setting row is its value ("80", "On", "Deutsch", "70%");
// a control row shows its key, alternate key and pad button in columns 0..2.
void OptionValueText(int row, int column, char* out, int size);

void StepOption(int row, int step);

// "Restore defaults" puts back every option of the screen (the volumes, full
// screen, language, hints, ghost, assists, reduce flashing, keys and pad
// buttons; the pad's axes and dead zone, set only in the file, stay) and
// writes them all: the note says it was done, or why it was not kept.
void ChooseOption(int row, int column);

// Escape (as a key) cancels; a key in a key column, a pad button in the pad
// column, is bound as the swap allows (game/settings/key_rebind.h), or the note says
// why it was not; the other device's presses are not taken.
void TakeChosenKey(int key, int padButton);

// A fresh screen: the first row lit, nothing waited for, no note.
void OpenOptions(bool overPause);
