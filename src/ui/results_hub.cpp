// The hub's lines on the results card and the name field.
#include "ui/results_hub.h"

#include <cstdio>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/online/online_card.h"
#include "game/online/online_queue.h"
#include "game/online/online_vote.h"
#include "render/draw.h"
#include "ui/text_field.h"

static const float HubLineSize = 0.45f;
static const float NameLineGap = 34;       // from the hub line to the name field, or the thumbs-up's line
static const float ClearLineGap = 64;      // from the hub line to the share of players who finish
static const float CardHubLines = 80;      // the card's growth for the hub line and the name field
static const float CardHubVoteLines = 110; // ... and for the thumbs-up's and the share's lines
static const char NameCursor[] = "_";

static TextField NameField;
static bool NameFieldOpen;

bool ResultsHubShown()
{
  return HubAddress[0] && HubCard.state != hubcard_off;
}

float ResultsHubHeight()
{
  bool more = HubVote.state != hubvote_off || HubClearLine()[0];
  return more ? CardHubVoteLines : CardHubLines;
}

bool ResultsHubNaming()
{
  return HubCard.state == hubcard_naming;
}

void ResultsHubInput()
{
  StepHubCard();
  StepHubVote();
  NameFieldOpen = NameFieldOpen && ResultsHubNaming();   // a field closed by an answer opens anew
  bool typed = ResultsHubNaming() &&
               OpenFieldKeys(&NameField, &NameFieldOpen, HubCard.name, HubNameSize - 1, Controls.text);
  if (typed)
    ChooseHubName(HubCard.name);
}

static void DrawCentredLine(const char* text, float y, float width)
{
  char line[160];
  snprintf(line, sizeof line, "%s", text);
  FitTextToWidth(line, width, HubLineSize);
  DrawText(-TextWidth(line, HubLineSize) / 2, y, line, HubLineSize);
}

void DrawResultsHub(float y, float width)
{
  if (!ResultsHubShown())
    return;
  DrawCentredLine(HubCardLine(), y, width);
  DrawCentredLine(HubClearLine(), y + ClearLineGap, width);
  if (!ResultsHubNaming()) {
    DrawCentredLine(HubVoteLine(), y + NameLineGap, width);
    return;
  }
  char field[HubNameSize + 8];
  snprintf(field, sizeof field, "%s%s", HubCard.name, NameCursor);
  DrawCentredLine(field, y + NameLineGap, width);
}
