// The level editor's input: keyboard panning, a brush of twelve map types,
// strokes with the left button, erasing with the right, picking with the
// middle, fills, resizing, the title, undo and redo, B to save and leave and
// Ctrl + S to save and stay.
#include "ui/editor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "game/controls.h"
#include "game/edit_history.h"
#include "game/edit_ops.h"
#include "game/key_repeat.h"
#include "game/level_check.h"
#include "game/screen.h"
#include "game/sound_events.h"
#include "game/test_run.h"
#include "game/utf8.h"
#include "platform/input.h"
#include "ui/bars.h"
#include "ui/editor_save.h"
#include "ui/scene.h"

int EditorBrush;
bool EditorTitleEditing;

const char* const BrushLabels[MapTypeCount] = {
  "maptype_nothing",      "maptype_blocknormal", "maptype_blockharmful",
  "maptype_blocknoswing", "maptype_blockghost",  "maptype_gravitydown",
  "maptype_gravityleft",  "maptype_gravityup",   "maptype_gravityright",
  "maptype_playerspawn",  "maptype_extratime",   "maptype_finish"
};

static const float HalfPi = 1.570796325f;   // the game's own value of pi / 2

static const float SecondsPerFrame = 1.0f / 60;   // at TimeScale 1

// The stroke or rectangle in progress: its button, the cell it last reached
// and, for a rectangle, the corner it started at.
enum { drag_none, drag_stroke, drag_rect };
static int DragKind;
static int DragButton;
static int DragType;
static int LastX, LastY, CornerX, CornerY;
static bool DragBlocked;   // the button went down on a bar: no painting until it is up

// A Ctrl + arrow held: its direction, its repeat and whether the open step is its own.
static int ResizeDW, ResizeDH;
static KeyRepeat ResizeRepeat;
static bool ResizeHeld;

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
  ResizeHeld = false;
  EditorTitleEditing = false;
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

static bool Down(int key) { return IsDown(InputState.KeyState[key]); }
static bool Pressed(int key) { return InputState.KeyState[key] == InputPressed; }

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

  Camera.camX += std::cos(theta) * m * EditorPanSpeed * timeScale;
  Camera.camY += std::sin(theta) * m * EditorPanSpeed * timeScale;
}

