// key_rebind: moving a key or pad button onto an action, as the options
// screen does, and the settings.ini lines that keep it. A key already bound
// elsewhere is swapped with the old key of the slot it goes to, so no key
// ever does two things, and a change that would leave another action with no
// key at all is refused. The changed slots are written to the player's
// settings file (game/settings/settings_write.h).
//   RebindKey(b, action, slot, key)     the swap on a set of bindings
//   RebindPadButton(b, action, button)  the same for the pad's buttons
//   SaveKeyBindings(b)                  every key and button line; false when not written
#pragma once

#include "game/settings/key_bindings.h"

// key (a symbol with BindCtrl / BindShift bits) goes to slot 0 or 1 of
// action; where it was bound before gets this slot's old key (or nothing,
// when that action keeps its other key). False, with b unchanged, when that
// would leave an action without any key.
bool RebindKey(KeyBindings* b, int action, int slot, int key);

// button goes to the pad action; an action that had it gets this action's
// old button. False, with b unchanged, when that would leave it without one.
bool RebindPadButton(KeyBindings* b, int action, int button);

// The settings.ini value of a key slot: "space", "ctrl + z", "none".
void KeySettingText(int slot, char* out, int size);

// Writes every key_* and pad_* button line whose value differs from what the
// file says now; false when the file could not be written (the bindings hold
// for this session anyway).
bool SaveKeyBindings(const KeyBindings* b);
