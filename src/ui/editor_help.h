// editor_help: the list of the editor's keys, as bound, over the editor. The
// help key (F1) shows it; any key or pad button then closes it, F1 and Escape
// too (the keys are taken as a binding's would be, so Escape pauses nothing
// meanwhile). The list is put in words each time it is drawn, in the
// language in use.
//   EditorHelpRows                     the lines of the list
//   EditorHelpLine(row, label, keys)   a line: what it does, and its keys or button
//   EditorHelpKeys()                   a frame's keys: true while the list has them
//   HideEditorHelp()                   the list gone, the keys back as they were
//   DrawEditorHelp()                   the list on its panel, when it shows
#pragma once

const int EditorHelpRows = 28;
const float EditorHelpTextSize = 0.36f;    // the lines' text
const float EditorHelpLabelRoom = 380;     // ScreenOrtho units a line's label has, at the left
const float EditorHelpKeysRoom = 440;      // and its keys, to the panel's right edge

// label: what the line's keys do, in the language in use; keys: the keys
// bound to it ("Ctrl+Y or Ctrl+Shift+Z"), or the mouse button.
void EditorHelpLine(int row, char* label, int labelSize, char* keys, int keysSize);

bool EditorHelpKeys();

void HideEditorHelp();

void DrawEditorHelp();
