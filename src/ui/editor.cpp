// The level editor's input: keyboard panning, a brush of twelve map types,
// strokes with the left button, erasing with the right, picking with the
// middle, Shift + click for a line from the last painted cell, fills,
// resizing, the title, undo and redo, test runs from the spawn or from the
// marker, B to save and leave and Ctrl + S to save and stay; F1 lists the
// keys (ui/editor_help.h). The zoom and the overview are ui/editor_view's,
// the select tool and the paste brush ui/editor_select's.
#include "ui/editor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/key_repeat.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/edit/edit_history.h"
#include "game/edit/edit_ops.h"
#include "game/files/level_check.h"
#include "game/run/test_run.h"
#include "ui/bars.h"
#include "ui/editor_help.h"
#include "ui/editor_save.h"
#include "ui/editor_select.h"
#include "ui/editor_share.h"
#include "ui/editor_view.h"
#include "ui/scene.h"
#include "ui/text_field.h"

int EditorBrush;
bool EditorTitleEditing;

const char* const BrushLabels[] = {
  "maptype_nothing",      "maptype_blocknormal", "maptype_blockharmful",
  "maptype_blocknoswing", "maptype_blockghost",  "maptype_gravitydown",
  "maptype_gravityleft",  "maptype_gravityup",   "maptype_gravityright",
  "maptype_playerspawn",  "maptype_extratime",   "maptype_finish"
};
static_assert(sizeof BrushLabels / sizeof BrushLabels[0] == MapTypeCount, "one entry per MapTypeCount");

static const float HalfPi = 1.570796325f;   // the game's own value of pi / 2

static const float SecondsPerFrame = 1.0f / 60;   // at TimeScale 1

// The stroke or rectangle in progress: whether it erases, the cell it last
// reached and, for a rectangle, the corner it started at.
enum { drag_none, drag_stroke, drag_rect };
static int DragKind;
static bool DragErases;
static int DragType;
static int LastX, LastY, CornerX, CornerY;
static bool DragBlocked;   // the button went down on a bar: no painting until it is up
static bool Painted;       // a stroke or rectangle ended at (PaintedX, PaintedY): a Shift + click draws a line from there
static int PaintedX, PaintedY;

// A Ctrl + arrow held: its direction, its repeat and whether the open step is its own.
static int ResizeDW, ResizeDH;
static KeyRepeat ResizeRepeat;
static bool ResizeHeld;

static TextField TitleField;

bool EditorHasUnsavedEdits()
{
  bool open = GameState == gamestate_editing || TestRunActive;
  return open && !EditorLevelSaved();
}

bool EditorDragRect(CellRect* r, int* type)
{
  if (DragKind != drag_rect || !ClipRect(CornerX, CornerY, LastX, LastY, r))
    return false;
  *type = DragType;
  return true;
}

int WrapBrush(int brush)
{
  int r = brush % MapTypeCount;
  return r < 0 ? r + MapTypeCount : r;
}

float PaletteTopInWindow()
{
  return BarTopInWindow(PaletteTop);
}

int PaletteEntryAt(float x, float y)
{
  float top = PaletteTopInWindow();
  if (!(y >= top && y < top + PaletteCell && x >= PaletteLeft))
    return -1;
  int i = (int)((x - PaletteLeft) / (PaletteCell + PaletteGap));
  float inCell = x - PaletteLeft - i * (PaletteCell + PaletteGap);
  return i < MapTypeCount && inCell < PaletteCell ? i : -1;
}

void OpenEditor(int n, bool fresh)
{
  if (fresh) {
    MakeNewLevel(n);
    LevelCheck c = CheckLevel();
    Camera.camX = AimPoint.aimX = c.spawnX + 0.5f;
    Camera.camY = AimPoint.aimY = c.spawnY + 0.5f;
  } else {
    memcpy(EditTitle, LevelTitles[n - 1], TitleSlotSize);
    EditTitle[strcspn(EditTitle, "\n")] = 0;
  }
  HistoryClear();
  ResetEditorSave();
  DragKind = drag_none;
  DragBlocked = false;
  Painted = false;
  ResizeHeld = false;
  ResetEditorView();
  ResetSelect();
  EditorTitleEditing = false;
  HideEditorHelp();
}

static float ClampUnit(float v)
{
  if (!(v >= -1)) // NaN too
    return v != v ? 0 : -1;
  return v > 1 ? 1 : v;
}

// floor(v) kept well inside int range; cells outside the level are skipped by the operations.
static int CellOf(float v)
{
  if (!(v > -2.0f))
    return -2;
  return v > (float)(MapSize + 2) ? MapSize + 2 : (int)std::floor(v);
}

