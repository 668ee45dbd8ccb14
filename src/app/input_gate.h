// input_gate: keys and buttons held through a change of screen. Whatever is
// down when the screen changes (a new GameState, the pause layer opening or
// closing) goes stale: the controls read it as up until it is let go, so a
// held Space or tether button does nothing on the new screen. Pressing it
// again, even within one frame, is a fresh press. The sticks and the pad's
// trigger are not gated.
#pragma once

// Once a frame, after everything that can change the screen, with a number
// for the screen now shown: when it differs from the last one, every key,
// mouse button, pad button and D-pad direction down now goes stale.
void FollowScreen(int screen);

// Every key, mouse button, pad button and D-pad direction down now goes stale.
void StaleHeldInputs();

// Once a frame before the entries are read: a stale entry that is up again,
// or went down again this frame, is fresh.
void RefreshStaleInputs();

// Nothing stale, and the next FollowScreen call only remembers its screen.
void ClearStaleInputs();

// The entries as the controls see them: InputUp while stale, else as they are;
// numbers outside the tables give InputUp.
int GatedKey(int symbol);
int GatedButton(int button);
int GatedPadButton(int button);
int GatedHat(int direction);
