// keymap: the step that turns this frame's InputState and PadState into the
// Controls record through a set of key bindings (game/settings/key_bindings.h),
// reading every key and button through the input gate (input_gate.h), and,
// while a text field has the keys, the frame's typed keys into its text queue.
// Above the platform nothing reads the raw key state, only what this step writes.
#pragma once

#include "game/settings/key_bindings.h"

// Controls from InputState and PadState through the given bindings; the
// replay runner passes DefaultBindings, the game Bindings. Once per frame,
// after PollInput and FollowWindow.
void ReadControls(const KeyBindings& bindings);

// Forgets the stick aim, the stick's menu direction and the stale keys of earlier frames.
void ResetControlsHistory();

// Lends SDL's key names to the key bindings (WindowKeyName); call once the video is up.
void UseWindowKeyNames();
