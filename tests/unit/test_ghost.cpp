// Ghosts: recording a run, the ghost file beside the score, bad files, the
// best run's place in time, watching it, and the play list's watch key.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "game/base/screen.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/replay_run.h"
#include "game/run/rules.h"
#include "game/run/update.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "test_support.h"
#include "ui/menus.h"

namespace {

// The ball rolls right from its spawn onto the finish 16 cells away.
const char* Corridor =
    "Corridor\n20\n4\nbbbbbbbbbbbbbbbbbbbb\nbaaaaaaaaaaaaaaaaaab\nbjaaaaaaaaaaaaaaaalb\nbbbbbbbbbbbbbbbbbbbb\n";

const char* Level1Ghost = "Levels/level1.ghost";

struct GhostStep { float t, x, y; int ax = GhostNoAnchor, ay = GhostNoAnchor; };

// Plays level 1 from its start: idle frames standing still, then right held
// until the run ends; frames alternate between two TimeScales. Returns what
// each frame left, as a ghost should record it.
std::vector<GhostStep> PlayRun(int idle)
{
  std::vector<GhostStep> frames;
  StartLevel(1);
  ShowScreen(gamestate_playing);
  ResetReplayInput();
  for (int i = 0; i < 3000 && ScreenNow() == gamestate_playing; i++) {
    float t = i % 3 ? 0.96f : 1.5f;
    ApplyReplayInput(i < idle ? 0 : replaykey_right, 400, 100, i >= 10 && i < idle);   // idle: on the tether
    UpdateGame(t);
    frames.push_back({t, Ball.x, Ball.y});
    if (Ball.attached)
      frames.back().ax = (int)lroundf(Ball.anchorX * 32), frames.back().ay = (int)lroundf(Ball.anchorY * 32);
  }
  return frames;
}

// A ghost file of the given frames, built byte by byte; version 1 without anchors.
std::string GhostFile(const std::vector<GhostStep>& frames, uint32_t version = 2)
{
  std::vector<uint32_t> words = {version, (uint32_t)frames.size()};
  for (const GhostStep& f : frames) {
    for (float v : {f.t, f.x, f.y})
      words.push_back(0), memcpy(&words.back(), &v, 4);
    if (version == 2)
      words.push_back((uint16_t)f.ax | (uint32_t)(uint16_t)f.ay << 16);
  }
  std::string b = "T2GH";
  for (uint32_t w : words)
    b += {(char)w, (char)(w >> 8), (char)(w >> 16), (char)(w >> 24)};
  return b;
}

void Fresh()
{
  memset(LevelBest, 0, sizeof LevelBest);
  LevelExists[0] = true;
  WriteLevel(1, Corridor);
  ScanGhostFiles();
}

TEST(Ghost, BestRunIsSavedFrameByFrameAndWorseRunsLeaveItAlone)
{
  ScratchDir scratch;
  Fresh();
  std::vector<GhostStep> best = PlayRun(40);
  ASSERT_EQ(JudgeFrame(), replayend_finish);
  ASSERT_NE(best[20].ax, GhostNoAnchor);
  ASSERT_EQ(ReadFile(Level1Ghost), GhostFile(best));
  EXPECT_TRUE(LevelHasGhost[0]);

  PlayRun(80);   // slower: no new best
  EXPECT_EQ(JudgeFrame(), replayend_finish);
  EXPECT_EQ(ReadFile(Level1Ghost), GhostFile(best));

  std::vector<GhostStep> better = PlayRun(0);
  EXPECT_LT(better.size(), best.size());
  EXPECT_EQ(ReadFile(Level1Ghost), GhostFile(better));
}

TEST(Ghost, BadFilesAreIgnoredAndTheNextBestReplacesThem)
{
  ScratchDir scratch;
  Fresh();
  std::vector<GhostStep> good = {{1, 2.5f, 2.5f}, {1, 3, 2.5f}};
  std::string valid = GhostFile(good);
  std::vector<GhostStep> nan = {{1, NAN, 2.5f}}, slow = {{0.1f, 2.5f, 2.5f}};
  std::string tooMany = valid;
  tooMany[8] = (char)0xff;
  const std::string bad[] = {"", valid.substr(0, 11), valid.substr(0, valid.size() - 1), valid + "x",
                             tooMany, std::string(5000, 'G'), GhostFile(good, 3), GhostFile(nan),
                             GhostFile(slow), GhostFile({})};
  EXPECT_FALSE(LevelHasGhost[0]);   // missing
  WriteFile(Level1Ghost, GhostFile(good, 1));   // from before the tether was recorded: plays untethered
  ScanGhostFiles();
  EXPECT_TRUE(LevelHasGhost[0]);
  StartLevel(1);
  float ax, ay;
  EXPECT_TRUE(GhostPositionAt(1.5f, &ax, &ay) && ax == 2.75f && !GhostAnchor(&ax, &ay));
  for (const std::string& bytes : bad) {
    WriteFile(Level1Ghost, bytes);
    ScanGhostFiles();
    EXPECT_FALSE(LevelHasGhost[0]) << bytes.size() << " bytes";
    StartLevel(1);
    float x, y;
    EXPECT_FALSE(GhostPositionAt(1, &x, &y)) << bytes.size() << " bytes";
  }
  std::vector<GhostStep> run = PlayRun(0);   // the next best replaces the last bad file
  EXPECT_EQ(ReadFile(Level1Ghost), GhostFile(run));
}

TEST(Ghost, TimeNotFramesKeepsThePaceAndTheRecordingHasACap)
{
  ScratchDir scratch;
  Fresh();
  // Frames at game times 1, 3 and 4: the second frame took a step of 2.
  WriteFile(Level1Ghost, GhostFile({{1, 0, 0}, {2, 10, 0}, {1, 10, 20}}));
  ScanGhostFiles();
  StartLevel(1);
  float x, y;
  ASSERT_TRUE(GhostPositionAt(0.5f, &x, &y));   // before its first frame: there
  EXPECT_EQ(x, 0);
  ASSERT_TRUE(GhostPositionAt(2, &x, &y));      // halfway through the long step
  EXPECT_FLOAT_EQ(x, 5);
  ASSERT_TRUE(GhostPositionAt(3.5f, &x, &y));
  EXPECT_FLOAT_EQ(y, 10);
  ASSERT_TRUE(GhostPositionAt(1, &x, &y));      // a new run starts over
  EXPECT_EQ(x, 0);
  EXPECT_FALSE(GhostPositionAt(4.01f, &x, &y));

  // The level's run has room for its 300 tenths at the smallest TimeScale,
  // where the timer falls a thirtieth of a tenth a frame; frames past it are
  // not kept, and the whole take can be saved.
  const int roomFrames = 9000;
  for (int i = 0; i < roomFrames + 10; i++)
    RecordGhostFrame(0.2f);
  EXPECT_EQ(GhostTake.frameCount, roomFrames);
  EXPECT_GT(GhostClock, roomFrames * 0.2f);
  EXPECT_TRUE(SaveGhost(1));
  EXPECT_EQ(ReadFile(Level1Ghost).size(), GhostHeaderBytes + (size_t)roomFrames * GhostFrameBytes);
  // Each pickup adds its 50 tenths, up to GhostPickupsCovered of them.
  EXPECT_EQ(GhostFramesFor(2), roomFrames + 2 * 50 * 30);
  EXPECT_EQ(GhostFramesFor(GhostPickupsCovered + 1), MaxGhostFrames);
}

// Watching moves the ball frame by frame along the best run, and no further.
TEST(Ghost, WatchFollowsTheBestRunAndTheListKeyStartsIt)
{
  ScratchDir scratch;
  Fresh();
  std::vector<GhostStep> best = PlayRun(20);
  float scoreTimer = LevelTimer;
  ScanGhostFiles();   // watched as the file holds it

  // G in the play list on a level without a ghost does nothing.
  ShowScreen(gamestate_playlist);
  MenuCursor = 1;
  memset(&InputState, 0, sizeof InputState);
  InputState.KeyState[KeyG] = InputPressed;
  ReadControls(DefaultBindings);
  MenuInput();
  EXPECT_EQ(ScreenNow(), gamestate_playlist);
  MenuCursor = 0;
  MenuInput();
  ASSERT_EQ(ScreenNow(), gamestate_watching);

  for (const GhostStep& f : best) {
    ASSERT_TRUE(StepGhostWatch(f.t));
    EXPECT_EQ(Ball.x, f.x);
    EXPECT_EQ(Ball.y, f.y);
    EXPECT_EQ(Ball.attached ? Ball.anchorX * 32 : GhostNoAnchor, f.ax);
  }
  EXPECT_FALSE(StepGhostWatch(1));
  EXPECT_FLOAT_EQ(LevelTimer, scoreTimer);
  EXPECT_EQ(GhostTake.frameCount, 0);   // watching records nothing
}

}  // namespace
