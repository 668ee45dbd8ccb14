// The hub's lines on the results card and the name field.
#include "ui/results_hub.h"

#include <cstdio>

#include "game/controls.h"
#include "game/hub_card.h"
#include "game/hub_queue.h"
#include "game/lang.h"
#include "render/draw.h"
#include "ui/text_field.h"

static const float HubLineSize = 0.45f;
static const float NameLineGap = 34;       // from the hub line to the name field
static const char NameCursor[] = "_";

static TextField NameField;
static bool NameFieldOpen;

bool ResultsHubShown()
{
  return HubAddress[0] && HubCard.state != hubcard_off;
}

bool ResultsHubNaming()
{
  return HubCard.state == hubcard_naming;
}

void ResultsHubInput()
{
  StepHubCard();
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
  if (!ResultsHubNaming())
    return;
  char field[HubNameSize + 8];
  snprintf(field, sizeof field, "%s%s", HubCard.name, NameCursor);
  DrawCentredLine(field, y + NameLineGap, width);
}
