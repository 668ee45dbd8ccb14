// The shipped levels: each one's committed solution still reaches the finish
// before the timer runs out, alike through the window game's input and the
// game layer alone, and the set as a whole uses every cell type.
#include "game/base/screen.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/play/hints.h"
#include "game/play/world.h"
#include "game/run/replay_run.h"
#include "game/run/rules.h"
#include "game/run/update.h"
#include "platform/input.h"
#include "platform/input_gate.h"
#include "platform/keymap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

static Replay Solution;

// One frame of a keys replay as a frame of the window game runs it: the
// frame's key and button changes into the platform's input record as events,
// the keymap into the controls record, the game step, then the input gate
// following the screen.
static void DesktopFrame(const ReplayRun& run)
{
  static const int Symbols[] = {KeyLeft, KeyRight, KeyUp, KeyDown, KeySpace};   // replaykey_* bit order
  AgeKeys();
  AgeButtons();
  for (int k = 0; k < 5; k++) {
    bool down = run.keys >> k & 1;
    if (down != IsDown(InputState.KeyState[Symbols[k]]))
      (down ? ApplyKeyDown : ApplyKeyUp)(Symbols[k]);
  }
  if ((run.button != 0) != IsDown(InputState.MouseButtonState[ButtonLeft]))
    (run.button ? ApplyButtonDown : ApplyButtonUp)(ButtonLeft);
  InputState.MouseX = run.mouseX;
  InputState.MouseY = run.mouseY;
  ReadControls(DefaultBindings);
  UpdateGame(run.timeScale);
  FollowScreen(GameState, false);
}

// The replay through DesktopFrame from the level's start, with the camera it
// was played with, judged as PlayReplay judges.
static ReplayOutcome PlayThroughDesktop(const Replay* r)
{
  ReplayOutcome out = {replayend_playing, 0, 0, 0};
  UseReplayScreen(r->screenWidth, r->screenHeight);
  Camera.leads = ReplayCameraLeads(r);
  ReleaseAllInput();
  ResetControlsHistory();
  for (size_t i = 0; i < r->runs.size() && out.end == replayend_playing; i++)
    for (int n = 0; n < r->runs[i].frames && out.end == replayend_playing; n++, out.frames++) {
      DesktopFrame(r->runs[i]);
      out.end = JudgeFrame();
    }
  out.timeLeft = LevelTimer;
  out.score = out.end == replayend_finish ? ScoreFromTimer() : 0;
  return out;
}

// Each solution, fed once through the window game's input and once through
// the player on the game layer alone, finishes with the same score, frames,
// time left and ball path, bit for bit.
TEST(Solutions, EveryShippedLevelIsFinishedAlikeThroughTheWindowGamesInputAndTheGameAlone) {
  for (int n = 1; n <= ShippedLevelCount; n++) {
    char level[512], replay[512];
    snprintf(level, sizeof level, "%s/Levels/level%d.dat", REPO_ROOT, n);
    snprintf(replay, sizeof replay, "%s/tests/solutions/level%d.replay", REPO_ROOT, n);
    FILE* f = fopen(replay, "r");
    ASSERT_NE(f, nullptr) << replay;
    bool read = ReadReplay(f, &Solution);
    fclose(f);
    ASSERT_TRUE(read) << replay;
    ASSERT_TRUE(StartLevelFile(level)) << level;
    ReplayOutcome desktop = PlayThroughDesktop(&Solution);
    std::vector<GhostFrame> path(GhostTake.frames.begin(), GhostTake.frames.begin() + GhostTake.frameCount);
    ASSERT_TRUE(StartLevelFile(level)) << level;
    ReplayOutcome out = PlayReplay(&Solution);
    EXPECT_EQ(out.end, replayend_finish) << "level " << n << " ended by " << ReplayEndName(out.end)
                                         << " after " << out.frames << " frames";
    EXPECT_GT(out.timeLeft, 0) << "level " << n;
    EXPECT_EQ(out.end, desktop.end) << "level " << n;
    EXPECT_EQ(out.frames, desktop.frames) << "level " << n;
    EXPECT_EQ(out.score, desktop.score) << "level " << n;
    EXPECT_EQ(memcmp(&out.timeLeft, &desktop.timeLeft, sizeof out.timeLeft), 0) << "level " << n;
    ASSERT_EQ(GhostTake.frameCount, (int)path.size()) << "level " << n;
    EXPECT_EQ(memcmp(GhostTake.frames.data(), path.data(), path.size() * sizeof(GhostFrame)), 0) << "level " << n;
    printf("level %2d: score %3d after %4d frames\n", n, out.score, out.frames);
  }
}