static void PanAndAim(float timeScale, bool keysFree)
{
  float h = keysFree ? Controls.steerX : 0;
  float v = keysFree ? -Controls.steerY : 0;
  float m = std::sqrt(h * h + v * v);
  if (m > 1)
    m = 1;
  float theta = std::atan2(h, v) - HalfPi;

  AimPoint.mouseNX = ClampUnit(Controls.aimX / ScreenWidth * 2 - 1);
  AimPoint.mouseNY = ClampUnit(Controls.aimY / ScreenHeight * 2 - 1);
  AimPoint.aimX = Camera.viewHeight * AimPoint.mouseNX * 0.5f * AspectRatio + Camera.camX;
  AimPoint.aimY = Camera.viewHeight * AimPoint.mouseNY * 0.5f + Camera.camY;

  float speed = EditorPanSpeed * Camera.viewHeight / EditorViewHeight;   // the same share of the view at any zoom
  Camera.camX += std::cos(theta) * m * speed * timeScale;
  Camera.camY += std::sin(theta) * m * speed * timeScale;
}

// The frame's typed text and editing keys; Return or Tab finishes the title: one step.
static void EditTitleKeys()
{
  if (TextFieldKeys(&TitleField, Controls.text)) {
    EditorTitleEditing = false;
    HistoryEnd();
  }
}

// Ends a held resize's step, so that whatever comes next is a step of its own.
static void EndResize()
{
  if (ResizeHeld)
    HistoryEnd();
  ResizeHeld = false;
}

// A rectangle let go where it was started is a Shift + click: a line from
// the cell the last stroke or rectangle ended on, when there is one.
static void EndDrag()
{
  bool click = CornerX == LastX && CornerY == LastY;
  if (DragKind == drag_rect && click && Painted)
    PaintLine(PaintedX, PaintedY, CornerX, CornerY, DragType);
  else if (DragKind == drag_rect)
    FillRect(CornerX, CornerY, LastX, LastY, DragType);
  HistoryEnd();
  DragKind = drag_none;
  Painted = true;
  PaintedX = LastX;
  PaintedY = LastY;
}

// Strokes with the left (brush) and right (empty) buttons, Shift for a
// rectangle, the middle button to pick, and a palette click to choose.
static void Mouse(bool inPaintArea, int cx, int cy)
{
  bool paint = Controls.tether, erase = Controls.erase;
  bool stillHeld = DragErases ? erase && !Controls.erasePressed : paint && !Controls.pointerClick;
  if (DragKind != drag_none && !stillHeld)
    EndDrag(); // released, or pressed again within one frame
  if (DragKind != drag_none) {
    if (DragKind == drag_stroke)
      PaintLine(LastX, LastY, cx, cy, DragType);
    LastX = cx;
    LastY = cy;
    return;
  }
  if (!paint && !erase)
    DragBlocked = false;
  if (!inPaintArea && (paint || erase))
    DragBlocked = true;
  if (DragBlocked)
    return;
  bool inLevel = cx >= 0 && cy >= 0 && cx < LevelWidth && cy < LevelHeight;
  if (Controls.pick && inLevel && CellAt(cx, cy) != EditorBrush) {
    EditorBrush = CellAt(cx, cy);
    PushSound(sound_brush);
  }
  if (!paint && !erase)
    return;
  EndResize();
  if (EditorTitleEditing) {
    EditorTitleEditing = false;   // the title typed so far is a step of its own
    HistoryEnd();
  }
  HistoryBegin();
  ClearEditorNotes();
  DragErases = !paint;
  DragType = paint ? EditorBrush : maptype_nothing;
  DragKind = Controls.rectangle ? drag_rect : drag_stroke;
  CornerX = LastX = cx;
  CornerY = LastY = cy;
  if (DragKind == drag_stroke)
    PaintLine(cx, cy, cx, cy, DragType);
}

// Ctrl + arrows: a column or row more or fewer at once, then again and again
// while held; the whole hold is one step.
static void ResizeKeys(float seconds)
{
  int dw = Controls.resizeX, dh = Controls.resizeY;
  bool pressed = Controls.resizePressed;
  if (pressed || dw != ResizeDW || dh != ResizeDH)
    EndResize();
  if (pressed && (dw || dh)) {
    ResizeDW = dw;
    ResizeDH = dh;
    ResizeHeld = true;
    HistoryBegin();
    ClearEditorNotes();
  }
  int times = ResizeHeld ? RepeatCount(&ResizeRepeat, pressed, seconds) : 0;
  for (int i = 0; i < times; i++)
    ResizeLevel(LevelWidth + ResizeDW, LevelHeight + ResizeDH);
}

