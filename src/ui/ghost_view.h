// ghost_view: the best run drawn as a pale, translucent ball. In play it
// follows the best run of the level in time with the run in play, under the
// real ball, with a faint tether where that run swung; while a run is watched
// it is the ball, with the tether drawn as in play; in the play list a small
// one marks the levels that have a best run to race.
#pragma once

const float GhostDrawSize = 1.41f;     // world units, as the ball
const float GhostAlpha = 0.5f;         // the ball's picture at half strength, cooled a little
const float GhostTintRed = 0.85f;
const float GhostTintGreen = 0.95f;
const float GhostTintBlue = 1.0f;
const float GhostTetherAlpha = 0.3f;   // the racing ghost's tether: faint, not to be taken for the player's
const float GhostGlowScale = 2.0f;     // a soft glow wider than the ball
const float GhostGlowAlpha = 1.0f;     // added as pale blue light
const float GhostGlowRed = 0.55f;
const float GhostGlowGreen = 0.8f;
const float GhostGlowBlue = 1.0f;

// In play: the best run's ball and tether at GhostClock, when the setting
// "ghost" is on, the best run is CurrentLevel's, and it has not ended yet.
// WorldOrtho units.
void DrawGhost();

// The ghost's look at (x, y), size across, in the projection in force.
void DrawGhostBall(float x, float y, float size = GhostDrawSize);
