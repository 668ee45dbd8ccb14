// bench_editor: the benchmark's editor cases: the camera sweeping each
// generated level; whole-level fills, also with the undo history full and
// every frame; and the editor zoomed out until the whole 998 x 1000 level is in
// the window, where its cells come from the cell picture (one texel a cell)
// instead of a quad a cell: still, and with a stroke painting across the
// level every frame, so each frame sends the cells it changed. Printed with
// its ratio to the editor on the 20 x 15 dense level.
#include "bench_editor.h"

#include <cstdio>
#include <cstring>

#include "bench_case.h"
#include "bench_levels.h"

#include "game/base/screen.h"
#include "game/edit/edit_history.h"
#include "game/edit/edit_ops.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "platform/input.h"
#include "render/cell_picture.h"
#include "ui/editor.h"
#include "ui/editor_view.h"

static const int StrokeRows = 40;         // the painting pointer walks down the window in this many steps
static const int StrokeTop = 160;         // window pixels of its first row, inside the paint area
static const int StrokeStep = 7;

static int SweepLevel;

// The pan keys stay held while the camera sweeps diagonally across the whole
// level, one stretch per frame, so every part of it is drawn. The view stays
// inside the level, so every level size fills the screen alike.
static float SweepSpan(float levelSize, float viewSize, float share)
{
  float travel = levelSize - viewSize;
  return viewSize / 2 + (travel > 0 ? share * travel : travel / 2);
}

static void SweepCamera(int frame)
{
  InputState.KeyState[KeyRight] = InputHeld;
  InputState.KeyState[KeyDown] = InputHeld;
  if (frame < 0)
    frame = 0;
  float share = (float)frame / MeasuredFrames;
  const LevelPlan& p = LevelPlans[SweepLevel];
  Camera.camX = SweepSpan((float)p.width, EditorViewHeight * AspectRatio, share);
  Camera.camY = SweepSpan((float)p.height, EditorViewHeight, share);
}

CaseResult EditorCase(int level)
{
  ClearInput();
  StartLevel(level);
  SweepLevel = level;
  char name[96];
  snprintf(name, sizeof(name), "editor %s", LevelPlans[level].name);
  return RunCase(name, gamestate_editing, SweepCamera);
}

// A flood fill and a rectangle over the whole largest level, each an undoable
// step, alternating two brushes so every cell changes every time.
void TimeWholeLevelFills()
{
  double flood[LoadRepeats], rect[LoadRepeats];
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = MaxLevelWidth;
  LevelHeight = MaxLevelHeight;
  HistoryClear();
  for (int i = 0; i < LoadRepeats; i++) {
    double start = NowMs();
    HistoryBegin();
    FloodFill(MaxLevelWidth / 2, MaxLevelHeight / 2, maptype_blocknormal);
    HistoryEnd();
    flood[i] = NowMs() - start;
    start = NowMs();
    HistoryBegin();
    FillRect(0, 0, MaxLevelWidth - 1, MaxLevelHeight - 1, maptype_nothing);
    HistoryEnd();
    rect[i] = NowMs() - start;
  }
  CaseResult f = Summarise(flood, LoadRepeats), r = Summarise(rect, LoadRepeats);
  printf("editor fill of 998 x 1000: flood median %.3f ms, slowest %.3f ms; rectangle median %.3f ms, "
         "slowest %.3f ms\n", f.median, flood[LoadRepeats - 1], r.median, rect[LoadRepeats - 1]);
  HistoryClear();
}

// Whole-level rectangle fills of the largest level over mixed cells (made
// anew outside the timing before each), about 0.7 MB of history each, until
// the ring has been filled twice over and old steps are being forgotten.
void TimeFillsWithFullHistory()
{
  const int Steps = 2 * EditBudgetBytes / (MaxLevelWidth * MaxLevelHeight * 2 / 3);
  double slowest = 0, total = 0;
  LevelWidth = MaxLevelWidth;
  LevelHeight = MaxLevelHeight;
  HistoryClear();
  for (int i = 0; i < Steps; i++) {
    for (int x = 0; x < MaxLevelWidth; x++)
      for (int y = 0; y < MaxLevelHeight; y++)
        MapGrid[x * MapSize + y] = 1 + (x + 3 * y + i) % DenseBlockTypes;
    double start = NowMs();
    HistoryBegin();
    FillRect(0, 0, MaxLevelWidth - 1, MaxLevelHeight - 1, maptype_nothing);
    HistoryEnd();
    double ms = NowMs() - start;
    total += ms;
    slowest = ms > slowest ? ms : slowest;
  }
  printf("editor fill of 998 x 1000 mixed cells, %d steps with the history full: mean %.3f ms, slowest %.3f ms, "
         "%d steps kept\n", Steps, total / Steps, slowest, HistoryUndoCount());
  HistoryClear();
}

// The editor on the empty largest level, F flood-filling all of it every
// frame with another brush, past the step table's size so old steps go.
static void FillEveryFrame(int frame)
{
  InputState.KeyState[KeyF] = InputPressed;
  EditorBrush = 1 + (frame & 1);
}

void EditorFillCase()
{
  ClearInput();
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = MaxLevelWidth;
  LevelHeight = MaxLevelHeight;
  Camera.camX = MaxLevelWidth / 2;
  Camera.camY = MaxLevelHeight / 2;
  HistoryClear();
  CaseResult r = RunCase("editor 998 x 1000, F every frame", gamestate_editing, FillEveryFrame);
  if (r.median > 0)
    printf("  (%d steps kept)\n", HistoryUndoCount());
  HistoryClear();
}

// The lists' home key each frame: the whole level, pointer resting on it.
static void WholeLevel(int frame)
{
  (void)frame;
  ClearInput();
  InputState.KeyState[KeyHome] = InputPressed;
}

// The whole level with the left button held and the pointer moving, a
// stroke of a few hundred cells every frame, through the editor's input.
static void PaintWholeLevel(int frame)
{
  ClearInput();
  InputState.KeyState[KeyHome] = InputPressed;
  InputState.MouseButtonState[ButtonLeft] = frame % 2 ? InputHeld : InputPressed;
  EditorBrush = maptype_blocknormal + (frame / 2 & 1);
  int row = (frame < 0 ? -frame : frame) % StrokeRows;
  InputState.MouseX = 100 + 15 * row;
  InputState.MouseY = StrokeTop + StrokeStep * row;
}

void ZoomedOutEditorCases(const CaseResult& smallest)
{
  const int levels[] = {level_big_dense, level_big_sparse};
  const char* const names[] = {"editor 998 x 1000 dense, whole level", "editor 998 x 1000 sparse, whole level"};
  CaseResult still[2];
  for (int i = 0; i < 2; i++) {
    StartLevel(levels[i]);
    HistoryClear();
    still[i] = RunCase(names[i], gamestate_editing, WholeLevel);
  }
  StartLevel(level_big_dense);
  HistoryClear();
  long sent = CellPictureSent;
  CaseResult painting = RunCase("editor 998 x 1000 dense, whole, painting", gamestate_editing, PaintWholeLevel);
  HistoryClear();
  ResetEditorView();
  ClearInput();
  if (smallest.median > 0 && still[0].median > 0)
    printf("  whole 998 x 1000 / editor 20 x 15 dense, median frame: dense %.2f  sparse %.2f  painting %.2f"
           " (%ld cells sent)\n", still[0].median / smallest.median, still[1].median / smallest.median,
           painting.median / smallest.median, CellPictureSent - sent);
}
