// The title screen and the two level lists.
#include "ui/menus.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstring>

#include "app/host.h"
#include "app/input.h"
#include "app/video.h"
#include "game/controls.h"
#include "game/ghost.h"
#include "game/level_files.h"
#include "game/sound_events.h"
#include "game/utf8.h"
#include "game/world.h"
#include "render/draw.h"
#include "ui/editor.h"
#include "ui/ghost_view.h"
#include "ui/level_note.h"
#include "ui/watch.h"

const float BarsMargin = 8;             // units kept clear beside a bar in a narrow window
const float BarsHalfWidth = MenuBarWidth / 2 + PanelBorder + BarsMargin;

const int TitleEntries = 3;            // "Play", "Edit", "Quit"
const int TitleQuit = 2;
const int VisibleRows = 6;             // level-list rows on screen at once

const float RowTop = -140;             // top of the first entry's inner rectangle
const float RowStep = 70;              // from one row top to the next
const float ScoreRight = 455;          // the best-score column ends here
const float QuitRowTop = RowTop + 3 * RowStep;  // a row's gap below "Edit"
const float RowHitHalfGap = 22;        // a row answers the pointer this far above and below its bar
const float RowHitSide = PanelBorder;  // ... and across its frame at the sides

const float TitleY = -300;             // the logo across the top
const float TitleWidth = 800;
const float TitleHeight = 200;

const float HeadingX = -450;
const float HeadingY = -217.5f;
const float FooterRight = 450;
const float FooterY = 272.5f;
const float SmallTextSize = 0.6f;

const float GhostMarkSize = 36;        // the ghost ball before a level's best score
const float GhostMarkGap = 6;          // between the mark and the score
const float LabelGap = 20;             // kept clear between a cut title and the score or mark
const float WatchHintY = 317.5f;       // under the footer, while the lit level has a ghost
const float WatchHintSize = 0.5f;

const float MarkerWidth = 400;         // the empty panels that show more rows exist
const float MoreAboveX = 50, MoreAboveY = -210;
const float MoreBelowX = -450, MoreBelowY = 280;

// "Level 15 - " and a full title slot fit with room to spare.
const int LabelBufferSize = 32 + TitleSlotSize;

static char MenuLabel[LabelBufferSize];

static bool Pressed(int key)
{
  return InputState.KeyState[key] == InputPressed;
}

float ScreenOrthoHalfHeight()
{
  if (!(AspectRatio > 0) || ScreenHalfHeight * AspectRatio >= BarsHalfWidth)
    return ScreenHalfHeight;
  return BarsHalfWidth / AspectRatio;
}

// The lowest slot 1..15 without a level file, or 0 when all have one.
static int FreeSlot()
{
  for (int i = 0; i < MaxLevels; i++)
    if (!LevelExists[i])
      return i + 1;
  return 0;
}

// The edit list's "New level" row, after the last level; -1 when every slot is used.
static int NewLevelRow()
{
  return GameState == gamestate_editlist && FreeSlot() ? HighestLevel : -1;
}

// Rows in the current list.
static int ListRows()
{
  return HighestLevel + (NewLevelRow() >= 0);
}

void ScreenOrtho()
{
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  float half = ScreenOrthoHalfHeight();
  gluOrtho2D(-half * AspectRatio, half * AspectRatio, half, -half);
}

void PlaceMenuCursor()
{
  MenuCursor = MenuFirstRow = 0;
  bool list = GameState == gamestate_playlist || GameState == gamestate_editlist;
  if (!list || CurrentLevel < 1 || CurrentLevel > MaxLevels)
    return;
  MenuCursor = CurrentLevel - 1;
  int last = ListRows() - VisibleRows;
  MenuFirstRow = MenuCursor - (VisibleRows - 1);
  if (MenuFirstRow > last)
    MenuFirstRow = last;
  if (MenuFirstRow < 0)
    MenuFirstRow = 0;
}

static float TitleRowTop(int i)
{
  return i == TitleQuit ? QuitRowTop : RowTop + RowStep * i;
}