TEST(Solutions, LevelSetUsesEveryCellTypeWithOneSpawnAndAFinishEach) {
  bool used[MapTypeCount] = {};
  int widest = 0;
  for (int n = 1; n <= ShippedLevelCount; n++) {
    char path[512], title[TitleSlotSize];
    snprintf(path, sizeof path, "%s/Levels/level%d.dat", REPO_ROOT, n);
    FILE* f = fopen(path, "r");
    ASSERT_NE(f, nullptr) << path;
    LevelRepairs rep = {};
    ReadLevelStream(f, title, &rep);
    fclose(f);
    EXPECT_FALSE(rep.titleCut || rep.sizeClamped || rep.shortRows || rep.badCharacters) << path;
    EXPECT_GT(strlen(title), 1u) << path;
    EXPECT_LE(strlen(title), 41u) << path;   // fits the level list
    int spawns = 0, finishes = 0, open = 0;
    for (int x = 0; x < LevelWidth; x++)
      for (int y = 0; y < LevelHeight; y++) {
        int c = CellAt(x, y);
        used[c] = true;
        spawns += c == maptype_playerspawn;
        finishes += c == maptype_finish;
        bool border = x == 0 || y == 0 || x == LevelWidth - 1 || y == LevelHeight - 1;
        open += border && c != maptype_blocknormal && c != maptype_blocknoswing && c != maptype_blockharmful;
      }
    EXPECT_EQ(spawns, 1) << path;
    EXPECT_GE(finishes, 1) << path;
    EXPECT_EQ(open, 0) << path << " is not walled in";
    if (LevelWidth > widest)
      widest = LevelWidth;
  }
  for (int c = 0; c < MapTypeCount; c++)
    EXPECT_TRUE(used[c]) << "no level uses cell type " << c;
  EXPECT_GE(widest, 200);   // at least one level makes the camera travel far
}

// The blocks the first levels' hints name, where the new player's plans hook
// them: level 3's "a block above you", the ceiling straight above the spawn
// and the near corner of the overhang over the gap; level 4's "a block higher
// up", the second pillar's foot, caught after letting go of the first.
struct HintedBlock {
  int level, x, y;
};
static const HintedBlock HintedBlocks[] = {{3, 2, 0}, {3, 17, 2}, {4, 15, 7}};
static const int LeadFrames = 240;           // four seconds for the camera to settle
static const float MostCameraStep = 0.4f;    // world units a frame: a glide, no jump
static const float BallInView = 1.2f;        // world units between the ball's centre and the view's edge

static bool InView(float x, float y, float margin)
{
  float halfW = Camera.viewHeight * 0.5f * AspectRatio, halfH = Camera.viewHeight * 0.5f;
  return fabsf(x - Camera.camX) <= halfW - margin && fabsf(y - Camera.camY) <= halfH - margin;
}

// At the spawn, with the pointer put on the block (or at the window's edge
// toward it), the camera glides until the block is in view, the ball staying
// in view: with the leading camera, not with the older one. Every level whose
// hint names a block has one here.
TEST(Solutions, FromTheSpawnTheLeadingCameraBringsTheHintedBlockIntoView) {
  for (int n = 1; n <= ShippedLevelCount; n++) {
    int kind = HintForLevel(n), listed = 0;
    for (const HintedBlock& b : HintedBlocks)
      listed += b.level == n;
    EXPECT_EQ(listed > 0, kind == hint_tether || kind == hint_corner) << "level " << n;
  }
  for (const HintedBlock& b : HintedBlocks) {
    char level[512];
    snprintf(level, sizeof level, "%s/Levels/level%d.dat", REPO_ROOT, b.level);
    for (int leads = 0; leads < 2; leads++) {
      ASSERT_TRUE(StartLevelFile(level)) << level;
      ASSERT_TRUE(CellAt(b.x, b.y) == maptype_blocknormal) << "level " << b.level;
      UseReplayScreen(ReplayScreenWidth, ReplayScreenHeight);
      ResetReplayInput();
      Camera.leads = leads;
      int seenAt = -1;
      for (int f = 0; f < LeadFrames && seenAt < 0; f++) {
        int mx, my;
        ReplayPixelAt(b.x + 0.5f, b.y + 0.5f, &mx, &my);
        ApplyReplayInput(0, mx, my, 0);
        float oldX = Camera.camX, oldY = Camera.camY;
        UpdateGame(ReplayTimeScale);
        ASSERT_LE(fabsf(Camera.camX - oldX) + fabsf(Camera.camY - oldY), MostCameraStep) << "frame " << f;
        ASSERT_TRUE(InView(Ball.x, Ball.y, BallInView)) << "level " << b.level << " frame " << f;
        if (InView(b.x + 0.5f, b.y + 0.5f, 0))
          seenAt = f;
      }
      EXPECT_EQ(seenAt >= 0, leads == 1) << "level " << b.level << " block (" << b.x << ", " << b.y
                                         << ") camera " << (leads ? "leading" : "older");
    }
  }
}
