// The title screen and the two level lists.
#include "ui/menus.h"

#include <cstdio>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/base/utf8.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/files/level_slots.h"
#include "game/online/online_queue.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/settings/options.h"
#include "render/draw.h"
#include "ui/bars.h"
#include "ui/editor.h"
#include "ui/level_note.h"
#include "ui/level_row.h"
#include "ui/list_delete.h"
#include "ui/list_layout.h"
#include "ui/watch.h"

const int TitleEntries = 5;            // "Play", "Edit", "Online", "Options", "Quit"
const int TitleOnline = 2;
const int TitleOptions = 3;
const int TitleQuit = 4;
const int VisibleRows = ListWindowRows;

// The title's rows sit higher than a list's, so that the logo keeps its room
// and "Quit" its gap below "Options".
const float TitleRowTop0 = -190;
const float QuitRowTop = TitleRowTop0 + (TitleQuit + 1) * RowStep;  // a row's gap below the row above
const float RowHitHalfGap = 15;        // a row answers the pointer this far above and below its bar (its whole panel);
                                       // the window's middle, between "Online" and "Options" on the title, answers none
const float RowHitSide = PanelBorder;  // ... and across its frame at the sides
// A row's panel is drawn thinner than its bar so that its frame, which
// shows nearly all of its PanelBorder, stays clear of the next row's.
const float RowPanelGap = 10;          // clear units between two rows' frames
const float PanelArtMargin = 2.5f;     // clear units at the frame's outer edge (5 of 64 pixels)
const float RowPanelFrame = PanelBorder - PanelArtMargin;
const float RowPanelHeight = RowStep - RowPanelGap - 2 * RowPanelFrame;
const float RowPanelRaise = (RowPanelHeight - MenuBarHeight) / 2;  // same centre as the bar

const float NoHubSize = 0.45f;         // the Online row's note without a hub
const float NoHubRaise = 5;            // its top below the row's text top
const float TitleY = -300;             // the logo across the top
const float TitleWidth = 800;
const float TitleHeight = 200;



// "Level 999 - " and a full title slot fit with room to spare.
const int LabelBufferSize = 32 + TitleSlotSize;

static char MenuLabel[LabelBufferSize];

static bool InEditList()
{
  return GameState == gamestate_editlist;
}

// The edit list's "New level" row, after the last level; -1 in the play list
// or when every slot is used.
static int NewLevelRow(bool editList)
{
  return editList && FreeLevelSlot() ? LevelRowCount(false) : -1;
}

// Rows in the play or edit list.
static int ListRows(bool editList)
{
  return LevelRowCount(!editList) + (NewLevelRow(editList) >= 0);
}

// The first row scrolled as little as needed to show the cursor, within a list of rows.
static void ShowCursorRowOf(int rows)
{
  if (MenuFirstRow > MenuCursor)
    MenuFirstRow = MenuCursor;
  if (MenuFirstRow < MenuCursor - (VisibleRows - 1))
    MenuFirstRow = MenuCursor - (VisibleRows - 1);
  if (MenuFirstRow > rows - VisibleRows)
    MenuFirstRow = rows - VisibleRows;
  if (MenuFirstRow < 0)
    MenuFirstRow = 0;
}

static void ShowCursorRow()
{
  ShowCursorRowOf(ListRows(InEditList()));
}

void PlaceMenuCursor()
{
  MenuCursor = MenuFirstRow = 0;
  ClearLevelNote();   // a note left by the results card's keys belongs to no list
  bool list = GameState == gamestate_playlist || GameState == gamestate_editlist;
  int row = RowOfLevel(CurrentLevel, !InEditList());
  if (!list || row < 0)
    return;
  MenuCursor = row;
  MenuFirstRow = row - (VisibleRows - 1);   // the row at the foot of the window
  ShowCursorRow();
}

// Without a hub the Online row only says how to set one: the highlight and
// the pointer pass it over.
static bool TitleEntryLive(int i)
{
  return i != TitleOnline || HubAddress[0];
}

static float TitleRowTop(int i)
{
  return i == TitleQuit ? QuitRowTop : TitleRowTop0 + RowStep * i;
}