// The title entry or visible list row whose bar is under the mouse pointer; -1 for none.
static int PointerRow()
{
  if (!(ScreenWidth > 0 && ScreenHeight > 0))
    return -1;
  float half = ScreenOrthoHalfHeight();
  float x = (Controls.pointerX / ScreenWidth * 2 - 1) * half * AspectRatio;
  float y = (Controls.pointerY / ScreenHeight * 2 - 1) * half;
  if (x < MenuBarLeft - RowHitSide || x > MenuBarLeft + MenuBarWidth + RowHitSide)
    return -1;
  bool title = GameState == gamestate_title;
  int rows = title ? TitleEntries : VisibleRows;
  for (int i = 0; i < rows; i++) {
    float top = title ? TitleRowTop(i) : RowTop + RowStep * i;
    bool inside = y >= top - RowHitHalfGap && y < top + MenuBarHeight + RowHitHalfGap;
    if (inside && (title || MenuFirstRow + i < MaxLevels))
      return i;
  }
  return -1;
}

static void ListInput(bool back, bool choose, bool watch)
{
  if (back)
    GameState = gamestate_title;

  if (MenuCursor < MenuFirstRow) {
    MenuFirstRow -= 1;
    if (MenuFirstRow < 0)
      MenuFirstRow = 0;
    MenuCursor = MenuFirstRow;
  }
  if (MenuCursor > MenuFirstRow + VisibleRows - 1) {
    MenuFirstRow += 1;
    if (MenuFirstRow > ListRows() - VisibleRows)
      MenuFirstRow = ListRows() - VisibleRows;
    if (MenuFirstRow < 0)
      MenuFirstRow = 0;
    MenuCursor = MenuFirstRow + VisibleRows - 1;
  }

  if (watch && !back && GameState == gamestate_playlist) {
    bool hasGhost = MenuCursor >= 0 && MenuCursor < MaxLevels && LevelHasGhost[MenuCursor];
    if (hasGhost && LevelReadyToStart(MenuCursor + 1))
      StartWatch(MenuCursor + 1);
    return;
  }
  if (!choose || (GameState != gamestate_playlist && GameState != gamestate_editlist))
    return;
  if (MenuCursor >= 0 && MenuCursor == NewLevelRow()) {
    int n = FreeSlot();
    GameState = gamestate_editing;
    StartLevel(n);
    OpenEditor(n, true);
    return;
  }
  if (MenuCursor < 0 || MenuCursor >= MaxLevels || !LevelExists[MenuCursor])
    return;
  if (!LevelReadyToStart(MenuCursor + 1))   // gone or unreadable since the list was made
    return;
  bool edit = GameState == gamestate_editlist;
  GameState = edit ? gamestate_editing : gamestate_playing;
  StartLevel(MenuCursor + 1);
  if (edit)
    OpenEditor(MenuCursor + 1, false);
}

static void MenuKeys()
{
  bool up = Controls.menuUp;
  bool down = Controls.menuDown;
  bool choose = Controls.menuChoose;
  bool back = Controls.menuBack;
  bool watch = Pressed(KeyG);

  // The pointer lights a row only by moving onto it, so one resting off the
  // rows (or on one the keys have moved away from) leaves the keys in charge.
  int row = PointerRow();
  int first = GameState == gamestate_title ? 0 : MenuFirstRow;
  if (row >= 0 && (Controls.pointerMoved || Controls.pointerClick))
    MenuCursor = first + row;
  if (row >= 0 && Controls.pointerClick)
    choose = true;

  if (up)
    MenuCursor -= 1;
  if (down)
    MenuCursor += 1;

  if (GameState == gamestate_title) {
    if (MenuCursor < 0)
      MenuCursor = 0;
    if (MenuCursor > TitleEntries - 1)
      MenuCursor = TitleEntries - 1;
    if (choose && MenuCursor == TitleQuit)
      QuitRequested = true;
    else if (choose)
      GameState = MenuCursor == 0 ? gamestate_playlist : gamestate_editlist;
    return;
  }
  if (GameState == gamestate_playlist || GameState == gamestate_editlist)
    ListInput(back, choose, watch);
}

