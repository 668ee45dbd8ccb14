// controls: what the player asks for this frame, whatever the device. The
// platform fills it once per frame from the keys (through the key bindings), the mouse
// and the gamepad; play, the menus, the editor, watching, the results card
// and the pause layer only read it, and nothing else reads the keys.
// A key or button already down when the screen changes counts as up here
// until it is let go and pressed again.
// While a text field has the keys (the editor's title), a key that types a
// character is text: it goes into the text queue, in the order typed, and
// acts as no key; no other key acts either, but the pause key and the Shift
// of a rectangle that a click on the level starts.
#pragma once

const int TextQueueSize = 128;   // bytes of one frame's typed text and editing keys, terminator included

// The editing keys in the text queue, one byte each among the UTF-8 characters.
const char TextBackspace = '\b';  // Backspace: take back the last character
const char TextDone = '\r';       // Return or Tab: the field is finished
const char TextUndo = 0x1A;       // the undo key (Ctrl+Z): take back the field's last change
const char TextRedo = 0x19;       // the redo key (Ctrl+Y): put it back

struct ControlsRecord {
  float steerX, steerY;     // -1..1 each, right and down positive; keys give whole steps, a stick less
  bool jump;                // jump held
  bool tether;              // tether held; it shoots in the frame it goes down; the editor paints
  bool tetherShot;          // a tether button went down this frame: a new shot even while attached
  float aimX, aimY;         // window pixels the tether aims at: the pointer or the right stick
  bool menuUp, menuDown;    // pressed this frame
  bool menuChoose;          // the choose key (Return), the jump key or the pad's A, pressed this frame
  bool cardLeave;           // the choose key (not as a jump key) or the pad's Start, pressed this frame: leaves the results card
  bool menuBack;            // B (key or pad), pressed this frame; also the editor's save
  bool pauseToggle;         // Escape or Start (not on the results card), pressed this frame
  bool mute;                // the mute key, pressed this frame
  bool brushNext, brushPrev;// editor brush keys, pressed this frame
  bool restart;             // R, pressed this frame: the level again from its start
  bool nextLevel;           // N, pressed this frame: the results card's next level
  bool pointerClick;        // left mouse button pressed this frame (menus and buttons)
  bool focusLost;           // the window lost the keyboard focus this frame: play and the editor pause
  bool pointerMoved;        // the pointer, in the window last frame, is not where it was
  float pointerX, pointerY; // the mouse pointer, window pixels (the aim may be the stick's)
  bool padPresent;          // a pad was opened at start-up: the hints name its buttons too

  // The level lists, pressed this frame but the wheel.
  bool pageUp, pageDown;    // six rows up / down
  bool listHome, listEnd;   // to the first / last row
  int wheelSteps;           // mouse wheel steps this frame, toward the player positive
  bool deleteLevel;         // Delete: the edit list's delete
  bool watchRun;            // G: the play list's best run

  // The editor: buttons held or pressed, keys pressed this frame unless held.
  bool erase, erasePressed; // right button held; it went down this frame
  bool pick;                // middle button pressed: the cell under the marker is the brush
  bool rectangle;           // Shift held: a drag fills a rectangle
  bool fill, undo, redo, save, titleEdit, testRun;  // F, Ctrl+Z, Ctrl+Y, Ctrl+S, Tab, T
  bool share;               // P: publish the level on the hub
  bool help;                // F1: the editor's list of its keys
  bool search, sizeFilter, difficultyFilter;   // Ctrl+F, Z, X: the Online list's search field and filters
  bool thumbsUp;            // U: the results card's thumbs-up for a hub level
  bool report;              // C: a hub level's leaderboard: report the level
  int resizeX, resizeY;     // -1, 0 or 1: the resize keys held (Ctrl + arrows), wider and taller positive
  bool resizePressed;       // a resize key went down this frame
  bool zoomIn, zoomOut;     // + and -, pressed this frame (the wheel is wheelSteps)
  bool zoomCells;           // 1: cells at full size (the lists' home key shows the whole level)
  bool selectTool;          // C: the select tool on or off
  bool copy, cut, paste;    // Ctrl+C, Ctrl+X, Ctrl+V (the lists' delete key empties the selection)
  bool flipAcross, flipDown;// H, V: the selection or the pasted cells (the restart key turns them)
  bool testHere;            // Shift+T: a test run from the cell under the marker

  bool menuLeft, menuRight; // the left / right key, D-pad or stick, pressed this frame: an option's value
  int keyChosen;            // while KeyCaptureWanted: the key chosen this frame (symbol with the
                            // key bindings' Ctrl / Shift bits; a modifier alone when let go), else -1
  int padButtonChosen;      // while KeyCaptureWanted: a pad button pressed this frame, else -1

  bool anyPress;            // a key or button went down, not the pause, mute or window keys nor a modifier alone
  char text[TextQueueSize]; // while a text field has the keys: this frame's characters and editing keys, in order
};
extern ControlsRecord Controls;

// Set by a screen waiting for a key or pad button to bind: the next frames'
// controls are all off but the pointer, keyChosen and padButtonChosen, so the
// pause and mute keys can be chosen too (the screen takes Escape as "cancel").
extern bool KeyCaptureWanted;