// The title entry or visible row of a list of rows whose bar is under the mouse pointer; -1 for none.
static int PointerRowOf(bool title, int rows)
{
  if (!(ScreenWidth > 0 && ScreenHeight > 0))
    return -1;
  float half = ScreenOrthoHalfHeight();
  float x = (Controls.pointerX / ScreenWidth * 2 - 1) * half * AspectRatio;
  float y = (Controls.pointerY / ScreenHeight * 2 - 1) * half;
  if (x < MenuBarLeft - RowHitSide || x > MenuBarLeft + MenuBarWidth + RowHitSide)
    return -1;
  int shown = title ? TitleEntries : VisibleRows;
  for (int i = 0; i < shown; i++) {
    float top = title ? TitleRowTop(i) : RowTop + RowStep * i;
    bool inside = y >= top - RowHitHalfGap && y < top + MenuBarHeight + RowHitHalfGap;
    if (inside && (title ? TitleEntryLive(i) : MenuFirstRow + i < rows))
      return i;
  }
  return -1;
}

static int PointerRow()
{
  return PointerRowOf(GameState == gamestate_title, ListRows(InEditList()));
}

int PointerListRow(int rows)
{
  return PointerRowOf(false, rows);
}

// The keys and the wheel move the highlight over the whole list: a row, a
// window (Page Up / Down), to either end (Home / End); the wheel scrolls the
// window and the highlight stays in it.
void MoveListCursor(int step, int rows)
{
  if (Controls.pageUp)
    step -= VisibleRows;
  if (Controls.pageDown)
    step += VisibleRows;
  MenuCursor += step;
  if (Controls.listHome)
    MenuCursor = 0;
  if (Controls.listEnd)
    MenuCursor = rows - 1;
  if (Controls.wheelSteps) {
    MenuFirstRow += Controls.wheelSteps;
    if (MenuFirstRow > rows - VisibleRows)
      MenuFirstRow = rows - VisibleRows;
    if (MenuFirstRow < 0)
      MenuFirstRow = 0;
    if (MenuCursor < MenuFirstRow)
      MenuCursor = MenuFirstRow;
    if (MenuCursor > MenuFirstRow + VisibleRows - 1)
      MenuCursor = MenuFirstRow + VisibleRows - 1;
  }
  if (MenuCursor > rows - 1)
    MenuCursor = rows - 1;
  if (MenuCursor < 0)
    MenuCursor = 0;
  ShowCursorRowOf(rows);
}

static void MoveInList(int step)
{
  MoveListCursor(step, ListRows(InEditList()));
}

static void ListInput(bool back, bool choose, bool watch)
{
  if (back) {
    RequestScreen(gamestate_title);
    return;
  }
  int n = LevelOfRow(MenuCursor, !InEditList());
  if (watch && GameState == gamestate_playlist) {
    if (n && LevelHasGhost[n - 1] && LevelReadyToStart(n))
      StartWatch(n);
    return;
  }
  bool edit = GameState == gamestate_editlist;
  if (edit && Controls.deleteLevel) {
    DeleteKeyOnLevel(n);
    ShowCursorRow();   // a deleted level's row may have gone
    return;
  }
  if (!choose)
    return;
  if (MenuCursor == NewLevelRow(InEditList())) {
    n = FreeLevelSlot();
    RequestScreen(gamestate_editing);
    StartLevel(n);
    OpenEditor(n, true);
    return;
  }
  if (!n || !LevelExists[n - 1])
    return;
  // Gone, unreadable or without a spawn since the list was made.
  if (edit ? !LevelReadyToStart(n) : !LevelReadyToPlay(n))
    return;
  RequestScreen(edit ? gamestate_editing : gamestate_playing);
  StartLevel(n);
  if (edit)
    OpenEditor(n, false);
}

static void MenuKeys()
{
  bool choose = Controls.menuChoose;
  bool watch = Controls.watchRun;
  int step = (int)Controls.menuDown - (int)Controls.menuUp;

  // The pointer lights a row only by moving onto it, so one resting off the
  // rows (or on one the keys have moved away from) leaves the keys in charge.
  int row = PointerRow();
  int first = GameState == gamestate_title ? 0 : MenuFirstRow;
  if (row >= 0 && (Controls.pointerMoved || Controls.pointerClick))
    MenuCursor = first + row;
  if (row >= 0 && Controls.pointerClick)
    choose = true;

  if (GameState == gamestate_title) {
    MenuCursor += step;
    if (!TitleEntryLive(MenuCursor))
      MenuCursor += step;   // passed over, as the gap before Quit is
    if (MenuCursor < 0)
      MenuCursor = 0;
    if (MenuCursor > TitleEntries - 1)
      MenuCursor = TitleEntries - 1;
    if (choose && MenuCursor == TitleQuit) {
      QuitRequested = true;
    } else if (choose && MenuCursor == TitleOnline) {
      RequestScreen(gamestate_online);
    } else if (choose && MenuCursor == TitleOptions) {
      RequestScreen(gamestate_options);
      OpenOptions(false);
    } else if (choose) {
      RequestScreen(MenuCursor == 0 ? gamestate_playlist : gamestate_editlist);
    }
    return;
  }
  if (GameState == gamestate_playlist || GameState == gamestate_editlist) {
    MoveInList(step);
    ListInput(Controls.menuBack, choose, watch);
  }
}

