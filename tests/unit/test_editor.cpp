// The editor's logic without a window: brush, panning, aiming, painting and saving.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

#include "game/base/controls.h"
#include "game/base/file_save.h"
#include "game/base/screen.h"
#include "game/base/utf8.h"
#include "game/edit/edit_history.h"
#include "game/files/level_files.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/test_run.h"
#include "game/settings/key_bindings.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "test_support.h"
#include "ui/bars.h"
#include "ui/editor.h"
#include "ui/editor_help.h"
#include "ui/editor_save.h"
#include "ui/menus.h"

namespace {

const char* LevelText = "Test ground\n5\n4\nbbbbb\nbjaab\nbaalb\nbbbbb\n";

// An 800 x 600 screen and the camera at (x, y) with the editor's view height.
void PlaceCamera(float x, float y)
{
  ScreenWidth = 800;
  ScreenHeight = 600;
  AspectRatio = ScreenWidth / ScreenHeight;
  Camera.camX = x;
  Camera.camY = y;
  Camera.viewHeight = EditorViewHeight;
}

const char* TypedNext = "";   // the characters the next frame types

// One editor frame as the host runs it, with the given keys at state
// (pressed by default, in their order), then the characters of TypedNext, the
// pointer at (mx, my) and the left button at paint (true: held).
void Frame(std::initializer_list<int> keys, int mx = 400, int my = 300, int paint = InputUp,
           int state = InputPressed, float timeScale = 1)
{
  memset(&InputState, 0, sizeof(InputState));
  WantTypedText(EditorTitleEditing);
  for (int k : keys)
    state == InputPressed ? ApplyKeyPress(k, 0) : (void)(InputState.KeyState[k] = state);
  unsigned code;
  for (const char* t = TypedNext; *t; ApplyKeyPress(0, code))
    t += Utf8Decode(t, &code);
  TypedNext = "";
  InputState.MouseX = mx;
  InputState.MouseY = my;
  InputState.MouseButtonState[ButtonLeft] = paint;
  ReadControls(DefaultBindings);
  EditorUpdate(timeScale);
  WantTypedText(false);
}

// Levels/level1.dat in the working directory, loaded into the editor.
void EnterEditor()
{
  WriteLevel(1, LevelText);
  LoadLevelCatalogue();
  StartLevel(1);
  ShowScreen(gamestate_editing);
  OpenEditor(1, false);
  PlaceCamera(Camera.camX, Camera.camY);
}

} // namespace

TEST(Editor, BrushWrapsBothWaysAndEQCancel)
{
  PlaceCamera(0, 0);
  EditorBrush = 0;
  Frame({KeyQ});
  EXPECT_EQ(EditorBrush, maptype_finish);
  EXPECT_STREQ(BrushLabels[EditorBrush], "maptype_finish");
  Frame({KeyE});
  EXPECT_EQ(EditorBrush, maptype_nothing);
  Frame({KeyE});
  Frame({KeyE});
  Frame({KeyE, KeyQ});
  EXPECT_EQ(EditorBrush, maptype_blockharmful);
  Frame({KeyE}, 400, 300, false, InputHeld);   // a held key does not step again
  EXPECT_EQ(EditorBrush, maptype_blockharmful);

  EXPECT_EQ(WrapBrush(-25), 11);
  EXPECT_EQ(WrapBrush(37), 1);
  int w = WrapBrush(INT_MIN);
  EXPECT_TRUE(w >= 0 && w < MapTypeCount);
}

TEST(Editor, PanVectors)
{
  struct Case { std::initializer_list<int> keys; float dx, dy; };
  const float d = 0.1f / std::sqrt(2.0f);
  const Case cases[] = {
    {{KeyRight}, 0.1f, 0},      {{KeyA}, -0.1f, 0},        {{KeyW}, 0, -0.1f},
    {{KeyDown}, 0, 0.1f},       {{KeyRight, KeyUp}, d, -d}, {{KeyA, KeyS}, -d, d},
    {{KeyLeft, KeyRight}, 0, 0}, {{KeyUp, KeyS}, 0, 0},     {{}, 0, 0},
  };
  for (const Case& c : cases) {
    PlaceCamera(20, 30);
    Frame(c.keys);
    EXPECT_NEAR(Camera.camX - 20, c.dx, 1e-5f);
    EXPECT_NEAR(Camera.camY - 30, c.dy, 1e-5f);
  }

  // Held keys pan too, and timeScale scales the step.
  PlaceCamera(20, 30);
  Frame({KeyUp, KeyRight}, 400, 300, false, InputHeld, 2);
  EXPECT_NEAR(std::hypot(Camera.camX - 20, Camera.camY - 30), 0.2f, 1e-5f);
}

