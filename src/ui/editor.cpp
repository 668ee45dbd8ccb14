// The level editor's input: keyboard panning, a brush of twelve map types,
// strokes with the left button, erasing with the right, picking with the
// middle, fills, resizing, the title, undo and redo, and B to save.
#include "ui/editor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/host.h"
#include "app/input.h"
#include "app/video.h"
#include "game/controls.h"
#include "game/edit_history.h"
#include "game/edit_ops.h"
#include "game/file_save.h"
#include "game/level_check.h"
#include "game/level_files.h"
#include "game/level_slots.h"
#include "game/sound_events.h"
#include "game/test_run.h"
#include "ui/menus.h"

int EditorBrush;
bool EditorSaveFailed;
bool EditorTitleEditing;
const char* EditorNote;

const char* const BrushLabels[MapTypeCount] = {
  "maptype_nothing",      "maptype_blocknormal", "maptype_blockharmful",
  "maptype_blocknoswing", "maptype_blockghost",  "maptype_gravitydown",
  "maptype_gravityleft",  "maptype_gravityup",   "maptype_gravityright",
  "maptype_playerspawn",  "maptype_extratime",   "maptype_finish"
};

static const float HalfPi = 1.570796325f;   // the game's own value of pi / 2
static const int PrintableFirst = 32, PrintableLast = 126;
static const int TitleMaxLength = TitleSlotSize - 2;

static const char* SaveHint = "Press B to save and go back";
static const char* SavedNote = "Saved";
static const float SavedBeatSeconds = 0.75f;  // "Saved" shows this long before the title
static const float SecondsPerFrame = 1.0f / 60;   // at TimeScale 1

static float LeaveAfter;         // seconds until a saved editor gives way to the title; 0: staying
static char SaveFailedHint[128];

// The stroke or rectangle in progress: its button, the cell it last reached
// and, for a rectangle, the corner it started at.
enum { drag_none, drag_stroke, drag_rect };
static int DragKind;
static int DragButton;
static int DragType;
static int LastX, LastY, CornerX, CornerY;
static bool DragBlocked;   // the button went down on a bar: no painting until it is up
static long SavedVersion;  // HistoryVersion when the level was opened or last saved

bool EditorHasUnsavedEdits()
{
  bool open = GameState == gamestate_editing || TestRunActive;
  return open && (HistoryVersion() != SavedVersion || EditorTitleEditing || DragKind != drag_none);
}

int WrapBrush(int brush)
{
  int r = brush % MapTypeCount;
  return r < 0 ? r + MapTypeCount : r;
}

const char* EditorHintText()
{
  if (EditorSaveFailed)
    return SaveFailedHint;
  if (LeaveAfter > 0)
    return SavedNote;
  return EditorNote ? EditorNote : SaveHint;
}

int PaletteEntryAt(float x, float y)
{
  if (!(y >= PaletteTop && y < PaletteTop + PaletteCell && x >= PaletteLeft))
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
  SavedVersion = HistoryVersion();
  DragKind = drag_none;
  EditorTitleEditing = false;
  EditorSaveFailed = false;
  EditorNote = nullptr;
  LeaveAfter = 0;
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

// Typed characters, Backspace, and Return or Tab to finish: one step.
static void EditTitleKeys()
{
  bool shift = Down(KeyLShift) || Down(KeyRShift);
  size_t length = strlen(EditTitle);
  for (int key = PrintableFirst; key <= PrintableLast; key++) {
    if (!Pressed(key) || (int)length >= TitleMaxLength)
      continue;
    char c = (char)key;
    if (shift && c >= 'a' && c <= 'z')
      c = (char)(c - 'a' + 'A');
    EditTitle[length++] = c;
    EditTitle[length] = 0;
  }
  if (Pressed(KeyBackspace) && length > 0)
    EditTitle[length - 1] = 0;
  if (Pressed(KeyReturn) || Pressed(KeyTab)) {
    EditorTitleEditing = false;
    HistoryEnd();
  }
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
  HistoryBegin();
  EditorNote = nullptr;
  DragButton = button;
  DragType = button == ButtonLeft ? EditorBrush : maptype_nothing;
  DragKind = Down(KeyLShift) || Down(KeyRShift) ? drag_rect : drag_stroke;
  CornerX = LastX = cx;
  CornerY = LastY = cy;
  if (DragKind == drag_stroke)
    PaintLine(cx, cy, cx, cy, DragType);
}

// One whole-step operation: fill, resize or the start of a title edit.
static void StepKeys(int cx, int cy)
{
  bool ctrl = Down(KeyLCtrl) || Down(KeyRCtrl);
  bool shift = Down(KeyLShift) || Down(KeyRShift);
  if (ctrl && (Pressed(KeyY) || (Pressed(KeyZ) && shift))) {
    HistoryRedo();
  } else if (ctrl && Pressed(KeyZ)) {
    HistoryUndo();
  }
  int dw = ctrl ? Pressed(KeyRight) - Pressed(KeyLeft) : 0;
  int dh = ctrl ? Pressed(KeyDown) - Pressed(KeyUp) : 0;
  bool fill = !ctrl && Pressed(KeyF);
  if (!dw && !dh && !fill && !Pressed(KeyTab))
    return;
  EditorNote = nullptr;
  HistoryBegin();
  if (Pressed(KeyTab)) {
    EditorTitleEditing = true; // the step ends with the title edit
    return;
  }
  if (fill)
    FloodFill(cx, cy, EditorBrush);
  else
    ResizeLevel(LevelWidth + dw, LevelHeight + dh);
  HistoryEnd();
}

// Saves, then shows "Saved" for a moment before the title. A level that
// cannot be played stays open with its check note until B is pressed again
// with the same note; a failed save stays open with its cause.
static void Save()
{
  char* slot = LevelTitles[CurrentLevel - 1];
  size_t length = strnlen(EditTitle, TitleMaxLength);
  memcpy(slot, EditTitle, length);
  slot[length] = '\n';
  slot[length + 1] = 0;
  EditorSaveFailed = !SaveLevel();
  PushSound(EditorSaveFailed ? sound_save_failed : sound_save);
  if (EditorSaveFailed) {
    snprintf(SaveFailedHint, sizeof SaveFailedHint, "Could not save: %s - press B to try again",
             SaveFailureReason(LastSaveError));
    return;
  }
  NoteLevelSaved(CurrentLevel);
  SavedVersion = HistoryVersion();
  const char* note = LevelCheckNote(CheckLevel());
  if (note && note != EditorNote) {
    EditorNote = note;
    return;
  }
  EditorNote = nullptr;
  LeaveAfter = SavedBeatSeconds;
}

void EditorUpdate(float timeScale)
{
  if (LeaveAfter > 0) {
    LeaveAfter -= timeScale * SecondsPerFrame;
    if (LeaveAfter <= 0)
      GameState = gamestate_title;
    return;
  }
  bool ctrl = Down(KeyLCtrl) || Down(KeyRCtrl);
  PanAndAim(timeScale, !EditorTitleEditing && !ctrl);
  Camera.viewHeight = EditorViewHeight;
  int cx = CellOf(AimPoint.aimX), cy = CellOf(AimPoint.aimY);
  float screenX = AimPoint.mouseNX * ScreenOrthoHalfHeight() * AspectRatio;
  float screenY = AimPoint.mouseNY * ScreenOrthoHalfHeight();
  bool inPaintArea = screenY >= PaintAreaTop && screenY < PaintAreaBottom;

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
  StepKeys(cx, cy);
  if (Pressed(KeyT) && !ctrl)
    BeginTestRun();
  else if (Controls.menuBack)
    Save();
}
