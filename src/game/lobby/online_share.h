// online_share: publishing the level in the editor on the hub. A level is
// shared with its author run: the recorded replay of a test run that reached
// the finish since the level's last edit; without one the editor says to
// finish it first. A player with no name on the hub chooses one first (the
// editor's bar holds the field). The outcome shows on the editor's bar:
// "Shared: ID" or the hub's cause for refusing it.
//   HubShare                         the record the editor reads
//   NoteAuthorRun(finished, version, replay, score)  a test run ended at the edit history's version
//   UseSavedAuthorRun(n, version)    the level as saved: the author run saved beside it stands
//   ShareLevel(title, version)       the share key: publish, ask for a name, or say why not
//   ChooseShareName(name)            the name typed; "" gives up
//   StepHubShare()                   once a frame in the editor: the answer in
//   HubShareLine()                   the bar's line; "" when there is nothing to say
#pragma once

#include <string>

#include "game/online/online_account.h"
#include "game/online/online_answers.h"

enum {
  hubshare_idle = 0,
  hubshare_naming,        // the name field is open
  hubshare_registering,
  hubshare_publishing,
  hubshare_said           // said and detail hold the outcome
};

struct HubShareRecord {
  int state;                       // hubshare_*
  bool authorRun;                  // replay finished the level at version
  long version;
  std::string replay;              // the author run's replay text
  int score;                       // its score
  std::string level;               // the level's text being shared
  char name[HubNameSize];          // the name being typed
  const char* said;                // the outcome, in English for Tr() ("Shared")
  char detail[HubRefusalSize];     // what follows it ("Shared: <id>", "Not shared: <why>"); "" for nothing
  HubCall call;
};
extern HubShareRecord HubShare;

void NoteAuthorRun(bool finished, long version, const char* replay, int score);

// True while the author run stands for the level at the history's version.
bool HasAuthorRun(long version);
// Level n unchanged since it was saved at version: the author run saved with
// it (levelN.author.replay, its score re-run at start-up or kept when saved)
// stands for it unless a test run since stands already.
void UseSavedAuthorRun(int n, long version);
void ShareLevel(const char* title, long version);
void ChooseShareName(const char* name);
void StepHubShare();
const char* HubShareLine();
