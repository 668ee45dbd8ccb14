// The Online screen's list: heading, narrowing line, rows with pictures, edges.
#include "ui/online_rows.h"

#include <cstdio>

#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/utf8.h"
#include "game/files/level_slots.h"
#include "game/lobby/online_browse.h"
#include "game/online/online_pictures.h"
#include "game/online/online_search.h"
#include "game/run/medals.h"
#include "game/settings/key_bindings.h"
#include "render/draw.h"
#include "render/hub_picture_view.h"
#include "render/medal_view.h"
#include "ui/bars.h"
#include "ui/list_layout.h"
#include "ui/menus.h"

static const float RowTitleSize = 0.55f;    // a row's first line: the level's title
static const float RowTitleTop = -16;       // the title's top, from the bar's inner top
static const float DetailSize = 0.4f;       // a row's second line: the author, and the numbers right-aligned
static const float RowDetailTop = 11;       // the second line's top, from the bar's inner top
static const float DetailGap = 20;          // between the author and the numbers
static const int CountTextSize = 48;        // bytes of "12345 plays" in two-byte letters
static const float MedalSize = 40;          // the medal of the player's own best, beside both lines
static const float PictureTop = -18;        // the row's picture box, from the bar's inner top
static const float PictureWidth = 72, PictureHeight = 54;
static const float PictureGap = 12;         // between the picture and the row's text
static const float NarrowY = -184;          // the line of what narrows the list, under the heading
static const float NarrowSize = 0.4f;
static const float NarrowGap = 24;          // between its parts
static const int KeyNameSize = 32;
static const char FieldCursor[] = "_";
static const float EmptyFrame[] = {0.5f, 0.5f, 0.5f, 0.6f};   // a picture's box while it has none

static char Line[256];

void DrawOnlinePicture(const char* id, float x, float y, float w, float h)
{
  if (DrawHubPicture(WantHubPicture(id), x, y, w, h))
    return;
  const float box[] = {x, y, x + w, y, x + w, y, x + w, y + h, x + w, y + h, x, y + h, x, y + h, x, y};
  DrawPlainLines(box, 4, EmptyFrame);
}

// Two lines a row beside the level's picture: the title, then the author and
// the numbers, with the medal of the player's own best at the right of both.
static void DrawLevelRow(const HubLevelEntry& e, float y)
{
  float left = MenuTextLeft + PictureWidth + PictureGap;
  DrawOnlinePicture(e.id, MenuTextLeft, y + PictureTop, PictureWidth, PictureHeight);
  float right = ScoreRight - MedalSize - DetailGap;
  int medal = MedalFor(e.best, e.authorScore);
  if (medal != medal_none)
    DrawMedal(medal, ScoreRight - MedalSize / 2, y + MenuBarHeight / 2, MedalSize);
  if (e.daily)
    snprintf(Line, sizeof Line, Tr("Level of the day: %s"), e.title);
  else
    snprintf(Line, sizeof Line, "%s", e.title);
  FitTextToWidth(Line, right - left, RowTitleSize);
  DrawText(left, y + RowTitleTop, Line, RowTitleSize);

  char record[CountTextSize] = "-", plays[CountTextSize], up[CountTextSize], finish[CountTextSize] = "";
  if (e.record)
    snprintf(record, sizeof record, "%d", e.record);
  snprintf(plays, sizeof plays, TrN("%d play", "%d plays", (unsigned long)e.plays), e.plays);
  unsigned long votes = e.rating < 0 ? -(unsigned long)e.rating : (unsigned long)e.rating;
  // TRANSLATORS: the votes a level on the hub has ("12 up"), as the list's row shows them.
  snprintf(up, sizeof up, TrN("%d up", "%d up", votes), e.rating);
  if (e.clearPercent >= 0)
    // TRANSLATORS: the share of the players who tried a hub level who finished it ("40% finish").
    snprintf(finish, sizeof finish, TrN("%d%% finish", "%d%% finish", (unsigned long)e.clearPercent), e.clearPercent);
  // TRANSLATORS: size, then the plays and votes counted ("12 plays", "3 up"), then the record.
  char numbers[sizeof Line - CountTextSize - 8];
  snprintf(numbers, sizeof numbers, Tr("%dx%d  %s  %s  record %s"), e.width, e.height, plays, up, record);
  snprintf(Line, sizeof Line, "%s%s%s", finish, finish[0] ? "  " : "", numbers);
  float detailY = y + RowDetailTop;
  DrawTextRight(Line, right, detailY, DetailSize);
  float numbersLeft = TextRightStart(Utf8Length(Line), right, DetailSize) - DetailGap;
  snprintf(Line, sizeof Line, Tr("by %s"), e.author);
  FitTextToWidth(Line, numbersLeft - left, DetailSize);
  DrawText(left, detailY, Line, DetailSize);
}

