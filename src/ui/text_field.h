// text_field: a one-line UTF-8 text field fed by the frame's text queue
// (game/base/controls.h): a typed character goes at the end while it fits whole,
// Backspace takes back a whole character, and the undo and redo keys take
// back and put back the field's own changes since it was opened, one
// character at a time. The editor's title is one.
#pragma once

#include "game/base/utf8.h"

const int TextFieldChanges = 256;   // changes the field can take back; the oldest go first

// One change at the field's end: a character added, or removed.
struct TextChange {
  char bytes[Utf8MaxBytes];
  int count;     // bytes of the character
  bool added;
};

struct TextField {
  char* text;    // the 0-terminated text edited in place
  int limit;     // bytes it may hold, the terminator not counted
  TextChange change[TextFieldChanges];
  int changes;   // changes kept
  int done;      // of them, those in effect; the rest can be put back
};

// Starts editing text, which holds limit bytes and a terminator; no change to take back yet.
void OpenTextField(TextField* f, char* text, int limit);

// A field opened on text the first frame it is used (open false): then
// TextFieldKeys. True when Return or Tab finished it, which closes it again.
bool OpenFieldKeys(TextField* f, bool* open, char* text, int limit, const char* queue);

// Applies the queue in its order; true when it came to Return or Tab, and
// what follows in the queue is dropped.
bool TextFieldKeys(TextField* f, const char* queue);