// Undo, redo, a fill or the start of a title edit: each ends a held resize first.
static void StepKeys(int cx, int cy, float seconds)
{
  bool redo = Controls.redo, undo = Controls.undo && !redo;
  bool fill = Controls.fill, title = Controls.titleEdit;
  if (redo || undo || fill || title)
    EndResize();
  if (redo)
    HistoryRedo();
  else if (undo)
    HistoryUndo();
  ResizeKeys(seconds);
  if (!fill && !title)
    return;
  ClearEditorNotes();
  HistoryBegin();
  if (title) {
    EditorTitleEditing = true; // the step ends with the title edit
    OpenTextField(&TitleField, EditTitle, TitleMaxLength);
    return;
  }
  FloodFill(cx, cy, EditorBrush);
  HistoryEnd();
}

// Shift + T: a test run with the ball on the marker's cell, unless it is
// outside the level or in a block, which the bar then says.
static void TestFromHere(int cx, int cy)
{
  int type = CellAt(cx, cy);
  bool block = type == maptype_blocknormal || type == maptype_blocknoswing || type == maptype_blockharmful;
  if (cx < 0 || cy < 0 || cx >= LevelWidth || cy >= LevelHeight)
    NoteEditorLine(N_("Point at a cell of the level to test from there"));
  else if (block)
    NoteEditorLine(N_("The ball cannot start inside a block"));
  else
    BeginTestRunAt(cx, cy);
}

// The left button: the overview's, the select tool's or the brush's, else the painting's.
static void Buttons(float screenX, float screenY, int cx, int cy)
{
  bool dragging = DragKind != drag_none || SelectDragging();
  bool onOverview = !dragging && OverviewMouse(screenX, screenY);
  bool inPaintArea = screenY >= BarTopInWindow(PaintAreaTop) && screenY < BarTopInWindow(PaintAreaBottom) &&
                     !OverviewAt(screenX, screenY);
  int picked = PaletteEntryAt(screenX, screenY);
  if (picked >= 0 && Controls.pointerClick && !dragging) {
    EditorBrush = picked;
    SelectToolOff();
  }
  if (onOverview)
    DragBlocked = true;   // the press moved the view: no painting until it is let go
  else if (SelectHasMouse())
    SelectMouse(cx, cy, inPaintArea && !EditorTitleEditing);
  else
    Mouse(inPaintArea, cx, cy);
}

void EditorUpdate(float timeScale)
{
  if (SavedBeat(timeScale * SecondsPerFrame) || EditorHelpKeys())
    return;
  PanAndAim(timeScale, !EditorTitleEditing);   // from the camera as the last frame left it
  if (!EditorTitleEditing)
    EditorZoomKeys();
  Camera.viewHeight = EditorZoomHeight;
  int cx = CellOf(AimPoint.aimX), cy = CellOf(AimPoint.aimY);
  float screenX = AimPoint.mouseNX * ScreenOrthoHalfHeight() * AspectRatio;
  float screenY = AimPoint.mouseNY * ScreenOrthoHalfHeight();

  int brush = EditorBrush;
  long changes = HistoryChangeCount;
  Buttons(screenX, screenY, cx, cy);
  if (HistoryChangeCount != changes)
    PushSound(sound_paint);
  if (EditorTitleEditing) {
    EditTitleKeys();
    return;
  }
  if (EditorShareKeys(EditorLevelSaved()))
    return;
  if (DragKind != drag_none)
    return;
  EditorBrush += (int)Controls.brushNext - (int)Controls.brushPrev;
  EditorBrush = WrapBrush(EditorBrush);
  if (EditorBrush != WrapBrush(brush))
    PushSound(sound_brush);
  if (Controls.brushNext || Controls.brushPrev)
    SelectToolOff();
  SelectToolKeys();
  if (RegionKeyPressed())
    EndResize();
  changes = HistoryChangeCount;
  RegionKeys();
  if (HistoryChangeCount != changes)
    PushSound(sound_paint);
  StepKeys(cx, cy, timeScale * SecondsPerFrame);
  if (Controls.testHere) {
    EndResize();
    TestFromHere(cx, cy);
  } else if (Controls.testRun) {
    EndResize();
    if (!TestRunRefused())
      BeginTestRun();
  } else if (Controls.menuBack || Controls.save) {
    EndResize();
    SaveEditedLevel(Controls.menuBack);
  }
}