// One part of the narrowing line at x: "KEY what"; x moves past it.
static void DrawNarrowPart(float* x, int action, const char* what)
{
  char key[KeyNameSize];
  KeyLabel(Bindings.key[action][0], key, sizeof key);
  snprintf(Line, sizeof Line, "%s %s", key, what);
  FitTextToWidth(Line, FooterRight - *x, NarrowSize);
  DrawText(*x, NarrowY, Line, NarrowSize);
  *x += TextWidth(Line, NarrowSize) + NarrowGap;
}

// Under the heading: the search words and the filters after their keys, or the field being typed.
static void DrawNarrowing(bool typing, const char* typed)
{
  char words[HubSearchSize + 32];
  if (typing) {
    // TRANSLATORS: the Online screen's search field as it is typed; %s is the text and its cursor.
    snprintf(words, sizeof words, Tr("Search: %s%s"), typed, FieldCursor);
    snprintf(Line, sizeof Line, "%s    %s", words, Tr("Return: search (empty: every level)"));
    FitTextToWidth(Line, FooterRight - HeadingX, NarrowSize);
    DrawText(HeadingX, NarrowY, Line, NarrowSize);
    return;
  }
  float x = HeadingX;
  if (HubSearch.words[0])
    snprintf(words, sizeof words, Tr("search \"%s\""), HubSearch.words);
  else
    snprintf(words, sizeof words, "%s", Tr("search"));
  DrawNarrowPart(&x, bind_search, words);
  DrawNarrowPart(&x, bind_size, HubSizeName(HubSearch.size));
  DrawNarrowPart(&x, bind_difficulty, HubDifficultyName(HubSearch.difficulty));
}

// "N more above" right of the heading; "N more below" left of the line under
// the footer, apart from the keys, with the status line fitted beside it.
static void DrawListEdges(int rows)
{
  if (MenuFirstRow > 0) {
    snprintf(Line, sizeof Line, TrN("%i more above", "%i more above", MenuFirstRow), MenuFirstRow);
    DrawTextRight(Line, MoreAboveRight, HeadingY, SmallTextSize);
  }
  float statusLeft = MoreBelowLeft;
  if (MenuFirstRow + ListWindowRows < rows) {
    int below = rows - MenuFirstRow - ListWindowRows;
    snprintf(Line, sizeof Line, TrN("%i more below", "%i more below", below), below);
    DrawText(MoreBelowLeft, WatchHintY, Line, WatchHintSize);
    statusLeft += TextWidth(Line, WatchHintSize) + DetailGap;
  }
  snprintf(Line, sizeof Line, "%s", HubBrowseLine());
  FitTextToWidth(Line, FooterRight - statusLeft, WatchHintSize);
  DrawTextRight(Line, FooterRight, WatchHintY, WatchHintSize);
}

void DrawOnlineList(bool typing, const char* typed)
{
  snprintf(Line, sizeof Line, Tr("Levels on the hub, %s, page %d"), HubSortName(HubBrowse.sort), HubBrowse.page);
  DrawText(HeadingX, HeadingY, Line, SmallTextSize);
  DrawNarrowing(typing, typed);
  DrawTextRight(Tr("Tab: order  N: next page  B: back"), FooterRight, FooterY, SmallTextSize);
  int rows = HubBrowse.list.count;
  DrawListEdges(rows);
  for (int k = 0; k < ListWindowRows && MenuFirstRow + k < rows; k++) {
    float y = RowTop + RowStep * k;
    DrawRowPanel(MenuFirstRow + k == MenuCursor, y);
    DrawLevelRow(HubBrowse.list.levels[MenuFirstRow + k], y);
  }
  if (HubBrowse.listRead && rows == 0)
    DrawText(MenuTextLeft, RowTop - MenuTextRaise, Tr("No levels on this page"), MenuTextSize);
}
