// replay_record: every run of play kept as a version 3 replay (version 2
// when the camera does not lead) as it is played, so that after a run the game holds its replay text. At a level's
// start (StartLevel, and StartGridLevel for the editor's test run) the
// recorder makes room for the longest run the level allows, as the ghost
// does; each frame of the game step adds the controls it reads, its
// TimeScale and the window size, merged into runs; the end of the run
// (EndRun) writes the text into room made at the start too. Nothing is
// allocated during play. A run that outlasts its room keeps no replay.
#pragma once

extern bool ReplayRecording;   // frames of the game step go into the recording

// A new run that can last frames frames (GhostFramesFor): room for them and
// for their text, the recording and the text emptied, recording on. A
// restart of the same level makes no room anew.
void BeginReplayRecording(int frames);

// Called by the game step with the frame's TimeScale: while recording, adds
// the controls record's play fields and the window size as one frame; the
// first frame's camera names the version (3 leading, 2 the older camera).
void RecordReplayFrame(float t);

// The run has ended: its text is written and recording stops.
void EndReplayRecording();

// The text of the last run that ended since the level's start, as
// ReadReplay reads it; "" when none has, or it outlasted its room.
const char* RecordedReplayText();
