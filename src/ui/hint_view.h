// hint_view: draws what game/play/hints decides over the game scene: the level's
// number and title as it starts (with the score each medal needs when the
// level has an author score, and the restart and pause keys on the first
// levels), and the control hint in a bar at the bottom
// (or the top, while the ball is down there), naming the keys as bound.
#pragma once

const float BannerKeysSize = 0.55f;   // the banner's medals and keys lines, each cut to BannerMaxWidth (ScreenOrtho units)
const float BannerMaxWidth = 900;

// The hint's line for the current key bindings (and the pad, when one is
// present) into out; empty for hint_none.
void FormatHintText(int kind, char* out, int size);

// "R restarts, Escape pauses" for the current key bindings, as the banner of
// the first levels shows it.
void FormatBannerKeys(char* out, int size);

// The banner and the hint, in ScreenOrtho; nothing once both are over.
void DrawHints();
