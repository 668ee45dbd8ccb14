// bench_editor: the editor zoomed out until the whole 998 x 1000 level is in
// the window, where its cells come from the cell picture (one texel a cell)
// instead of a quad a cell: still, and with a stroke painting across the
// level every frame, so each frame sends the cells it changed. Printed with
// its ratio to the editor on the 20 x 15 dense level.
#include <cstdio>

#include "bench.h"

#include "game/base/screen.h"
#include "game/edit/edit_history.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "platform/input.h"
#include "render/cell_picture.h"
#include "ui/editor.h"
#include "ui/editor_view.h"

static const int StrokeRows = 40;         // the painting pointer walks down the window in this many steps
static const int StrokeTop = 160;         // window pixels of its first row, inside the paint area
static const int StrokeStep = 7;

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
