// key_bindings: which keys, pad buttons and pad axes do what. The player's
// choices come from settings.ini (key_jump = x, pad_jump = 0, ...), the rest
// keep today's defaults. The platform's keymap reads this frame's keys and pad
// through a set of bindings into the Controls record; the hints name the keys
// as bound. Platform-free: keys are named by the game's own table
// (key_names.h), and by the window system's names when it lends them.
#pragma once

#include "game/settings/key_names.h"

// The keyboard actions; each has two key slots (key_NAME and key_NAME_alt).
// A key is on one action at most; screens share actions instead: the
// editor's whole level is the lists' home, emptying the selection their
// delete, and a quarter turn play's restart.
enum {
  bind_left = 0, bind_right, bind_up, bind_down, bind_jump, bind_pause, bind_mute,
  bind_back, bind_brush_next, bind_brush_prev, bind_restart, bind_next,
  bind_choose, bind_page_up, bind_page_down, bind_home, bind_end, bind_delete, bind_watch,
  bind_rectangle, bind_fill, bind_undo, bind_redo, bind_save, bind_wider, bind_narrower,
  bind_taller, bind_shorter, bind_title, bind_test, bind_share, bind_help, bind_zoom_in, bind_zoom_out,
  bind_zoom_cells, bind_select, bind_copy, bind_cut, bind_paste, bind_flip_across, bind_flip_down,
  bind_test_here, bind_search, bind_size, bind_difficulty, bind_thumbs_up, bind_report,
  KeyActionCount
};
// The pad's buttons and axes by what they do.
enum { padbind_jump = 0, padbind_back, padbind_tether, padbind_pause, PadButtonActionCount };
enum {
  padaxis_steer_x = 0, padaxis_steer_y, padaxis_aim_x, padaxis_aim_y, padaxis_tether,
  PadAxisActionCount
};

const int NoBinding = -1;   // a slot, button or axis that does nothing

// A key slot holds the key's symbol plus the modifiers it is bound with
// ("ctrl+z" in settings.ini). A slot with BindCtrl acts only while a Ctrl key
// is held, one without it only while none is (a Ctrl key bound to an action
// of its own is no modifier); BindShift asks for a Shift key held too, and a
// slot without it does not mind Shift.
const int BindCtrl = 0x1000;
const int BindShift = 0x2000;
const int BindKeyMask = BindCtrl - 1;       // the symbol; every SDL 1.2 symbol lies below it

struct KeyBindings {
  int key[KeyActionCount][2];               // key symbols with modifier bits, or NoBinding
  int padButton[PadButtonActionCount];      // pad button numbers, or NoBinding
  int padAxis[PadAxisActionCount];          // pad axis numbers, or NoBinding
  float deadZone;                           // share of a stick's travel that does nothing
};
extern const KeyBindings DefaultBindings;   // today's keys and the usual Linux pad layout
extern KeyBindings Bindings;                // what the player chose; DefaultBindings until loaded

// The names of the actions in settings.ini ("jump" of key_jump and pad_jump).
const char* KeyActionName(int action);
const char* PadButtonActionName(int action);

// What an action does, as the options screen and the editor's key list name it, in English for Tr().
const char* KeyActionLabel(int action);

// The SDL key symbol named name (key_names.h, then WindowKeyName), ignoring case and spaces
// ("left shift" and "leftshift" both give 304); NoBinding when none is.
int KeySymbolNamed(const char* name);

// A key slot from its settings.ini value: a key name after any "ctrl+" and
// "shift+" ("ctrl + shift + z"); NoBinding when it names no key.
int KeySlotNamed(const char* value);

// Bindings from the settings lines; every value that names no key (or no
// button or axis number) keeps its default and is reported once on stderr.
void LoadKeyBindings();

// A key slot's name as players know it, in the language in use, first letter capitalised ("Left",
// "Space", "A", "Ctrl+Z"); empty for NoBinding and a key without a name.
void KeyLabel(int slot, char* out, int size);

// The pad button's name in the usual Linux layout ("A", "RB", "Start"),
// else "button N"; empty for NoBinding.
void PadButtonLabel(int button, char* out, int size);

// The window system's name for a key the game's table does not name (the
// desktop's names for the keys of other languages' keyboards); null, or a
// function answering null or "unknown key", names none.
extern const char* (*WindowKeyName)(int symbol);