// Typed characters (UTF-8, each kept only when it fits whole), Backspace
// (a whole character), and Return or Tab to finish: one step.
static void EditTitleKeys()
{
  int length = (int)strlen(EditTitle);
  for (const char* typed = InputState.Typed; *typed;) {
    int bytes = Utf8PrefixBytes(typed, 1);
    if (length + bytes <= TitleMaxLength) {
      memcpy(EditTitle + length, typed, bytes);
      length += bytes;
      EditTitle[length] = 0;
    }
    typed += bytes;
  }
  if (Pressed(KeyBackspace) && length > 0)
    EditTitle[Utf8LastStart(EditTitle)] = 0;
  if (Pressed(KeyReturn) || Pressed(KeyTab)) {
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

static void EndDrag()
{
  if (DragKind == drag_rect)
    FillRect(CornerX, CornerY, LastX, LastY, DragType);
  HistoryEnd();
  DragKind = drag_none;
}

// Strokes with the left (brush) and right (empty) buttons, Shift for a
// rectangle, the middle button to pick, and a palette click to choose.
static void Mouse(bool inPaintArea, int cx, int cy)
{
  int buttons[MouseButtonCount];
  memcpy(buttons, InputState.MouseButtonState, sizeof(buttons));
  buttons[ButtonLeft] = !Controls.tether ? InputUp : Controls.pointerClick ? InputPressed : InputHeld;
  if (DragKind != drag_none && buttons[DragButton] != InputHeld)
    EndDrag(); // released, or pressed again within one frame
  if (DragKind != drag_none) {
    if (DragKind == drag_stroke)
      PaintLine(LastX, LastY, cx, cy, DragType);
    LastX = cx;
    LastY = cy;
    return;
  }
  bool anyDown = IsDown(buttons[ButtonLeft]) || IsDown(buttons[ButtonRight]);
  if (!anyDown)
    DragBlocked = false;
  if (!inPaintArea && anyDown)
    DragBlocked = true;
  if (DragBlocked)
    return;
  bool inLevel = cx >= 0 && cy >= 0 && cx < LevelWidth && cy < LevelHeight;
  if (buttons[ButtonMiddle] == InputPressed && inLevel && CellAt(cx, cy) != EditorBrush) {
    EditorBrush = CellAt(cx, cy);
    PushSound(sound_brush);
  }
  int button = IsDown(buttons[ButtonLeft]) ? ButtonLeft : IsDown(buttons[ButtonRight]) ? ButtonRight : 0;
  if (!button)
    return;
  EndResize();
  if (EditorTitleEditing) {
    EditorTitleEditing = false;   // the title typed so far is a step of its own
    HistoryEnd();
  }
  HistoryBegin();
  ClearEditorNotes();
  DragButton = button;
  DragType = button == ButtonLeft ? EditorBrush : maptype_nothing;
  DragKind = Down(KeyLShift) || Down(KeyRShift) ? drag_rect : drag_stroke;
  CornerX = LastX = cx;
  CornerY = LastY = cy;
  if (DragKind == drag_stroke)
    PaintLine(cx, cy, cx, cy, DragType);
}

// Ctrl + arrows: a column or row more or fewer at once, then again and again
// while held; the whole hold is one step.
static void ResizeKeys(bool ctrl, float seconds)
{
  int dw = ctrl ? Down(KeyRight) - Down(KeyLeft) : 0;
  int dh = ctrl ? Down(KeyDown) - Down(KeyUp) : 0;
  bool pressed = ctrl && (Pressed(KeyRight) || Pressed(KeyLeft) || Pressed(KeyDown) || Pressed(KeyUp));
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
  bool ctrl = Down(KeyLCtrl) || Down(KeyRCtrl);
  bool shift = Down(KeyLShift) || Down(KeyRShift);
  bool redo = ctrl && (Pressed(KeyY) || (Pressed(KeyZ) && shift));
  bool undo = ctrl && Pressed(KeyZ) && !redo;
  bool fill = !ctrl && Pressed(KeyF);
  if (redo || undo || fill || Pressed(KeyTab))
    EndResize();
  if (redo)
    HistoryRedo();
  else if (undo)
    HistoryUndo();
  ResizeKeys(ctrl, seconds);
  if (!fill && !Pressed(KeyTab))
    return;
  ClearEditorNotes();
  HistoryBegin();
  if (Pressed(KeyTab)) {
    EditorTitleEditing = true; // the step ends with the title edit
    return;
  }
  FloodFill(cx, cy, EditorBrush);
  HistoryEnd();
}

void EditorUpdate(float timeScale)
{
  if (SavedBeat(timeScale * SecondsPerFrame))
    return;
  bool ctrl = Down(KeyLCtrl) || Down(KeyRCtrl);
  PanAndAim(timeScale, !EditorTitleEditing && !ctrl);
  Camera.viewHeight = EditorViewHeight;
  int cx = CellOf(AimPoint.aimX), cy = CellOf(AimPoint.aimY);
  float screenX = AimPoint.mouseNX * ScreenOrthoHalfHeight() * AspectRatio;
  float screenY = AimPoint.mouseNY * ScreenOrthoHalfHeight();
  bool inPaintArea = screenY >= BarTopInWindow(PaintAreaTop) && screenY < BarTopInWindow(PaintAreaBottom);

  int picked = PaletteEntryAt(screenX, screenY);
  int brush = EditorBrush;
  if (picked >= 0 && Controls.pointerClick && DragKind == drag_none)
    EditorBrush = picked;
  long changes = HistoryChangeCount;
  Mouse(inPaintArea, cx, cy);
  if (HistoryChangeCount != changes)
    PushSound(sound_paint);
  if (EditorTitleEditing) {
    EditTitleKeys();
    return;
  }
  if (DragKind != drag_none)
    return;
  EditorBrush += (int)Controls.brushNext - (int)Controls.brushPrev;
  EditorBrush = WrapBrush(EditorBrush);
  if (EditorBrush != WrapBrush(brush))
    PushSound(sound_brush);
  StepKeys(cx, cy, timeScale * SecondsPerFrame);
  if (Pressed(KeyT) && !ctrl) {
    EndResize();
    BeginTestRun();
  } else if (Controls.menuBack || (ctrl && Pressed(KeyS))) {
    EndResize();
    SaveEditedLevel(Controls.menuBack);
  }
}
