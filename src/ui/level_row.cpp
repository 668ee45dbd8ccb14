// level_row: a level's row in the level lists.
#include "ui/level_row.h"

#include <cstdio>
#include <cstring>

#include "game/base/lang.h"
#include "game/files/assist_best.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/files/level_slots.h"
#include "game/play/world.h"
#include "game/run/medals.h"
#include "render/draw.h"
#include "render/medal_view.h"
#include "ui/assist_sign.h"
#include "ui/bars.h"
#include "ui/ghost_view.h"
#include "ui/list_layout.h"

const float GhostMarkSize = 36;        // the ghost ball before a level's best score
const float GhostMarkGap = 6;          // between the mark and the score
const float AssistScoreSize = 0.5f;    // an assisted best, smaller than the best
const float AssistScoreDrop = 3;       // its top below the best's, so their middles line up
const float MedalMarkSize = 40;        // the medal of the level's best score
const float LabelGap = 20;             // kept clear between a cut title and the score or mark

// "Level 999 - " and a full title slot fit with room to spare.
const int RowLabelSize = 32 + TitleSlotSize;

static char RowLabel[RowLabelSize];

// An assisted best before the best score (and ghost mark) at right: its sign
// and the score, smaller; the left edge of what it drew.
static float DrawAssistedBest(int best, float right, float y)
{
  char score[RowLabelSize];
  snprintf(score, sizeof score, "%i", best);
  right -= GhostMarkGap;
  DrawTextRight(score, right, y - MenuTextRaise + AssistScoreDrop, AssistScoreSize);
  right = TextRightStart((int)strlen(score), right, AssistScoreSize) - GhostMarkGap - AssistSignSize;
  DrawAssistSign(right, y + (MenuBarHeight - AssistSignSize) / 2);
  return right;
}

// Level n's row: "Level n - title", cut short of its best score and, in the
// play list, the ghost mark of a level with a best run.
void DrawLevelRow(int n, float y, bool playList)
{
  snprintf(RowLabel, sizeof(RowLabel), "%i", LevelBest[n - 1]);
  DrawTextRight(RowLabel, ScoreRight, y - MenuTextRaise, MenuTextSize);
  float labelRight = TextRightStart((int)strlen(RowLabel), ScoreRight, MenuTextSize);
  int medal = MedalFor(LevelBest[n - 1], AuthorScore[n - 1]);
  if (medal != medal_none) {
    DrawMedal(medal, labelRight - GhostMarkGap - MedalMarkSize / 2, y + MenuBarHeight / 2, MedalMarkSize);
    labelRight -= GhostMarkGap + MedalMarkSize;
  }
  if (playList && LevelHasGhost[n - 1]) {
    DrawGhostBall(labelRight - GhostMarkGap - GhostMarkSize / 2, y + MenuBarHeight / 2, GhostMarkSize);
    labelRight -= GhostMarkGap + GhostMarkSize;
  }
  if (playList && LevelAssistBest[n - 1])
    labelRight = DrawAssistedBest(LevelAssistBest[n - 1], labelRight, y);
  // TRANSLATORS: a level's number and its title.
  snprintf(RowLabel, sizeof(RowLabel), Tr("Level %i - %.*s"), n,
           (int)strcspn(LevelTitles[n - 1], "\r\n"), LevelTitles[n - 1]);
  FitTextToWidth(RowLabel, labelRight - LabelGap - MenuTextLeft, MenuTextSize);
  DrawText(MenuTextLeft, y - MenuTextRaise, RowLabel, MenuTextSize);
}
