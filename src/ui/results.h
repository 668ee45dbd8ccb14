// results: the card over the last frame of play when a run has ended: the
// level, what ended it ("Finished", "Time up", "Hit a harmful block"), the
// time left, the level's best score and "New best!" when the run set it.
// For its first half second it takes no input, so a key still down from play
// does nothing; then Return or Space go to the title screen, R plays the
// level again and N, after a finish, the next level there is. Its sound
// plays when it starts taking input.
#pragma once

const float ResultsInputDelay = 0.5f;   // seconds without input after the card comes up

// What ended a run (runend_*): "Finished", "Time up" or "Hit a harmful block".
const char* OutcomeText(int outcome);

// The card's keys: ages the card by t 60 Hz frames and, once the delay is
// over, goes on to the title, the same level or the next one.
void ResultsInput(float t);

// The frozen play scene with the card over it.
void DrawResults();

// ResultsInput, then DrawResults.
void ResultsFrame(float t);
