// keymap: which keys, pad buttons and pad axes do what. The player's choices
// come from settings.ini (key_jump = x, pad_jump = 0, ...), the rest keep
// today's defaults. ReadControls turns this frame's InputState and PadState
// into the Controls record through a set of bindings, reading every key and
// button through the input gate (input_gate.h).
#pragma once

// The keyboard actions; each has two key slots (key_NAME and key_NAME_alt).
enum {
  bind_left = 0, bind_right, bind_up, bind_down, bind_jump, bind_pause, bind_mute,
  bind_back, bind_brush_next, bind_brush_prev, bind_restart, bind_next, KeyActionCount
};
// The pad's buttons and axes by what they do.
enum { padbind_jump = 0, padbind_back, padbind_tether, padbind_pause, PadButtonActionCount };
enum {
  padaxis_steer_x = 0, padaxis_steer_y, padaxis_aim_x, padaxis_aim_y, padaxis_tether,
  PadAxisActionCount
};

const int NoBinding = -1;   // a slot, button or axis that does nothing

struct KeyBindings {
  int key[KeyActionCount][2];               // SDL key symbols, or NoBinding
  int padButton[PadButtonActionCount];      // pad button numbers, or NoBinding
  int padAxis[PadAxisActionCount];          // pad axis numbers, or NoBinding
  float deadZone;                           // share of a stick's travel that does nothing
};
extern const KeyBindings DefaultBindings;   // today's keys and the usual Linux pad layout
extern KeyBindings Bindings;                // what the player chose; DefaultBindings until loaded

// The SDL key symbol named name (key_names.h), ignoring case and spaces
// ("left shift" and "leftshift" both give 304); NoBinding when none is.
int KeySymbolNamed(const char* name);

// Bindings from the settings lines; every value that names no key (or no
// button or axis number) keeps its default and is reported once on stderr.
void LoadKeyBindings();

// Controls from InputState and PadState through the given bindings; the
// replay runner passes DefaultBindings, the game Bindings.
void ReadControls(const KeyBindings& bindings);

// The key's name as players know it, first letter capitalised ("Left",
// "Space", "A"); empty for NoBinding and a key without a name.
void KeyLabel(int symbol, char* out, int size);

// The pad button's name in the usual Linux layout ("A", "RB", "Start"),
// else "button N"; empty for NoBinding.
void PadButtonLabel(int button, char* out, int size);

// Forgets the stick aim, the stick's menu direction and the stale keys of earlier frames.
void ResetControlsHistory();
