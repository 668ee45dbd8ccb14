// Sharing from the editor: the key, the name field, the bar's line.
#include "ui/editor_share.h"

#include <cstdio>

#include "game/base/controls.h"
#include "game/edit/edit_history.h"
#include "game/lobby/online_share.h"
#include "game/play/world.h"
#include "ui/text_field.h"

static const char NameCursor[] = "_";

static TextField NameField;
static bool NameFieldOpen;
static char ShareText[HubRefusalSize + HubNameSize + 64];

bool EditorShareNaming()
{
  return HubShare.state == hubshare_naming;
}

bool EditorShareKeys(bool saved)
{
  StepHubShare();
  bool naming = EditorShareNaming();
  NameFieldOpen = NameFieldOpen && naming;
  if (naming && OpenFieldKeys(&NameField, &NameFieldOpen, HubShare.name, HubNameSize - 1, Controls.text))
    ChooseShareName(HubShare.name);
  else if (!naming && Controls.share) {
    if (saved)   // the level as saved: a finishing run saved with it is its author run
      UseSavedAuthorRun(CurrentLevel, HistoryVersion());
    ShareLevel(EditTitle, HistoryVersion());
  }
  return naming;
}

const char* EditorShareText()
{
  const char* line = HubShareLine();
  if (!EditorShareNaming())
    return line;
  snprintf(ShareText, sizeof ShareText, "%s %s%s", line, HubShare.name, NameCursor);
  return ShareText;
}
