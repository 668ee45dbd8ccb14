// The Online screen: the hub's level list and a level's leaderboard.
#include "ui/online.h"

#include <cstdio>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/level_slots.h"
#include "game/lobby/online_browse.h"
#include "game/online/online_account.h"
#include "game/online/online_queue.h"
#include "game/online/online_report.h"
#include "game/online/online_search.h"
#include "game/settings/key_bindings.h"
#include "render/draw.h"
#include "render/hub_picture_view.h"
#include "ui/bars.h"
#include "ui/list_layout.h"
#include "ui/menus.h"
#include "ui/online_rows.h"
#include "ui/text_field.h"

static const float BoardTop = -140;         // the leaderboard's first line
static const float BoardStep = 34;
static const float BoardSize = 0.55f;
static const float BoardScoreRight = 200;
static const float BoardNameLeft = -330;
static const float BoardRankRight = -350;
static const float BoardPictureLeft = 240;  // the lit level's picture, right of its leaderboard
static const float BoardPictureSide = 210;
static const float ReasonTop = -60;         // the list of reasons to report a level
static const float ReasonStep = 70;

static bool BoardShown;   // the lit level's leaderboard instead of the list
static bool Typing;       // the search field has the keys
static bool FieldOpen;    // ... and has been opened on Typed
static TextField SearchField;
static char Typed[HubSearchSize];
static char Line[256];

void OpenOnline()
{
  BoardShown = false;
  Typing = false;
  CloseHubReport();
  OpenHubBrowse();
}

bool OnlineTyping()
{
  return Typing;
}

// The list again from page 1, after the words or a filter changed.
static void Narrowed()
{
  AskHubPage(HubBrowse.sort, 1);
  MenuCursor = MenuFirstRow = 0;
  PushSound(sound_menu_choose);
}

// The search field's keys: Return sends the words (none: every level).
static void SearchKeys()
{
  if (!OpenFieldKeys(&SearchField, &FieldOpen, Typed, HubSearchSize - 1, Controls.text))
    return;
  Typing = false;
  snprintf(HubSearch.words, sizeof HubSearch.words, "%s", Typed);
  Narrowed();
}

static void ListKeys()
{
  if (Typing) {
    SearchKeys();
    return;
  }
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
  } else if (Controls.search) {
    Typing = true;
    FieldOpen = false;
    snprintf(Typed, sizeof Typed, "%s", HubSearch.words);
    PushSound(sound_menu_choose);
  } else if (Controls.sizeFilter || Controls.difficultyFilter) {
    if (Controls.sizeFilter)
      NextHubSize();
    else
      NextHubDifficulty();
    Narrowed();
  } else if (Controls.restart && HubTokenLost) {
    RenewHubToken();
    PushSound(sound_menu_choose);
  } else if (choose && MenuCursor < rows) {
    AskHubBoard(MenuCursor);
    BoardShown = true;
    if (HubReport.state != hubreport_sending)
      HubReport.state = hubreport_idle;   // what became of a report is said on its own level's board
    PushSound(sound_menu_choose);
  }
}

// The list of reasons to report the lit level: Return sends the lit one, B closes it.
static void ReportKeys()
{
  if (Controls.menuUp || Controls.menuDown) {
    MoveHubReport(Controls.menuDown ? 1 : -1);
    PushSound(sound_menu_move);
  } else if (Controls.menuChoose) {
    SendHubReport();
    PushSound(sound_menu_choose);
  } else if (Controls.menuBack) {
    CloseHubReport();
    PushSound(sound_menu_back);
  }
}

static void BoardKeys()
{
  if (HubReport.choosing) {
    ReportKeys();
  } else if (Controls.report && MenuCursor < HubBrowse.list.count) {
    OpenHubReport(HubBrowse.list.levels[MenuCursor].id);
    PushSound(sound_menu_choose);
  } else if (Controls.menuBack) {
    BoardShown = false;
    PushSound(sound_menu_back);
  } else if (Controls.menuChoose || Controls.watchRun) {
    FetchHubLevel(MenuCursor, Controls.watchRun);
    PushSound(sound_menu_choose);
  }
}

// The reasons to report the lit level, one a row, the chosen one lit.
static void DrawReasons()
{
  DrawText(BoardNameLeft, BoardTop, Tr("Report this level to the hub's keepers:"), BoardSize);
  for (int r = 0; r < hubreason_count; r++) {
    float y = ReasonTop + ReasonStep * r;
    DrawRowPanel(r == HubReport.reason, y);
    DrawText(MenuTextLeft, y - MenuTextRaise, HubReasonName(r), MenuTextSize);
  }
  DrawTextRight(Tr("Return: send  B: cancel"), FooterRight, FooterY, SmallTextSize);
}

static void DrawBoard()
{
  if (MenuCursor >= HubBrowse.list.count)
    return;
  const HubLevelEntry& e = HubBrowse.list.levels[MenuCursor];
  snprintf(Line, sizeof Line, Tr("%s by %s"), e.title, e.author);
  FitTextToWidth(Line, FooterRight - HeadingX, SmallTextSize);
  DrawText(HeadingX, HeadingY, Line, SmallTextSize);
  if (HubReport.choosing) {
    DrawReasons();
    return;
  }
  DrawOnlinePicture(e.id, BoardPictureLeft, BoardTop, BoardPictureSide, BoardPictureSide);
  bool shown = HubBrowse.boardRow == MenuCursor;
  bool race = shown && HubBrowse.board.count > 0;
  char key[32];
  KeyLabel(Bindings.key[bind_report][0], key, sizeof key);
  // TRANSLATORS: the leaderboard's keys; %s is the report key as bound ("K").
  snprintf(Line, sizeof Line, race ? Tr("Return: play  G: race  %s: report  B: back") : Tr("Return: play  %s: report  B: back"),
           key);
  DrawTextRight(Line, FooterRight, FooterY, SmallTextSize);
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
  StepHubReport();
  StepHubPictureViews();
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
    const char* report = HubReportLine();
    DrawTextRight(report[0] ? report : HubBrowseLine(), FooterRight, WatchHintY, WatchHintSize);
  } else {
    DrawOnlineList(Typing, Typed);
  }
}
