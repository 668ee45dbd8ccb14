// rules: the rules of a run, carried out inside UpdateGame: the timer, the
// extra-time pickups, the particles of bursts and trail, and the outcome
// (harmful contact, time-out, finish and the best score).
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
// them ends the run (EndRun: GameState goes to the results card), and a
// finish may save a best with its ghost (only for CurrentLevel 1..MaxLevels).
void CheckOutcome();