TEST(Editor, AimPointFromCameraBeforePan)
{
  PlaceCamera(10, 8);
  Frame({KeyRight}, 400, 300);
  EXPECT_FLOAT_EQ(AimPoint.aimX, 10);
  EXPECT_FLOAT_EQ(AimPoint.aimY, 8);

  PlaceCamera(10, 8);
  Frame({}, 5000, 0);   // far right of the window: clamped to the edge
  EXPECT_FLOAT_EQ(AimPoint.mouseNX, 1);
  EXPECT_FLOAT_EQ(AimPoint.mouseNY, -1);
  EXPECT_NEAR(AimPoint.aimX, 10 + 6.25f * AspectRatio, 1e-4f);
  EXPECT_NEAR(AimPoint.aimY, 8 - 6.25f, 1e-4f);

  // The first frame after StartLevel still aims with the view height of 1.
  Camera.viewHeight = 1;
  Frame({}, 800, 600);
  EXPECT_NEAR(AimPoint.aimX, 10 + 0.5f * AspectRatio, 1e-5f);
  EXPECT_NEAR(AimPoint.aimY, 8.5f, 1e-5f);
  EXPECT_FLOAT_EQ(Camera.viewHeight, EditorViewHeight);
}

TEST(Editor, PaintsOnlyInsideTheLevel)
{
  LevelWidth = 5;
  LevelHeight = 4;
  for (int x = 0; x < 7; x++)
    for (int y = 0; y < 7; y++)
      MapGrid[x * MapSize + y] = maptype_nothing;
  EditorBrush = maptype_blockharmful;

  auto countPainted = [] {
    int n = 0;
    for (int x = 0; x < 7; x++)
      for (int y = 0; y < 7; y++)
        n += MapGrid[x * MapSize + y] != maptype_nothing;
    return n;
  };
  // Aim points just left of column 0, above row 0, at column 5 and row 4.
  const float outside[][2] = {{-0.5f, 1.5f}, {1.5f, -0.5f}, {5.0f, 1.5f}, {1.5f, 4.0f},
                              {-3, -3}, {900, 2}};
  for (const auto& p : outside) {
    PlaceCamera(p[0], p[1]);
    Frame({}, 400, 300, true);
    Frame({}, 400, 300, false); // released, so the next aim starts a new stroke
    EXPECT_EQ(countPainted(), 0) << "aim " << p[0] << ", " << p[1];
  }

  PlaceCamera(0.5f, 0.5f);
  Frame({}, 400, 300, false);
  EXPECT_EQ(countPainted(), 0) << "painted without the button";
  PlaceCamera(4.99f, 3.2f);
  Frame({}, 400, 300, true);
  EXPECT_EQ(CellAt(4, 3), maptype_blockharmful);
  EXPECT_EQ(countPainted(), 1);
}

TEST(Editor, SaveShowsSavedThenLeavesFailuresStayKeepingTheBrush)
{
  ScratchDir dir;
  EnterEditor();
  // A link into a folder that does not exist blocks the save.
  ASSERT_EQ(rename("Levels/level1.dat", "Levels/kept.dat"), 0);
  ASSERT_EQ(symlink("gone/level1.dat", "Levels/level1.dat"), 0);
  EditorBrush = maptype_finish;
  PlaceCamera(2.5f, 1.5f);
  Frame({}, 400, 300, true);
  ASSERT_EQ(CellAt(2, 1), maptype_finish);
  EXPECT_STREQ(EditorHintText(), "Press B to save and go back    F1: keys");

  Frame({KeyB});
  EXPECT_EQ(ScreenNow(), gamestate_editing);
  EXPECT_STREQ(EditorHintText(), "Could not save: the folder is missing - press B to try again");
  EXPECT_EQ(CellAt(2, 1), maptype_finish);
  EXPECT_EQ(ReadFile("Levels/kept.dat"), LevelText);

  ASSERT_EQ(rename("Levels/kept.dat", "Levels/level1.dat"), 0);
  Frame({KeyB});
  EXPECT_STREQ(EditorHintText(), "Saved");
  EXPECT_EQ(ReadFile("Levels/level1.dat"), "Test ground\n5\n4\nbbbbb\nbjlab\nbaalb\nbbbbb\n");
  // "Saved" shows for a moment in which the editor takes no input, then the title.
  for (int i = 0; i < 30; i++)
    Frame({KeyE}, 400, 300, true);
  EXPECT_EQ(ScreenNow(), gamestate_editing);
  EXPECT_STREQ(EditorHintText(), "Saved");
  for (int i = 0; i < 30 && ScreenNow() == gamestate_editing; i++)
    Frame({KeyE}, 400, 300, true);
  EXPECT_EQ(ScreenNow(), gamestate_title);
  EXPECT_EQ(EditorBrush, maptype_finish);
  EXPECT_EQ(ReadFile("Levels/level1.dat"), "Test ground\n5\n4\nbbbbb\nbjlab\nbaalb\nbbbbb\n");

  // Back in the editor the brush is kept and B on the first frame writes the
  // level back as it was loaded.
  StartLevel(1);
  ShowScreen(gamestate_editing);
  OpenEditor(1, false);
  Frame({KeyB});
  EXPECT_EQ(EditorBrush, maptype_finish);
  EXPECT_EQ(ReadFile("Levels/level1.dat"), "Test ground\n5\n4\nbbbbb\nbjlab\nbaalb\nbbbbb\n");
}

