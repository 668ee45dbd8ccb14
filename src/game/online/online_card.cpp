// The results card's conversation with the hub: register, send, ask.
#include "game/online/online_card.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "game/base/lang.h"
#include "game/files/replay_record.h"
#include "game/online/online_outbox.h"
#include "game/online/online_queue.h"

HubCardRecord HubCard;

static const int HubStatusOk = 200;
static const int HubStatusCreated = 201;
static const int HubStatusNotFound = 404;
static char CardLine[HubRefusalSize + 64];
static std::string RunToSend;   // the finished run's replay, kept while the name is chosen

void NotePlayedLevel(const char* title)
{
  HubCard.level[0] = 0;
  HubCard.fromHub = false;
  HubCard.clearPercent = -1;
  if (HubAddress[0])
    WorldLevelId(title, HubCard.level);
}

void UsePlayedLevelId(const char* id, int clearPercent)
{
  snprintf(HubCard.level, sizeof HubCard.level, "%s", IsLevelIdText(id) ? id : "");
  HubCard.fromHub = HubCard.level[0] != 0;
  HubCard.clearPercent = clearPercent;
}

// The hub cannot be reached: a run on its way (or waiting for its name) is
// kept to be sent later.
static void Unreachable()
{
  bool withRun = HubCard.state == hubcard_sending || HubCard.state == hubcard_registering;
  HubCard.state = hubcard_unreachable;
  HubCard.kept = withRun && KeepRunForHub(HubCard.level, RunToSend);
}

static void Ask(int state, int kind, int method, const char* path, const std::string& body)
{
  HubCard.state = state;
  if (!StartHubCall(&HubCard.call, kind, method, path, body))
    Unreachable();
}

static void SendRun()
{
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s/runs", HubCard.level);
  Ask(hubcard_sending, hubask_run, hubmethod_post, path, HubJsonBody("replay", RunToSend, nullptr, ""));
}

static void AskRecord()
{
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s/records?limit=1", HubCard.level);
  Ask(hubcard_asking, hubask_records, hubmethod_get, path, "");
}

void BeginHubCard(bool finished, bool assisted, bool testRun)
{
  EndHubCall(&HubCard.call);
  HubCard.state = hubcard_off;
  HubCard.sent = HubCard.kept = false;
  HubCard.rank = HubCard.record = HubCard.best = 0;
  HubCard.why[0] = 0;
  CardLine[0] = 0;
  RunToSend.clear();
  if (!HubAddress[0] || testRun || !HubCard.level[0])
    return;
  const char* replay = RecordedReplayText();
  if (!finished || assisted || !replay[0]) {
    AskRecord();
    return;
  }
  if (HubTokenLost) {   // nothing is sent under a name the hub knows by a lost token
    HubCard.state = hubcard_refused;
    snprintf(HubCard.why, sizeof HubCard.why, "%s", Tr("Hub token unreadable: see Online"));
    return;
  }
  RunToSend = replay;
  HubCard.name[0] = 0;
  if (NeedHubName())
    HubCard.state = hubcard_naming;
  else
    SendRun();
}

void ChooseHubName(const char* name)
{
  if (HubCard.state != hubcard_naming)
    return;
  if (!name[0]) {   // the player chose not to be on the hub this time
    AskRecord();
    return;
  }
  if (name != HubCard.name)
    snprintf(HubCard.name, sizeof HubCard.name, "%s", name);
  HubCard.state = hubcard_registering;
  if (!AskHubName(&HubCard.call, HubCard.name))
    Unreachable();
}

// The answer of a done call: true for the statuses that mean it was taken.
static bool Taken(const HubRequest& r)
{
  return r.status == HubStatusOk || r.status == HubStatusCreated;
}

static void ReadAnswer(const HubRequest& r)
{
  if (!Taken(r)) {
    HubRefusal(r.answer, r.status, HubCard.why);
    if (r.status == HubStatusNotFound)
      snprintf(HubCard.why, sizeof HubCard.why, "%s", Tr("This level is not on the hub"));
    else if (HubCard.state == hubcard_sending)
      snprintf(CardLine, sizeof CardLine, "%s: %s", Tr("Run not taken"), HubCard.why);
    // A name the hub would not take: the field opens again with the cause shown.
    HubCard.state = HubCard.state == hubcard_registering ? hubcard_naming : hubcard_refused;
    return;
  }
  if (HubCard.state == hubcard_registering) {
    KeepHubName(HubCard.name);
    HubCard.why[0] = 0;
    SendRun();
    return;
  }
  bool read;
  if (HubCard.state == hubcard_sending) {
    HubRunAnswer answer;
    read = HubCard.sent = ReadHubRunAnswer(r.answer, &answer);
    HubCard.rank = answer.rank;
    HubCard.record = answer.record;
    HubCard.best = answer.best;
  } else {
    HubBoard board;
    read = ReadHubBoard(r.answer, &board);
    HubCard.record = board.count ? board.rows[0].score : 0;
    HubCard.rank = board.playerRank;
    HubCard.best = board.playerScore;
  }
  HubCard.state = read ? hubcard_shown : hubcard_refused;
  if (!read)
    snprintf(HubCard.why, sizeof HubCard.why, "%s", HubUnreadLine());
}

void StepHubCard()
{
  FinishHubCall(&HubCard.call, ReadAnswer, Unreachable);   // the run may follow the name
}

const char* HubCardLine()
{
  switch (HubCard.state) {
  case hubcard_naming:
    return HubCard.why[0] ? HubCard.why : Tr("Your name on the hub (Return sends the run):");
  case hubcard_registering:
  case hubcard_sending: return Tr("Sending the run...");
  case hubcard_asking: return Tr("Asking the hub...");
  case hubcard_refused:
    return CardLine[0] ? CardLine : HubCard.why;
  case hubcard_unreachable:
    return HubCard.kept ? Tr("Saved; it will be sent when the hub can be reached") : Tr("The hub cannot be reached");
  case hubcard_shown:
    if (HubCard.rank)
      snprintf(CardLine, sizeof CardLine, Tr("Hub rank %d - record %d"), HubCard.rank, HubCard.record);
    else if (HubCard.record)
      snprintf(CardLine, sizeof CardLine, Tr("Hub record %d"), HubCard.record);
    else
      snprintf(CardLine, sizeof CardLine, "%s", Tr("No record on the hub yet"));
    return CardLine;
  default: return "";
  }
}
