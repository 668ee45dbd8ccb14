// assists: what the assist options do to a run, and whether a run had any.
// Game speed gives fewer steps of play a second, each a step full speed play
// could take (game/play/play_step.h), so a slowed run plays and replays by the
// same rules as any other; tether as toggle latches the
// tether button, a click shooting and the next letting go. A run during
// which either was on at any frame is an assisted run: its best is kept
// apart (game/files/assist_best.h) and it is never sent anywhere.
//   RunAssisted                    an assist was on during the run in play
//   AssistsOn()                    an assist option is on now
//   GameSpeedPercent()             the game speed, percent of real time
//   ApplyAssists()                 before each step of play: the latch, RunAssisted
//   StartAssistedRun()             a run starts: no latch, not assisted yet
#pragma once

extern bool RunAssisted;

bool AssistsOn();

// 50..100; 100 for a settings record never filled from a file (a tool, a test).
int GameSpeedPercent();

// With tether as toggle, Controls.tether becomes the latch and a click that
// lets go shoots nothing; marks the run assisted while an assist is on.
void ApplyAssists();

void StartAssistedRun();
