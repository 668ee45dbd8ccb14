// Sharing the edited level: its author run, the name, the publish request.
#include "game/lobby/online_share.h"

#include <cstdio>
#include <cstring>

#include "game/base/lang.h"
#include "game/files/level_id.h"
#include "game/online/online_queue.h"
#include "game/run/medals.h"

HubShareRecord HubShare;

static const int HubStatusOk = 200;
static const int HubStatusCreated = 201;

static char ShareLine[HubRefusalSize + 64];   // the outcome as the bar says it, put in words as it is shown

// The outcome, in English for Tr() at the time it shows, and what follows it after ": ".
static void SayWith(const char* english, const char* detail)
{
  HubShare.state = hubshare_said;
  HubShare.said = english;
  snprintf(HubShare.detail, sizeof HubShare.detail, "%s", detail);
}

static void Say(const char* english)
{
  SayWith(english, "");
}

void NoteAuthorRun(bool finished, long version, const char* replay, int score)
{
  HubShare.authorRun = finished && replay[0];
  HubShare.score = score;
  HubShare.version = version;
  HubShare.replay = HubShare.authorRun ? replay : "";
  if (HubShare.state == hubshare_said)
    HubShare.state = hubshare_idle;
}

bool HasAuthorRun(long version)
{
  return HubShare.authorRun && HubShare.version == version;
}

void UseSavedAuthorRun(int n, long version)
{
  if (HasAuthorRun(version) || n < 1 || n > MaxLevels || AuthorScore[n - 1] <= 0)
    return;
  std::string replay = SavedAuthorRun(n);
  if (!replay.empty())
    NoteAuthorRun(true, version, replay.c_str(), AuthorScore[n - 1]);
}

static void Publish()
{
  HubShare.state = hubshare_publishing;
  std::string body = HubJsonBody("level", HubShare.level, "replay", HubShare.replay);
  if (!StartHubCall(&HubShare.call, hubask_publish, hubmethod_post, "/api/v1/levels", body))
    Say(N_("The hub cannot be reached"));
}

void ShareLevel(const char* title, long version)
{
  if (HubShare.state == hubshare_registering || HubShare.state == hubshare_publishing)
    return;
  if (!HubAddress[0]) {
    Say(N_("Set hub = ADDRESS in settings.ini to share levels"));
    return;
  }
  if (!HasAuthorRun(version)) {
    Say(N_("Finish the level in a test run (T) before sharing it"));
    return;
  }
  if (!WorldLevelText(title, &HubShare.level)) {
    Say(N_("The level could not be written out"));
    return;
  }
  if (HubTokenLost) {
    Say(Tr("Hub token unreadable: see Online"));
    return;
  }
  HubShare.name[0] = 0;
  if (NeedHubName())
    HubShare.state = hubshare_naming;
  else
    Publish();
}

static void Unreachable()
{
  Say(N_("The hub cannot be reached"));
}

void ChooseShareName(const char* name)
{
  bool naming = HubShare.state == hubshare_naming;
  if (naming && !name[0])
    HubShare.state = hubshare_idle;   // the player gave up sharing
  else if (naming && AskHubName(&HubShare.call, HubShare.name))
    HubShare.state = hubshare_registering;
  else if (naming)
    Unreachable();
}

static void ReadAnswer(const HubRequest& r)
{
  bool taken = r.status == HubStatusOk || r.status == HubStatusCreated;
  char why[HubRefusalSize];
  if (!taken) {
    HubRefusal(r.answer, r.status, why);
    SayWith(N_("Not shared"), why);
    return;
  }
  if (HubShare.state == hubshare_registering) {
    KeepHubName(HubShare.name);
    Publish();
    return;
  }
  LevelId id;
  if (ReadHubPublishedId(r.answer, id))
    SayWith(N_("Shared"), id);
  else
    Say(N_("The hub's answer could not be read"));
}

void StepHubShare()
{
  FinishHubCall(&HubShare.call, ReadAnswer, Unreachable);   // publishing may follow the name
}

const char* HubShareLine()
{
  switch (HubShare.state) {
  case hubshare_naming: return Tr("Your name on the hub (Return shares the level):");
  case hubshare_registering:
  case hubshare_publishing: return Tr("Sharing the level...");
  case hubshare_said:
    if (!HubShare.detail[0])
      return Tr(HubShare.said);
    snprintf(ShareLine, sizeof ShareLine, "%s: %s", Tr(HubShare.said), HubShare.detail);
    return ShareLine;
  default: return "";
  }
}