// A new screen is a choice (or going back from a list); else a moved highlight.
void MenuInput()
{
  int cursor = MenuCursor, state = GameState;
  MenuKeys();
  int next = NextScreen();
  if (next != state || MenuCursor != cursor)
    ClearLevelNote();
  if (next != state)
    PushSound(next == gamestate_title ? sound_menu_back : sound_menu_choose);
  else if (MenuCursor != cursor)
    PushSound(sound_menu_move);
}

void DrawRowPanel(bool lit, float y)
{
  int set = lit ? AtlasPanelHighlight : AtlasPanelNormal;
  DrawPanel(set, MenuBarLeft, y - RowPanelRaise, MenuBarWidth, RowPanelHeight);
}

static void DrawTitleEntries()
{
  static const char* const labels[] = {N_("Play"), N_("Edit"), N_("Online"), N_("Options"), N_("Quit")};
  static_assert(sizeof labels / sizeof labels[0] == TitleEntries, "one entry per TitleEntries");
  for (int i = 0; i < TitleEntries; i++) {
    float y = TitleRowTop(i);
    DrawRowPanel(MenuCursor == i, y);
    DrawText(MenuTextLeft, y - MenuTextRaise, Tr(labels[i]), MenuTextSize);
  }
  if (!HubAddress[0])
    DrawTextRight(Tr("Set hub = ADDRESS in settings.ini"), FooterRight,
                  TitleRowTop(TitleOnline) - MenuTextRaise + NoHubRaise, NoHubSize);
}

// playList: the frame began in the play list, whose rows mark the levels with a ghost.
// "N more above" and "N more below" a list of rows scrolled to MenuFirstRow.
void DrawMoreRows(int rows)
{
  if (MenuFirstRow > 0) {
    snprintf(MenuLabel, sizeof(MenuLabel), TrN("%i more above", "%i more above", MenuFirstRow), MenuFirstRow);
    DrawTextRight(MenuLabel, MoreAboveRight, HeadingY, SmallTextSize);
  }
  int below = rows - MenuFirstRow - VisibleRows;
  if (below > 0) {
    snprintf(MenuLabel, sizeof(MenuLabel), TrN("%i more below", "%i more below", below), below);
    DrawText(MoreBelowLeft, FooterY, MenuLabel, SmallTextSize);
  }
}

static void DrawLevelList(bool playList)
{
  DrawText(HeadingX, HeadingY, playList ? Tr("Select a level to play") : Tr("Select a level to edit"), SmallTextSize);
  DrawTextRight(Tr("Press B to go back"), FooterRight, FooterY, SmallTextSize);

  int rows = ListRows(!playList);
  DrawMoreRows(rows);

  for (int k = 0; k < VisibleRows; k++) {
    int row = MenuFirstRow + k;
    if (row >= rows)
      break;
    float y = RowTop + RowStep * k;
    DrawRowPanel(row == MenuCursor, y);
    if (row == NewLevelRow(!playList))
      DrawText(MenuTextLeft, y - MenuTextRaise, Tr("New level"), MenuTextSize);
    else
      DrawLevelRow(LevelOfRow(row, playList), y, playList);
  }
  int lit = LevelOfRow(MenuCursor, playList);
  if (playList && lit && LevelHasGhost[lit - 1])
    DrawTextRight(Tr("G watches the best run"), FooterRight, WatchHintY, WatchHintSize);
  DrawLevelNote();
}

void DrawTitleLogo()
{
  DrawQuad(AtlasTitle, 0, TitleY, TitleWidth, TitleHeight, 0);
}

void DrawMenu(int frameState)
{
  ScreenOrtho();
  float half = ScreenOrthoHalfHeight();
  DrawQuad(AtlasBackground, 0, 0, 2 * half * AspectRatio, 2 * half, 0);
  DrawTitleLogo();
  if (frameState == gamestate_title)
    DrawTitleEntries();
  else if (frameState == gamestate_playlist || frameState == gamestate_editlist)
    DrawLevelList(frameState == gamestate_playlist);
}

void MenuFrame()
{
  int frameState = GameState;
  MenuInput();
  DrawMenu(frameState);
}
