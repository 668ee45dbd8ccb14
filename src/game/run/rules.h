// rules: the rules of a run, carried out inside UpdateGame: the timer, the
// extra-time pickups, the particles of bursts and trail, and the outcome
// (harmful contact, time-out, finish and the best score); and the same timer
// and pickups for a best run watched.
#pragma once

// LevelTimer falls by t / 60 x 10 and stops at exactly 0.
void CountDownTimer(float t);

// Appends a particle at (px, py) with a random velocity scaled by s; the two
// random numbers are drawn even when the item table is full.
void SpawnParticle(float px, float py, float s);

// Pickups, particle ageing and the ball's trail.
void StepItems(float t);

// True when a finish item lies strictly within 2 units of the ball's centre.
bool BallAtFinish();

// The LevelTimer rounded up to whole tenths; INT_MAX when it lies beyond.
int ScoreFromTimer();

// True when the ball's centre lies more than 10 cells outside the level's
// rectangle: a run ends there as on a harmful block.
bool BallLostOutside();

// Harmful contact (or a ball lost outside), time-out and the finish; any of
// them ends the run (EndRun: the results card is asked for), and a
// finish may save a best with its ghost (only for CurrentLevel 1..MaxLevels).
void CheckOutcome();

// One frame of watching the best run: the clock moves on by t, the ball, its
// tether and the camera follow the ghost, pickups it reaches are taken and the timer
// runs as in play. False once the recording has ended (nothing moves then).
bool StepGhostWatch(float t);
