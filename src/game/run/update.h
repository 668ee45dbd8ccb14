// Room game/run: a run from its start to its end: the frame step and the
// rules, the results, reruns, replays, the editor's test run, medals and the
// pause. Includes base, play, files, settings and online.
//
// update: the per-frame step of play. It reads the controls record (and
// records it for the run's replay), moves the ball under gravity, steering
// and the tether, keeps it out of solid cells, moves the camera, records the
// ball's place for the ghost, and runs the rules of a run at their fixed
// points in the frame.
#pragma once

// One frame of play, every step scaled by the TimeScale t (0.2..2); a t
// outside that range, 0 or NaN included, is taken as the nearest bound.
void UpdateGame(float t);
