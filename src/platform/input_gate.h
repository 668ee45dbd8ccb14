// input_gate: keys and buttons held through a change of screen or a pause.
// Whatever is down when the screen changes (a new GameState) goes stale: the
// controls read it as up until it is let go, so a held Space or tether button
// does nothing on the new screen. The pause layer is no new screen: what is
// held from before it and still held when play resumes keeps acting (a held
// tether stays on), while whatever went down during the pause (the Escape or
// the click that resumed, a key pressed on the menu) is stale at the resume.
// Pressing a key again, even within one frame, is a fresh press. The sticks
// and the pad's trigger are not gated.
#pragma once

// Once a frame, after everything that can change the screen, with a number
// for the screen now shown and whether the pause layer is wanted: a new
// screen stales every key, mouse button, pad button and D-pad direction down
// now; a resume stales those down now that went down during the pause.
void FollowScreen(int screen, bool paused);

// Every key, mouse button, pad button and D-pad direction down now goes stale.
void StaleHeldInputs();

// Once a frame before the entries are read: a stale entry that is up again,
// or went down again this frame, is fresh; during a pause an entry held from
// before it that is let go or pressed again no longer counts as held from before.
void RefreshStaleInputs();

// Nothing stale, and the next FollowScreen call only remembers its screen.
void ClearStaleInputs();

// The entries as the controls see them: InputUp while stale, else as they are;
// numbers outside the tables give InputUp.
int GatedKey(int symbol);
int GatedButton(int button);
int GatedPadButton(int button);
int GatedHat(int direction);
