// online_outbox: finishing runs kept for the level hub while it cannot be
// reached. A run the card could not send is saved beside the player's hub
// token as "hub-outbox-N" (its level's id and its replay, saved whole or not
// at all), at most HubOutboxRuns of them: a new run past that replaces the
// oldest one not on its way. Once a frame the oldest kept run is sent when
// the hub has answered anything since it last failed, or after a few seconds
// of waiting: the hub's answer, whether it took the run or refused it (a
// 4xx), ends it; a request that did not reach the hub, a 5xx or a 429 (asked
// too often) keeps it for the next try. Nothing is sent without a hub, a name on it, or while the
// player's token is lost (online_account).
//   HubOutbox                    the record: which runs are kept
//   LoadHubOutbox()              reads the kept runs' levels (at start-up)
//   KeepRunForHub(level, replay) saves a run to be sent later; false when it could not be saved
//   StepHubOutbox()              once a frame: the oldest run out, its answer in
//   HubOutboxCount()             runs kept
#pragma once

#include <string>

#include "game/online/online_answers.h"

const int HubOutboxRuns = 8;               // runs kept at most
const int HubOutboxRetryFrames = 5 * 60;   // a failed send is tried again after this many frames (~5 s)

struct HubOutboxEntry {
  int serial;        // 0 for a free entry; higher is newer
  LevelId level;
};

struct HubOutboxRecord {
  HubOutboxEntry runs[HubOutboxRuns];   // entry i is the file "hub-outbox-i"
  int sending;                          // the entry on its way; -1 for none
  int waitFrames;                       // frames left before a failed send is tried again
  bool unreached;                       // the last send did not reach the hub
  HubCall call;
};
extern HubOutboxRecord HubOutbox;

void LoadHubOutbox();
bool KeepRunForHub(const char* level, const std::string& replay);
void StepHubOutbox();
int HubOutboxCount();