// The title takes typed UTF-8 while whole characters fit its 254 bytes, and
// Backspace takes a whole character back.
TEST(Editor, TitleTypingKeepsWholeCharacters)
{
  ScratchDir dir;
  EnterEditor();
  Frame({KeyTab});
  std::string full(251, 'x');
  snprintf(EditTitle, sizeof EditTitle, "%s", full.c_str());
  TypedNext = "\xC3\xA9\xC3\xA9" "a";   // é fits, the second é would not, a does
  Frame({});
  EXPECT_EQ(std::string(EditTitle), full + "\xC3\xA9" "a");
  Frame({KeyBackspace});
  Frame({KeyBackspace});
  EXPECT_EQ(std::string(EditTitle), full);
}

TEST(Editor, SaveFailuresNameTheirCause)
{
  const int errors[4] = {EACCES, ENOSPC, EROFS, ENOENT};
  const char* const reasons[4] = {"the folder is read-only", "the disk is full", "the disk is read-only",
                                  "the folder is missing"};
  for (int i = 0; i < 4; i++)
    EXPECT_STREQ(SaveFailureReason(errors[i]), reasons[i]);
}

TEST(Editor, VisitedCellsCoverSpritesReachingIntoTheView)
{
  int first, last;
  // View 10.2 .. 26.8 over 100 columns: a finish centred 1.625 left of 10.2 still
  // shows, the one before it cannot; likewise on the right.
  ASSERT_TRUE(EditorCellRange(10.2f, 26.8f, 100, &first, &last));
  EXPECT_EQ(first, 9);
  EXPECT_EQ(last, 27);

  ASSERT_TRUE(EditorCellRange(95, 120, 100, &first, &last));
  EXPECT_EQ(first, 93);
  EXPECT_EQ(last, 99);
  EXPECT_FALSE(EditorCellRange(102, 110, 100, &first, &last));
  EXPECT_FALSE(EditorCellRange(0, 10, 0, &first, &last));
  EXPECT_FALSE(EditorCellRange(NAN, 10, 100, &first, &last));
}

// A click on the level while the title is edited ends the title edit as a
// step of its own, and so does a Shift + drag; every step undoes alone.
TEST(Editor, ClickWhileEditingTheTitleEndsItAsItsOwnStep)
{
  ScratchDir dir;
  EnterEditor();
  EditorBrush = maptype_blocknormal;
  PlaceCamera(2.5f, 2.5f);                    // 48 pixels a cell: (400, 300) is cell (2, 2)
  Frame({KeyTab});
  TypedNext = "x";
  Frame({});
  Frame({}, 400, 300, InputPressed);
  Frame({});
  TypedNext = "y";
  Frame({});
  Frame({KeyReturn});
  EXPECT_STREQ(EditTitle, "Test groundx");
  Frame({KeyLCtrl, KeyZ});
  EXPECT_EQ(CellAt(2, 2), maptype_nothing);
  EXPECT_STREQ(EditTitle, "Test groundx");
  Frame({KeyLCtrl, KeyZ});
  EXPECT_STREQ(EditTitle, "Test ground");
  EXPECT_FALSE(EditorHasUnsavedEdits());

  Frame({KeyTab});
  TypedNext = "z";
  Frame({});
  Frame({KeyLShift}, 352, 300, InputPressed);  // cell (1, 2) to cell (2, 1)
  Frame({KeyLShift}, 400, 252, InputHeld);
  Frame({KeyLShift}, 400, 252);
  Frame({KeyReturn});
  EXPECT_EQ(CellAt(1, 1), maptype_blocknormal);
  EXPECT_STREQ(EditTitle, "Test groundz");
  Frame({KeyLCtrl, KeyZ});
  EXPECT_EQ(CellAt(1, 1), maptype_playerspawn);
  EXPECT_TRUE(EditorHasUnsavedEdits());
  Frame({KeyLCtrl, KeyZ});
  EXPECT_STREQ(EditTitle, "Test ground");
  EXPECT_FALSE(EditorHasUnsavedEdits());
}

