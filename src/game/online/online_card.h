// online_card: what the results card says about the level on the hub, and the
// finishing run it sends there in the background. A run of a level the hub
// knows (a shipped one, or one played from the hub; the id comes from the
// level's content) is sent when it finished and no assist was on; the hub
// re-runs it and answers with its rank and the level's record. Any other end
// of a run asks for the record and the player's own rank. The first time a
// run is to be sent the player has no name on the hub: the card asks for one
// and registers it first. Nothing is asked or sent without a hub set, and a
// test run from the editor is never sent. A run the hub cannot be reached
// for is kept and sent later (online_outbox); while the player's token is lost
// (online_account) no run is sent and the card says so.
//   HubCard                    the record the card reads
//   NotePlayedLevel(title)     the level just started: its id, when a hub is set
//   UsePlayedLevelId(id, clearPercent)   a level from the hub: its id is known already, and
//                              the share of players who finish it (-1 unknown)
//   BeginHubCard(finished, assisted, testRun)   a run ended: send it or ask for the record
//   ChooseHubName(name)        the name the player typed; "" sends nothing
//   StepHubCard()              once a frame on the card: answers in, next request out
//   HubCardLine()              the card's line: rank and record, or why not
#pragma once

#include "game/files/level_id.h"
#include "game/online/online_account.h"
#include "game/online/online_answers.h"

enum {
  hubcard_off = 0,       // no hub, a test run, or a level without an id
  hubcard_naming,        // the name field is open
  hubcard_registering,   // the name is on its way
  hubcard_sending,       // the run is on its way
  hubcard_asking,        // the record is on its way
  hubcard_shown,         // rank and record known
  hubcard_refused,       // the hub refused: why holds its cause
  hubcard_unreachable    // the hub cannot be reached
};

const int HubNameMinChars = 3;

struct HubCardRecord {
  int state;                  // hubcard_*
  LevelId level;              // the id of the level played; "" when none
  bool fromHub;               // the level was played from the hub (not a slot)
  int clearPercent;           // the share of players who finish it, as the list said; -1 when unknown
  bool sent;                  // the run was sent and taken
  bool kept;                  // the hub could not be reached: the run is kept (online_outbox)
  int rank, record, best;     // from the hub; 0 when unknown
  char why[HubRefusalSize];   // the hub's cause of a refusal
  char name[HubNameSize];     // the name being typed
  HubCall call;
};
extern HubCardRecord HubCard;

void NotePlayedLevel(const char* title);
void UsePlayedLevelId(const char* id, int clearPercent);
void BeginHubCard(bool finished, bool assisted, bool testRun);
void ChooseHubName(const char* name);
void StepHubCard();

// "Rank 3 of the hub - record 245", "Sending the run...", the refusal, the
// unreachable line, or "" when the card shows nothing of the hub.
const char* HubCardLine();
