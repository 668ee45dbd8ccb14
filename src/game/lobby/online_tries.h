// online_tries: tells the level hub that the player played one of its levels
// without finishing it, so that the hub's count of the players who tried a
// level (and so its clear rate) holds those who never finished it. The first
// run of a hub level this session that ends in a death or out of time notes
// the level; once a frame the oldest noted level not yet sent goes out as one
// request, with the player's token, while no other try is out. The answer
// is only waited for to free its slot: taken, refused or not delivered, a
// try is a count, never sent twice or kept for later. Nothing is sent while
// the player has no name on the hub or their token is lost (online_account);
// noted levels wait until they have one.
//   HubTriesLevels                  hub levels one session notes at most
//   HubTries                        the record: the levels noted, how many were sent
//   NoteHubRunEnd()                 a run ended (RunEnd filled): notes a hub level not finished
//   NoteHubTry(id)                  notes the level; false when it was noted this session or the table is full
//   StepHubTries()                  once a frame: the next try out, an answered one's slot freed
#pragma once

#include "game/files/level_id.h"
#include "game/online/online_answers.h"

const int HubTriesLevels = 64;

struct HubTriesRecord {
  LevelId levels[HubTriesLevels];   // noted this session, in the order played
  int count;                        // levels noted
  int sent;                         // levels[0 .. sent - 1] have gone out
  HubCall call;                     // the try out, or slot -1
};
extern HubTriesRecord HubTries;

void NoteHubRunEnd();
bool NoteHubTry(const char* id);
void StepHubTries();
