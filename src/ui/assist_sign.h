// assist_sign: the small sign that marks what an assisted run made (a run
// with game speed below 100% or tether as toggle): a framed "A", on the
// results card beside the best line and in the play list before a level's
// assisted best.
#pragma once

const float AssistSignSize = 26;   // ScreenOrtho units, the frame's side

// The sign with its frame's top-left corner at (x, y), ScreenOrtho units.
void DrawAssistSign(float x, float y);
