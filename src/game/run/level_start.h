// level_start: a run's start. The items emptied, the ball at rest on the
// level's spawn, the camera and aim on it, the timer full, and the best run's
// ghost, the run's replay recording and the hints of the level made ready;
// the ghost and the recording get room for the longest run the level
// allows, so play itself allocates nothing.
#pragma once

// Empties the items, resets the ball, loads level n, centres the camera, sets the timer.
void StartLevel(int n);

// As StartLevel, but scans the grid already in MapGrid instead of loading a file.
void StartGridLevel();

// As StartGridLevel, with the ball at rest on cell (x, y) instead of the spawn.
void StartGridLevelAt(int x, int y);
