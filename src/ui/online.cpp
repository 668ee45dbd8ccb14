// The Online screen: the hub's level list and a level's leaderboard.
#include "ui/online.h"

#include <cstdio>
#include <cstring>

#include "game/controls.h"
#include "game/hub_account.h"
#include "game/hub_browse.h"
#include "game/hub_queue.h"
#include "game/lang.h"
#include "game/level_slots.h"
#include "game/medals.h"
#include "game/screen.h"
#include "game/sound_events.h"
#include "game/utf8.h"
#include "render/draw.h"
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
static const float BoardTop = -140;         // the leaderboard's first line
static const float BoardStep = 34;
static const float BoardSize = 0.55f;
static const float BoardScoreRight = 200;
static const float BoardNameLeft = -330;
static const float BoardRankRight = -350;

static bool BoardShown;   // the lit level's leaderboard instead of the list
static char Line[256];

void OpenOnline()
{
  BoardShown = false;
  OpenHubBrowse();
}

static void ListKeys()
{
  int rows = HubBrowse.list.count;
  int cursor = MenuCursor;
  MoveListCursor((int)Controls.menuDown - (int)Controls.menuUp, rows);
  int row = PointerListRow(rows);
  bool choose = Controls.menuChoose;
  if (row >= 0 && (Controls.pointerMoved || Controls.pointerClick))
    MenuCursor = MenuFirstRow + row;
  if (row >= 0 && Controls.pointerClick)
    choose = true;
  if (MenuCursor != cursor)
    PushSound(sound_menu_move);
  if (Controls.menuBack) {
    RequestScreen(gamestate_title);
    PushSound(sound_menu_back);
  } else if (Controls.titleEdit || Controls.nextLevel) {
    int sort = Controls.titleEdit ? (HubBrowse.sort + 1) % hubsort_count : HubBrowse.sort;
    int page = Controls.titleEdit || !HubBrowse.list.more ? 1 : HubBrowse.page + 1;
    AskHubPage(sort, page);
    MenuCursor = MenuFirstRow = 0;
    PushSound(sound_menu_choose);
  } else if (Controls.restart && HubTokenLost) {
    RenewHubToken();
    PushSound(sound_menu_choose);
  } else if (choose && MenuCursor < rows) {
    AskHubBoard(MenuCursor);
    BoardShown = true;
    PushSound(sound_menu_choose);
  }
}

static void BoardKeys()
{
  if (Controls.menuBack) {
    BoardShown = false;
    PushSound(sound_menu_back);
  } else if (Controls.menuChoose || Controls.watchRun) {
    FetchHubLevel(MenuCursor, Controls.watchRun);
    PushSound(sound_menu_choose);
  }
}

// Two lines a row: the title, then the author and the numbers, with the
// medal of the player's own best at the right of both.
static void DrawLevelRow(const HubLevelEntry& e, float y)
{
  float right = ScoreRight - MedalSize - DetailGap;
  int medal = MedalFor(e.best, e.authorScore);
  if (medal != medal_none)
    DrawMedal(medal, ScoreRight - MedalSize / 2, y + MenuBarHeight / 2, MedalSize);
  snprintf(Line, sizeof Line, "%s", e.title);
  FitTextToWidth(Line, right - MenuTextLeft, RowTitleSize);
  DrawText(MenuTextLeft, y + RowTitleTop, Line, RowTitleSize);

  char record[CountTextSize] = "-", plays[CountTextSize], up[CountTextSize];
  if (e.record)
    snprintf(record, sizeof record, "%d", e.record);
  snprintf(plays, sizeof plays, TrN("%d play", "%d plays", (unsigned long)e.plays), e.plays);
  unsigned long votes = e.rating < 0 ? -(unsigned long)e.rating : (unsigned long)e.rating;
  // TRANSLATORS: the votes a level on the hub has ("12 up"), as the list's row shows them.
  snprintf(up, sizeof up, TrN("%d up", "%d up", votes), e.rating);
  // TRANSLATORS: size, then the plays and votes counted ("12 plays", "3 up"), then the record.
  snprintf(Line, sizeof Line, Tr("%dx%d  %s  %s  record %s"), e.width, e.height, plays, up, record);
  float detailY = y + RowDetailTop;
  DrawTextRight(Line, right, detailY, DetailSize);
  float numbersLeft = TextRightStart(Utf8Length(Line), right, DetailSize) - DetailGap;
  snprintf(Line, sizeof Line, Tr("by %s"), e.author);
  FitTextToWidth(Line, numbersLeft - MenuTextLeft, DetailSize);
  DrawText(MenuTextLeft, detailY, Line, DetailSize);
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

static void DrawList()
{
  snprintf(Line, sizeof Line, Tr("Levels on the hub, %s, page %d"), HubSortName(HubBrowse.sort), HubBrowse.page);
  DrawText(HeadingX, HeadingY, Line, SmallTextSize);
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

static void DrawBoard()
{
  if (MenuCursor >= HubBrowse.list.count)
    return;
  const HubLevelEntry& e = HubBrowse.list.levels[MenuCursor];
  snprintf(Line, sizeof Line, Tr("%s by %s"), e.title, e.author);
  FitTextToWidth(Line, FooterRight - HeadingX, SmallTextSize);
  DrawText(HeadingX, HeadingY, Line, SmallTextSize);
  bool shown = HubBrowse.boardRow == MenuCursor;
  bool race = shown && HubBrowse.board.count > 0;
  DrawTextRight(race ? Tr("Return: play  G: race the record  B: back") : Tr("Return: play  B: back"), FooterRight,
                FooterY, SmallTextSize);
  if (!shown)
    return;
  for (int i = 0; i < HubBrowse.board.count; i++) {
    const HubBoardRow& r = HubBrowse.board.rows[i];
    float y = BoardTop + BoardStep * i;
    snprintf(Line, sizeof Line, "%d.", r.rank);
    DrawTextRight(Line, BoardRankRight, y, BoardSize);
    DrawText(BoardNameLeft, y, r.name, BoardSize);
    snprintf(Line, sizeof Line, "%d", r.score);
    DrawTextRight(Line, BoardScoreRight, y, BoardSize);
  }
  if (HubBrowse.board.count == 0)
    DrawText(BoardNameLeft, BoardTop, Tr("No record yet"), BoardSize);
  if (HubBrowse.board.playerRank) {
    snprintf(Line, sizeof Line, Tr("Your rank %d with %d"), HubBrowse.board.playerRank, HubBrowse.board.playerScore);
    DrawText(BoardNameLeft, BoardTop + BoardStep * HubBoardRows, Line, BoardSize);
  }
}

void DrawLinkedLevelLine()
{
  if (!HubBrowse.linked)
    return;
  StepHubBrowse();
  HubBrowse.linked = HubBrowse.busy || HubBrowse.note[0];   // done once the level started
  DrawTextRight(HubBrowseLine(), FooterRight, WatchHintY, WatchHintSize);
}

void OnlineFrame()
{
  StepHubBrowse();
  if (GameState == gamestate_online && NextScreen() == gamestate_online) {
    if (BoardShown)
      BoardKeys();
    else
      ListKeys();
  }
  ScreenOrtho();
  float half = ScreenOrthoHalfHeight();
  DrawQuad(AtlasBackground, 0, 0, 2 * half * AspectRatio, 2 * half, 0);
  DrawTitleLogo();
  if (BoardShown) {
    DrawBoard();
    DrawTextRight(HubBrowseLine(), FooterRight, WatchHintY, WatchHintSize);
  } else {
    DrawList();
  }
}