// A held Ctrl + Right waits 0.4 s, then adds a column every 1/30 s, and the
// hold is one step. Ctrl + S saves and stays; a level without a spawn is
// saved anyway and says so. In a 480 x 800 window the palette stays under
// the top bar.
TEST(Editor, HeldResizeRepeatsCtrlSStaysAndNarrowPalette)
{
  ScratchDir dir;
  EnterEditor();
  Frame({KeyLCtrl, KeyRight}, 400, 300, InputUp, InputPressed, 1.1f);
  for (int i = 0; i < 21; i++)
    Frame({KeyLCtrl, KeyRight}, 400, 300, InputUp, InputHeld, 1.1f);   // 0.385 s
  EXPECT_EQ(LevelWidth, 6);
  for (int i = 0; i < 9; i++)
    Frame({KeyLCtrl, KeyRight}, 400, 300, InputUp, InputHeld, 1.1f);   // 0.55 s: 0.4, 0.433 ... 0.533
  EXPECT_EQ(LevelWidth, 11);
  Frame({});
  Frame({KeyLCtrl, KeyZ});
  EXPECT_EQ(LevelWidth, 5);

  EditorBrush = maptype_nothing;
  PlaceCamera(1.5f, 1.5f);                    // the spawn
  Frame({}, 400, 300, InputHeld);
  Frame({KeyT});                              // no spawn to test from
  EXPECT_FALSE(TestRunActive);
  EXPECT_STREQ(EditorHintText(), "No spawn to start from - place one to test");
  Frame({KeyLCtrl, KeyS});
  EXPECT_EQ(ScreenNow(), gamestate_editing);
  EXPECT_STREQ(EditorHintText(), "No spawn - saved anyway; press B to go back");
  EXPECT_EQ(ReadFile("Levels/level1.dat"), "Test ground\n5\n4\nbbbbb\nbaaab\nbaalb\nbbbbb\n");
  Frame({KeyB});
  EXPECT_STREQ(EditorHintText(), "Saved");

  OpenEditor(1, false);
  ScreenWidth = 480;
  ScreenHeight = 800;
  AspectRatio = ScreenWidth / ScreenHeight;
  float pixelsPerUnit = ScreenHeight / (2 * ScreenOrthoHalfHeight());
  // The palette is as far below the window's top as in an 800-unit screen.
  int y = (int)((PaletteTop + ScreenHalfHeight + PaletteCell / 2) * pixelsPerUnit);
  int x = (int)(ScreenWidth / 2 + (PaletteLeft + PaletteCell + PaletteGap + PaletteCell / 2) * pixelsPerUnit);
  Frame({}, x, y, InputPressed);
  EXPECT_EQ(EditorBrush, maptype_blocknormal);
}

// F1 lists the keys as bound; the next key, Escape too, only closes the list.
TEST(Editor, F1ListsTheKeysAsBoundAndAnyKeyOnlyClosesIt)
{
  ScratchDir dir;
  EnterEditor();
  int brush = EditorBrush;
  Frame({KeyF1});
  Frame({KeyE});
  EXPECT_EQ(EditorBrush, brush);
  Frame({KeyE});
  EXPECT_NE(EditorBrush, brush);
  Frame({KeyF1});
  Frame({KeyEscape});
  EXPECT_FALSE(Controls.pauseToggle || KeyCaptureWanted);
  KeyBindings kept = Bindings;
  Bindings.key[bind_undo][1] = KeyF11 - 4;   // F7
  std::string lines;
  char label[128], keys[128];
  for (int row = 0; row < EditorHelpRows; row++) {
    EditorHelpLine(row, label, sizeof label, keys, sizeof keys);
    lines += std::string(label) + ": " + keys + "\n";
  }
  EXPECT_NE(lines.find("Undo: Ctrl+Z or F7"), std::string::npos) << lines;
  Bindings = kept;
}
