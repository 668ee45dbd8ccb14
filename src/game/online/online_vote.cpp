// The results card's thumbs-up and the level's finish share.
#include "game/online/online_vote.h"

#include <cstdio>

#include "game/base/lang.h"
#include "game/online/online_account.h"
#include "game/online/online_card.h"
#include "game/online/online_queue.h"
#include "game/settings/key_bindings.h"

HubVoteRecord HubVote;

static const int HubStatusOk = 200;
static const int HubStatusNoContent = 204;
static char VoteLine[HubRefusalSize + 64];

void BeginHubVote(bool finished, bool testRun)
{
  EndHubCall(&HubVote.call);
  HubVote.why[0] = 0;
  bool hubLevel = HubAddress[0] && HubCard.fromHub && !testRun;
  HubVote.clearPercent = hubLevel ? HubCard.clearPercent : -1;
  HubVote.state = hubLevel && finished && !HubTokenLost ? hubvote_offered : hubvote_off;
  snprintf(HubVote.level, sizeof HubVote.level, "%s", hubLevel ? HubCard.level : "");
}

static void Unreachable()
{
  HubVote.state = hubvote_unreachable;
}

static void ReadAnswer(const HubRequest& r)
{
  HubVote.state = r.status == HubStatusOk || r.status == HubStatusNoContent ? hubvote_sent : hubvote_refused;
  if (HubVote.state == hubvote_refused)
    HubRefusal(r.answer, r.status, HubVote.why);
}

// The hub takes a thumbs-up only from a player who finished the level: not
// before the card's run has been sent.
static bool RunOnItsWay()
{
  int s = HubCard.state;
  return s == hubcard_naming || s == hubcard_registering || s == hubcard_sending;
}

void SendHubThumbsUp()
{
  // Again after a failure: the player may try once more.
  bool open = HubVote.state == hubvote_offered || HubVote.state == hubvote_refused ||
              HubVote.state == hubvote_unreachable;
  if (!open || RunOnItsWay() || !EnsureHubToken())
    return;
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s/rating", HubVote.level);
  HubVote.state = hubvote_sending;
  if (!StartHubCall(&HubVote.call, hubask_rating, hubmethod_post, path, "{\"up\": true}"))
    Unreachable();
}

void StepHubVote()
{
  FinishHubCall(&HubVote.call, ReadAnswer, Unreachable);
}

const char* HubVoteLine()
{
  char key[32];
  if (RunOnItsWay())
    return "";
  switch (HubVote.state) {
  case hubvote_offered:
    KeyLabel(Bindings.key[bind_thumbs_up][0], key, sizeof key);
    // TRANSLATORS: %s is the thumbs-up key as bound ("U").
    snprintf(VoteLine, sizeof VoteLine, Tr("%s: thumbs up"), key);
    return VoteLine;
  case hubvote_sending: return Tr("Sending your thumbs-up...");
  case hubvote_sent: return Tr("Thumbs up sent - thank you");
  case hubvote_refused:
    snprintf(VoteLine, sizeof VoteLine, "%s: %s", Tr("Thumbs up not taken"), HubVote.why);
    return VoteLine;
  case hubvote_unreachable: return Tr("The hub cannot be reached");
  default: return "";
  }
}

const char* HubClearLine()
{
  static char line[128];
  if (HubVote.clearPercent < 0)
    return "";
  int n = HubVote.clearPercent;
  snprintf(line, sizeof line, TrN("%d%% of players finish this level", "%d%% of players finish this level",
                                  (unsigned long)n), n);
  return line;
}
