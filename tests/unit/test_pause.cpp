// The pause layer's logic without a window: the Escape toggle and slide, the
// version text, screenshots written from a hand-made frozen frame, and the
// rows that leave the editor or restart play.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <lodepng.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/edit/edit_history.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/pause_state.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "platform/screenshot.h"
#include "render/frozen_frame.h"
#include "render/overlay.h"
#include "test_support.h"
#include "ui/editor.h"
#include "ui/pause_layer.h"

namespace {

// One frame's pause step at speed 1, with Escape at the given key state.
bool Step(int escape, bool focusLost = false)
{
  memset(&InputState, 0, sizeof(InputState));
  InputState.FocusLost = focusLost;
  InputState.KeyState[KeyEscape] = escape;
  ReadControls(DefaultBindings);
  return AdvancePause(1);
}

bool Exists(const char* path)
{
  struct stat st;
  return lstat(path, &st) == 0;
}

TEST(Pause, EscapeTogglesSlidesAndStaysInRange)
{
  PauseLevel = 0;
  PauseWanted = false;
  EXPECT_TRUE(Step(InputPressed));  // frame n: the pause starts from 0 and captures
  EXPECT_FLOAT_EQ(PauseLevel, 5);
  EXPECT_FALSE(Step(InputUp));
  EXPECT_FLOAT_EQ(PauseLevel, 10);
  EXPECT_FALSE(Step(InputPressed)); // frame n + 2: turns back
  EXPECT_FLOAT_EQ(PauseLevel, 5);
  EXPECT_FALSE(Step(InputUp));
  EXPECT_FLOAT_EQ(PauseLevel, 0);
  EXPECT_FALSE(PauseWanted);

  // Sliding out at 40 the screen runs, so Escape turning back up captures its
  // new picture; the level stops at 100 and a held Escape toggles nothing.
  PauseLevel = 40;
  EXPECT_TRUE(ScreenRuns() && Step(InputPressed) && !ScreenRuns());
  EXPECT_FLOAT_EQ(PauseLevel, 45);
  for (int i = 0; i < 20; i++)
    EXPECT_FALSE(Step(InputUp));
  EXPECT_FLOAT_EQ(PauseLevel, 100);
  EXPECT_FALSE(Step(InputHeld));
  EXPECT_TRUE(PauseWanted);
  EXPECT_FLOAT_EQ(PauseLevel, 100);

  // After a window change an opening waits at 0, the screen running, for a
  // picture of the new size; a change meanwhile does not delay it further.
  PauseWanted = false;
  PauseLevel = 0;
  NoteWindowChange();
  EXPECT_FALSE(Step(InputPressed));
  NoteWindowChange();
  EXPECT_FALSE(Step(InputUp) || PauseLevel != 0 || !ScreenRuns());
  EXPECT_TRUE(Step(InputUp));

  // Below 0 becomes 0; NaN becomes 0, whether in the level or the speed.
  PauseWanted = false;
  PauseLevel = 2;
  Step(InputUp);
  EXPECT_FLOAT_EQ(PauseLevel, 0);
  PauseWanted = true;
  PauseLevel = NAN;
  Step(InputUp);
  EXPECT_FLOAT_EQ(PauseLevel, 0);
  AdvancePause(NAN);
  EXPECT_FLOAT_EQ(PauseLevel, 0);
}

TEST(Pause, LosingTheFocusPausesPlayAndTheEditorOnly)
{
  for (int state = gamestate_title; state <= gamestate_watching; state++) {
    bool pauses = state == gamestate_playing || state == gamestate_editing;
    ShowScreen(state);
    PauseLevel = 0;
    PauseWanted = false;
    EXPECT_EQ(Step(InputUp, true), pauses) << "state " << state;
    EXPECT_EQ(PauseWanted, pauses) << "state " << state;
  }
  Step(InputPressed, true);   // already paused, Escape in the same frame does not resume
  EXPECT_TRUE(PauseWanted);
  PauseWanted = false;
  PauseLevel = 0;
}

TEST(Pause, VersionText)
{
  char text[64];
  FormatVersionText(text, sizeof(text), 0.3f);
  EXPECT_STREQ(text, "v0.3");
  FormatVersionText(text, sizeof(text), 1);
  EXPECT_STREQ(text, "v1.0");
  FormatVersionText(text, sizeof(text), 2.125f);
  EXPECT_STREQ(text, "v2.125");
}

TEST(Pause, ScreenshotsAreFlippedOpaqueRGBAAndNeverReplaceAFile)
{
  ScratchDir dir;
  const int w = 3, h = 2;
  FrozenWidth = w;
  FrozenHeight = h;
  // Bottom row first, as glReadPixels leaves it; alpha is not 255.
  unsigned char frame[w * h * 4];
  for (int i = 0; i < w * h * 4; i++)
    frame[i] = (unsigned char)(i * 7 + 1);
  unsigned char* savedBuffer = ReadbackBuffer;
  long savedBytes = ReadbackBytes;
  ReadbackBuffer = frame;

  // A buffer smaller than the screen is never read past: no file.
  ReadbackBytes = sizeof(frame) - 1;
  SaveScreenshot();
  EXPECT_FALSE(Exists("screenshot1.png"));

  WriteFile("screenshot1.png", "keep me");
  // A name that exists but cannot be opened for reading is taken as well.
  ASSERT_EQ(symlink("missing-target.png", "screenshot2.png"), 0);
  ReadbackBytes = sizeof(frame);
  SaveScreenshot();
  SaveScreenshot();
  ReadbackBuffer = savedBuffer;
  ReadbackBytes = savedBytes;

  EXPECT_EQ(ReadFile("screenshot1.png"), "keep me");
  EXPECT_FALSE(Exists("missing-target.png"));
  EXPECT_FALSE(Exists("screenshot5.png"));
  std::string png = ReadFile("screenshot3.png");
  EXPECT_EQ(png, ReadFile("screenshot4.png"));
  EXPECT_NE(png.find(std::string("tEXtComment\0Created with LodePNG", 31)), std::string::npos);

  LodePNGState state;
  lodepng_state_init(&state);
  state.decoder.color_convert = 0;
  unsigned char* pixels = nullptr;
  unsigned dw = 0, dh = 0;
  unsigned error = lodepng_decode(&pixels, &dw, &dh, &state,
                                  (const unsigned char*)png.data(), png.size());
  ASSERT_EQ(error, 0u);
  EXPECT_EQ(state.info_png.color.colortype, LCT_RGBA);
  EXPECT_EQ(state.info_png.color.bitdepth, 8u);
  ASSERT_EQ(dw, (unsigned)w);
  ASSERT_EQ(dh, (unsigned)h);
  for (int r = 0; r < h; r++)
    for (int x = 0; x < w; x++) {
      const unsigned char* got = pixels + (r * w + x) * 4;
      const unsigned char* want = frame + ((h - 1 - r) * w + x) * 4;
      EXPECT_EQ(0, memcmp(got, want, 3)) << "row " << r << " column " << x;
      EXPECT_EQ(got[3], 255);
    }
  free(pixels);
  lodepng_state_cleanup(&state);
}

// One pause-menu frame, fully paused, with Return on the given row.
void ChooseRow(int row)
{
  memset(&Controls, 0, sizeof(Controls));
  Controls.menuChoose = PauseWanted = true;
  PauseLevel = 100;
  PauseCursor = row;
  PauseMenu();
}

// Leaving the editor with an unsaved change takes a second choice, and a
// window close opens the layer with "Exit" asking; undone back to the saved
// level, one choice or close is enough.
TEST(Pause, LeavingTheEditorAsksTwiceAndRestartStartsOver)
{
  ScratchDir dir;
  WriteLevel(1, "Room\n6\n4\nbbbbbb\nbjaalb\nbaaaab\nbbbbbb\n");
  LoadLevelCatalogue();
  ShowScreen(gamestate_editing);
  StartLevel(1);
  OpenEditor(1, false);
  HistoryBegin();
  HistorySet(2, 2, maptype_blocknormal);
  HistoryEnd();
  for (int row : {pauserow_exit, pauserow_title, pauserow_title}) {
    EXPECT_TRUE(!QuitRequested && ScreenNow() == gamestate_editing);
    ChooseRow(row);
  }
  EXPECT_EQ(ScreenNow(), gamestate_title);
  ShowScreen(gamestate_editing);
  PauseWanted = false;
  PauseLevel = 0;
  CloseWindow();
  Step(InputUp);
  EXPECT_TRUE(!QuitRequested && PauseWanted && PauseConfirmRow == pauserow_exit);
  CloseWindow();
  EXPECT_TRUE(QuitRequested);
  QuitRequested = false;
  HistoryUndo();
  PauseConfirmRow = NoPauseRow;
  CloseWindow();
  EXPECT_TRUE(QuitRequested);
  QuitRequested = false;
  ChooseRow(pauserow_exit);
  EXPECT_TRUE(QuitRequested);
  QuitRequested = false;
}

}  // namespace