// A new screen is a choice (or going back from a list); else a moved highlight.
void MenuInput()
{
  int cursor = MenuCursor, state = GameState;
  MenuKeys();
  if (GameState != state || MenuCursor != cursor)
    ClearLevelNote();
  if (GameState != state)
    PushSound(GameState == gamestate_title ? sound_menu_back : sound_menu_choose);
  else if (MenuCursor != cursor)
    PushSound(sound_menu_move);
}

static void DrawTitleEntries()
{
  static const char* const labels[TitleEntries] = {"Play", "Edit", "Quit"};
  for (int i = 0; i < TitleEntries; i++) {
    float y = TitleRowTop(i);
    int set = MenuCursor == i ? AtlasPanelHighlight : AtlasPanelNormal;
    DrawPanel(set, MenuBarLeft, y, MenuBarWidth, MenuBarHeight);
    DrawText(MenuTextLeft, y - MenuTextRaise, labels[i], MenuTextSize);
  }
}

// playList: the frame began in the play list, whose rows mark the levels with a ghost.
static void DrawLevelList(bool playList)
{
  if (GameState == gamestate_playlist)
    DrawText(HeadingX, HeadingY, "Select a level to play", SmallTextSize);
  else if (GameState == gamestate_editlist)
    DrawText(HeadingX, HeadingY, "Select a level to edit", SmallTextSize);
  DrawTextRight("Press B to go back", FooterRight, FooterY, SmallTextSize);

  if (MenuFirstRow > 0)
    DrawPanel(AtlasPanelNormal, MoreAboveX, MoreAboveY, MarkerWidth, MenuBarHeight);
  if (MenuFirstRow < ListRows() - VisibleRows)
    DrawPanel(AtlasPanelNormal, MoreBelowX, MoreBelowY, MarkerWidth, MenuBarHeight);

  for (int k = 0; k < VisibleRows; k++) {
    int slot = MenuFirstRow + k;
    if (slot < 0 || slot >= MaxLevels)
      continue;
    float y = RowTop + RowStep * k;
    int set = slot == MenuCursor ? AtlasPanelHighlight : AtlasPanelNormal;
    DrawPanel(set, MenuBarLeft, y, MenuBarWidth, MenuBarHeight);
    if (slot == NewLevelRow()) {
      DrawText(MenuTextLeft, y - MenuTextRaise, "New level", MenuTextSize);
      continue;
    }
    snprintf(MenuLabel, sizeof(MenuLabel), "%i", LevelBest[slot]);
    DrawTextRight(MenuLabel, ScoreRight, y - MenuTextRaise, MenuTextSize);
    float labelRight = TextRightStart(Utf8Length(MenuLabel), ScoreRight, MenuTextSize);
    if (playList && LevelHasGhost[slot]) {
      DrawGhostBall(labelRight - GhostMarkGap - GhostMarkSize / 2, y + MenuBarHeight / 2, GhostMarkSize);
      labelRight -= GhostMarkGap + GhostMarkSize;
    }
    // The title without its line feed, cut short of the score and the ghost mark.
    snprintf(MenuLabel, sizeof(MenuLabel), "%s%i%s%.*s", "Level ", slot + 1, " - ",
             (int)strcspn(LevelTitles[slot], "\r\n"), LevelTitles[slot]);
    FitTextToWidth(MenuLabel, labelRight - LabelGap - MenuTextLeft, MenuTextSize);
    DrawText(MenuTextLeft, y - MenuTextRaise, MenuLabel, MenuTextSize);
  }
  bool cursorHasGhost = MenuCursor >= 0 && MenuCursor < MaxLevels && LevelHasGhost[MenuCursor];
  if (playList && cursorHasGhost)
    DrawTextRight("G watches the best run", FooterRight, WatchHintY, WatchHintSize);
  DrawLevelNote();
}

void DrawMenu(int frameState)
{
  ScreenOrtho();
  float half = ScreenOrthoHalfHeight();
  DrawQuad(AtlasBackground, 0, 0, 2 * half * AspectRatio, 2 * half, 0);
  DrawQuad(AtlasTitle, 0, TitleY, TitleWidth, TitleHeight, 0);
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
