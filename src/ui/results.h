// results: the card over the last frame of play when a run has ended: the
// level, what ended it ("Finished", "Time up", "Hit a harmful block"), the
// time left, the level's best score ("No best yet" without one), "New best!"
// when the run set it and, below, why it could not be saved.
// For its first half second it takes no input, so a key still down from play
// does nothing; then Return or the pad's Start go to the title screen (the
// jump keys do not, as a player may still be jumping), R plays the level
// again and N, after a finish, the next level there is. Its sound plays when
// it starts taking input.
#pragma once

const float ResultsInputDelay = 0.5f;   // seconds without input after the card comes up

// The card's width (ScreenOrtho units), which a line longer than it is cut
// to, and the sizes of its lines from the top.
const float CardWidth = 680;
const float CardLevelSize = 0.55f, CardOutcomeSize = 1.0f, CardLineSize = 0.65f;   // time, best, new best
const float CardSaveNoteSize = 0.45f, CardKeysSize = 0.42f, CardMedalsSize = 0.5f;

// The card's keys: ages the card by t 60 Hz frames and, once the delay is
// over, goes on to the title, the same level or the next one.
void ResultsInput(float t);

// The medal of the run on the card (game/run/medals.h): a finish against the
// level's author score, or the hub's for a hub level; medal_none otherwise.
int ResultsMedal();

// "Silver 183  Gold 219  Star 243" for the level of the run with an author
// score (the hub's for a hub level); empty otherwise.
const char* ResultsMedalsLine();

// "Best score 123", or "No best yet" for a level without one.
const char* ResultsBestLine();

// The line under "New best!" when the best could not be saved, in the words
// of a failed save ("Not saved: the folder is read-only", or "Best run not
// saved: ..." when only the ghost was lost); empty otherwise.
const char* ResultsSaveNote();

// The frozen play scene with the card over it.
void DrawResults();

// ResultsInput, then DrawResults.
void ResultsFrame(float t);
