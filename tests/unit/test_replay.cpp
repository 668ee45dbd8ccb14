// Replays: both text forms, the controls they feed the game, the runner's
// verdict, the recorder, and the level checker built on them.
#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/play/world.h"
#include "game/run/replay_run.h"
#include "game/run/rules.h"
#include "game/run/update.h"
#include "platform/gamepad.h"
#include "platform/keymap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "game/run/level_start.h"
#include "test_support.h"

static Replay A, B;

static bool ParseText(const std::string& text, Replay* r) {
  FILE* f = tmpfile();
  fputs(text.c_str(), f);
  rewind(f);
  bool ok = ReadReplay(f, r);
  fclose(f);
  return ok;
}

static std::string Text(const Replay* r) {
  FILE* f = tmpfile();
  EXPECT_TRUE(WriteReplay(f, r));
  std::string text(ftell(f), 0);
  rewind(f);
  EXPECT_EQ(fread(text.data(), 1, text.size(), f), text.size());
  fclose(f);
  return text;
}

TEST(Replay, TextFormsRoundTripExactlyAndMergeEqualFrames) {
  ClearReplay(&A);
  ASSERT_TRUE(AppendReplay(&A, 3, ReplayTimeScale, replaykey_right | replaykey_jump, 799, 0, 1));
  ASSERT_TRUE(AppendReplay(&A, 2, ReplayTimeScale, replaykey_right | replaykey_jump, 799, 0, 1));
  ASSERT_TRUE(AppendReplay(&A, 1, 1.0f / 3.0f, 0, 400, 300, 0));
  ASSERT_TRUE(AppendReplay(&A, 7, 2.0f, replaykey_all, 0, 599, 0));
  EXPECT_EQ(A.runs.size(), 3u);
  EXPECT_EQ(A.frameCount, 13);
  EXPECT_FALSE(AppendReplay(&A, 0, ReplayTimeScale, 0, 0, 0, 0));
  std::string text = Text(&A);
  EXPECT_NE(text.find("tetherorb2-replay 1\nscreen 800 600\n5 0.96 RJ 799 0 1\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" - 400 300 0\n"), std::string::npos) << text;
  ASSERT_TRUE(ParseText(text, &B));
  EXPECT_EQ(Text(&B), text);
  EXPECT_EQ(B.runs[1].timeScale, 1.0f / 3.0f);   // floats survive the text form bit for bit

  // Version 2: a stick's fraction, a negative zero, the smallest float and a
  // window resized between runs all come back bit for bit.
  ClearReplay(&A);
  A.version = ReplayControlsVersion;
  PlayControls c = {0.4375f, -0.0f, 412.25f, 1e-45f, true, true, true};
  ASSERT_TRUE(AppendReplayControls(&A, 2, 1.0f / 3.0f, c, 800, 600));
  c.tetherShot = false;
  ASSERT_TRUE(AppendReplayControls(&A, 1, 1.0f / 3.0f, c, 800, 600));
  ASSERT_TRUE(AppendReplayControls(&A, 1, 1.0f / 3.0f, c, 800, 600));
  ASSERT_TRUE(AppendReplayControls(&A, 4, 2.0f, c, 1024, 700));
  EXPECT_EQ(A.runs.size(), 3u);
  text = Text(&A);
  EXPECT_NE(text.find("2 0.33333334 0.4375 -0 JTS 412.25 1.4013e-45\n2 0.33333334 0.4375 -0 JT 412.25"),
            std::string::npos) << text;
  EXPECT_NE(text.find("\nscreen 1024 700\n4 2 "), std::string::npos) << text;
  ASSERT_TRUE(ParseText(text, &B));
  EXPECT_EQ(B.version, ReplayControlsVersion);
  EXPECT_EQ(Text(&B), text);
  EXPECT_TRUE(std::signbit(B.runs[0].controls.steerY));
  EXPECT_EQ(B.runs[2].screenWidth, 1024);
  std::vector<char> room(text.size() + 1);
  EXPECT_EQ(ReplayToText(&A, room.data(), room.size()), (long)text.size());
  EXPECT_EQ(std::string(room.data()), text);
  EXPECT_EQ(ReplayToText(&A, room.data(), text.size()), -1);   // one byte short
}

TEST(Replay, MalformedTextIsRefusedAndLeavesAnEmptyReplay) {
  const char* keysHead = "tetherorb2-replay 1\nscreen 800 600\n1 0.96 R 5 5 1\n";
  const char* keysRuns[] = {
      "3 0.96 X 1 1 0\n",    "3 0.96 LL 1 1 0\n",  "3 0.1 - 1 1 0\n",     "3 2.5 - 1 1 0\n",
      "0 0.96 - 1 1 0\n",    "-4 0.96 - 1 1 0\n",  "3 0.96 - 800 1 0\n",  "3 0.96 - 1 -1 0\n",
      "3 0.96 - 1 1 2\n",    "3 0.96 - 1 1\n",     "3 0.96 - 1 1 0 junk\n", "3 nan - 1 1 0\n",
      "999999 0.96 - 1 1 0\n999999 0.96 L 1 1 0\n", "screen 640 480\n"};
  const char* controlsHead = "tetherorb2-replay 2\nscreen 800 600\n1 0.96 0.5 -1 JT 10 20\n";
  const char* controlsRuns[] = {
      "3 0.96 1.5 0 - 1 1\n", "3 0.96 0 nan - 1 1\n", "3 0.96 0 0 X 1 1\n",   "3 0.96 0 0 JJ 1 1\n",
      "3 0.96 0 0 - inf 1\n", "3 0.96 0 0 - 1\n",     "3 0.96 0 0 - 1 1 2\n", "screen 0 600\n",
      "3 0.96 R 1 1 0\n",     "3 0.1 0 0 - 1 1\n"};
  for (const char* run : keysRuns)
    EXPECT_FALSE(ParseText(std::string(keysHead) + run, &A)) << run;
  for (const char* run : controlsRuns) {
    EXPECT_FALSE(ParseText(std::string(controlsHead) + run, &A)) << run;
    EXPECT_TRUE(A.runs.empty() && A.frameCount == 0) << run;
  }
  for (const char* head : {"", "tetherorb2-replay 4\n", "tetherorb2-replay 12\n", "tetherorb2-replay \n",
                           "tetherorb2-replay 1\nscreen 0 600\n", "tetherorb2-replay 1\nscreen 800 600 9\n"})
    EXPECT_FALSE(ParseText(std::string(head) + "screen 800 600\n", &A)) << head;
  std::string longLine = std::string(keysHead) + std::string(400, '1') + " 0.96 - 1 1 0\n";
  EXPECT_FALSE(ParseText(longLine, &A));
  EXPECT_TRUE(ParseText("tetherorb2-replay 1\r\nscreen 640 480\r\n\r\n2 1 UD 639 479 0", &A));
  EXPECT_EQ(A.screenWidth, 640);
  EXPECT_EQ(A.frameCount, 2);
  EXPECT_EQ(A.runs[0].keys, replaykey_up | replaykey_down);
}

// A version 1 frame's controls: opposite keys cancel, and the tether is shot
// only in the frame its button goes down, again after it was let go.
TEST(Replay, KeysFrameShootsTheTetherOnlyAsTheButtonGoesDown) {
  UseReplayScreen(800, 600);
  ResetReplayInput();
  ApplyReplayInput(replaykey_left | replaykey_right | replaykey_jump, 10, 20, 1);
  EXPECT_TRUE(Controls.steerX == 0 && Controls.steerY == 0 && Controls.jump);
  EXPECT_TRUE(Controls.tether && Controls.tetherShot);
  EXPECT_TRUE(Controls.aimX == 10 && Controls.aimY == 20);
  ApplyReplayInput(replaykey_left | replaykey_down, 11, 21, 1);
  EXPECT_TRUE(Controls.steerX == -1 && Controls.steerY == 1 && !Controls.jump);
  EXPECT_TRUE(Controls.tether && !Controls.tetherShot);
  ApplyReplayInput(0, 11, 21, 0);
  EXPECT_FALSE(Controls.tether || Controls.tetherShot);
  ApplyReplayInput(0, 11, 21, 1);
  EXPECT_TRUE(Controls.tetherShot);
  EXPECT_EQ(AspectRatio, 800.0f / 600.0f);
}

// A 20 x 6 room: spawn on the left, finish on the right, a harmful block
// under the middle of the ceiling.
static const char* Room =
    "Room\n20\n6\n"
    "bbbbbbbbbbbbbbbbbbbb\n"
    "baaaaaaaaaaaaaaaaaab\n"
    "baaaaaaaacaaaaaaaaab\n"
    "baaaaaaaaaaaaaaaaaab\n"
    "bjaaaaaaaaaaaaaaaalb\n"
    "bbbbbbbbbbbbbbbbbbbb\n";

TEST(Replay, RunnerTellsFinishHarmTimeoutAndWritesNoBest) {
  ScratchDir scratch;
  WriteLevel(1, Room);

  ClearReplay(&A);
  AppendReplay(&A, 400, ReplayTimeScale, replaykey_right, 400, 300, 0);
  LevelBest[0] = 7;
  StartLevel(1);
  ReplayOutcome out = PlayReplay(&A);
  EXPECT_EQ(out.end, replayend_finish);
  EXPECT_GT(out.frames, 100);       // 16 cells at no more than 0.12 a frame
  EXPECT_LT(out.frames, 400);
  EXPECT_EQ(out.score, (int)ceilf(300 - out.frames * ReplayTimeScale / 6));
  EXPECT_EQ(ScreenNow(), gamestate_results);
  EXPECT_EQ(LevelBest[0], 7);
  EXPECT_NE(access("Levels/level1.score", F_OK), 0);

  ClearReplay(&A);   // jump under the harmful block
  AppendReplay(&A, 50, ReplayTimeScale, replaykey_right, 400, 300, 0);
  AppendReplay(&A, 40, ReplayTimeScale, replaykey_jump, 400, 300, 0);
  StartLevel(1);
  out = PlayReplay(&A);
  EXPECT_EQ(out.end, replayend_harmed);
  EXPECT_EQ(out.score, 0);

  ClearReplay(&A);
  AppendReplay(&A, 100, ReplayTimeScale, 0, 400, 300, 0);
  StartLevel(1);
  out = PlayReplay(&A);
  EXPECT_EQ(out.end, replayend_playing);
  EXPECT_EQ(out.frames, 100);
  AppendReplay(&A, 5000, ReplayTimeScale, 0, 400, 300, 0);
  StartLevel(1);
  out = PlayReplay(&A);
  EXPECT_EQ(out.end, replayend_timeout);
  EXPECT_NEAR(out.frames, 300 / (ReplayTimeScale / 6), 1.5);   // 1875 frames of 16 ms
  EXPECT_EQ(out.timeLeft, 0);
}

TEST(Replay, StartLevelFileLoadsAnyPathAndKeepsTheWorkingDirectory) {
  ScratchDir scratch;
  WriteFile("room.dat", Room);
  ASSERT_TRUE(StartLevelFile((scratch.path + "/room.dat").c_str()));
  EXPECT_EQ(std::filesystem::current_path(), scratch.path);
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  EXPECT_EQ(LevelWidth, 20);
  EXPECT_FLOAT_EQ(Ball.x, 1.5f);
  EXPECT_FLOAT_EQ(Ball.y, 4.5f);
  // A finish there writes no best score or ghost into ./Levels.
  std::filesystem::create_directory("Levels");
  LevelBest[0] = 0;
  for (int i = 0; i < 400 && ScreenNow() == gamestate_playing; i++) {
    ApplyReplayInput(replaykey_right, 400, 300, 0);
    UpdateGame(ReplayTimeScale);
  }
  EXPECT_EQ(JudgeFrame(), replayend_finish);
  EXPECT_TRUE(std::filesystem::is_empty("Levels"));
  EXPECT_FALSE(StartLevelFile("missing.dat"));
}

// A run played with a pad (stick strengths, the right stick's aim, the
// shoulder button's shots), at changing frame rates and through a window
// resize, is recorded as it is played; its replay text runs again to the same
// end, score and ball path, bit for bit, under either camera: the leading one
// (version 3) and the older one that replays of versions 1 and 2 were played
// with. The two cameras aim the same pointer differently, so the paths differ.
TEST(Replay, RecordedPadRunRunsAgainExactlyUnderEitherCamera) {
  ScratchDir scratch;
  WriteLevel(1, Room);
  std::vector<GhostFrame> paths[2];
  for (int leads = 0; leads < 2; leads++) {
    UseReplayScreen(800, 600);
    StartLevel(1);
    Camera.leads = leads;
    ShowScreen(gamestate_playing);
    ReleasePad();
    ResetControlsHistory();
    int frames = 0;
    for (; frames < 3000 && NextScreen() == gamestate_playing; frames++) {
      AgePad();
      ApplyPadAxis(0, 19000 + 37 * (frames % 100));     // steer right at about half strength
      ApplyPadAxis(3, 9000);                             // aim up and to the right
      ApplyPadAxis(4, -26000);
      ApplyPadButton(5, frames % 90 >= 30 && frames % 90 < 60);
      ApplyPadButton(0, frames % 70 < 4);
      if (frames == 60)
        UseReplayScreen(1024, 700);
      ReadControls(DefaultBindings);
      UpdateGame(0.5f + 0.25f * (float)(frames % 5));
    }
    ASSERT_NE(NextScreen(), gamestate_playing);
    int end = JudgeFrame(), score = ScoreFromTimer();
    float timeLeft = LevelTimer;
    std::vector<GhostFrame>& path = paths[leads];
    path.assign(GhostTake.frames.begin(), GhostTake.frames.begin() + GhostTake.frameCount);
    std::string text = RecordedReplayText();
    EXPECT_EQ(text.rfind(leads ? "tetherorb2-replay 3\n" : "tetherorb2-replay 2\n", 0), 0u) << text.substr(0, 40);
    EXPECT_NE(text.find("\nscreen 1024 700\n"), std::string::npos);
    EXPECT_NE(text.find(" JTS "), std::string::npos);
    ReleasePad();

    ASSERT_TRUE(ParseText(text, &A)) << text.substr(0, 400);
    EXPECT_EQ(A.frameCount, frames);
    StartLevel(1);
    ReplayOutcome out = PlayReplay(&A);
    EXPECT_EQ(out.end, end);
    EXPECT_EQ(out.end, replayend_finish);
    EXPECT_EQ(out.frames, frames);
    EXPECT_EQ(out.score, score);
    EXPECT_EQ(memcmp(&out.timeLeft, &timeLeft, sizeof timeLeft), 0);
    ASSERT_EQ(GhostTake.frameCount, (int)path.size());
    EXPECT_EQ(memcmp(GhostTake.frames.data(), path.data(), path.size() * sizeof(GhostFrame)), 0);
    EXPECT_STREQ(RecordedReplayText(), "");   // the run again is not recorded again
  }
  EXPECT_TRUE(paths[0].size() != paths[1].size() ||
              memcmp(paths[0].data(), paths[1].data(), paths[0].size() * sizeof(GhostFrame)) != 0);
}

// The checker program of this build (the working directory when a test
// starts); empty when it is not built here.
static std::string CheckerPath() {
  std::string path = std::filesystem::current_path() / "tetherorb2-check";
  return access(path.c_str(), X_OK) == 0 ? path : "";
}

static int RunChecker(const std::string& checker, const std::string& args, std::string* output) {
  FILE* p = popen((checker + " " + args + " 2>&1").c_str(), "r");
  char line[512];
  output->clear();
  while (fgets(line, sizeof line, p))
    *output += line;
  int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST(Checker, ShippedLevelsPassAndBrokenLevelsAreReported) {
  std::string checker = CheckerPath(), out;
  if (checker.empty())
    GTEST_SKIP() << "tetherorb2-check is not built in this build directory";
  for (int n = 1; n <= ShippedLevelCount; n++) {
    std::string level = std::string(REPO_ROOT) + "/Levels/level" + std::to_string(n) + ".dat";
    EXPECT_EQ(RunChecker(checker, level, &out), 0) << out;
    EXPECT_EQ(out.find("note"), std::string::npos) << out;
  }
  ScratchDir scratch;
  struct Broken {
    const char* text;
    const char* complaint;
  } broken[] = {
      {"Two\n6\n3\nbbbbbb\nbjjlab\nbbbbbb\n", "2 spawns"},
      {"None\n6\n3\nbbbbbb\nbaalab\nbbbbbb\n", "no spawn"},
      {"Endless\n6\n3\nbbbbbb\nbajaab\nbbbbbb\n", "no finish"},
      {"Short\n6\n4\nbbbbbb\nbjal\nbbbbbb\n", "rows are missing or shorter"},
      {"Odd\n6\n3\nbbbbbb\nbjz#lb\nbbbbbb\n", "2 characters are not letters"},
      {"Huge\n5000\n3\nbbbbbb\nbjaalb\nbbbbbb\n", "clamped"},
      {"Stuck\n7\n4\nbbbbbbb\nbabaalb\nbbjbbbb\nbbbbbbb\n", "inside solid blocks"},
      {"\n6\n3\nbbbbbb\nbjaalb\nbbbbbb\n", "title line is empty"},
  };
  for (const Broken& b : broken) {
    WriteFile("broken.dat", b.text);
    EXPECT_EQ(RunChecker(checker, "broken.dat", &out), 1) << b.text << out;
    EXPECT_NE(out.find(b.complaint), std::string::npos) << b.text << out;
  }
  EXPECT_EQ(RunChecker(checker, "missing.dat", &out), 1);
  EXPECT_EQ(RunChecker(checker, "--solve a.dat", &out), 2);
}

TEST(Checker, SolvesASmallLevelAndJudgesSolutions) {
  std::string checker = CheckerPath(), out;
  if (checker.empty())
    GTEST_SKIP() << "tetherorb2-check is not built in this build directory";
  ScratchDir scratch;
  WriteFile("room.dat", Room);
  ASSERT_EQ(RunChecker(checker, "--solve room.dat -o room.replay --seconds 60", &out), 0) << out;
  EXPECT_EQ(RunChecker(checker, "room.dat room.replay", &out), 0) << out;
  EXPECT_NE(out.find("reaches the finish"), std::string::npos) << out;

  // Improving on a slow run (a long wait, then rolling right) ends better.
  auto scoreIn = [](const std::string& text) {
    size_t at = text.find("score ");
    return at == std::string::npos ? -1 : atoi(text.c_str() + at + 6);
  };
  WriteFile("slow.replay", "tetherorb2-replay 1\nscreen 800 600\n200 0.96 - 400 300 0\n400 0.96 R 400 300 0\n");
  ASSERT_EQ(RunChecker(checker, "room.dat slow.replay", &out), 0) << out;
  int slow = scoreIn(out);
  ASSERT_EQ(RunChecker(checker, "--solve room.dat -o fast.replay --seconds 2 --improve --from slow.replay", &out), 0)
      << out;
  EXPECT_GT(scoreIn(out), slow) << out;

  // The same replay on a level with a wall in the way no longer finishes.
  WriteFile("walled.dat",
            "Walled\n20\n6\nbbbbbbbbbbbbbbbbbbbb\nbaaaaaaaaaaaabaaaaaab\nbaaaaaaaaaaaabaaaaaab\n"
            "baaaaaaaaaaaabaaaaaab\nbjaaaaaaaaaaabaaaaalb\nbbbbbbbbbbbbbbbbbbbb\n");
  EXPECT_EQ(RunChecker(checker, "walled.dat room.replay", &out), 1) << out;
  EXPECT_NE(out.find("does not reach the finish"), std::string::npos) << out;
  WriteFile("room.replay", "tetherorb2-replay 1\nscreen 800 600\n3 0.96 Q 1 1 0\n");
  EXPECT_EQ(RunChecker(checker, "room.dat room.replay", &out), 1) << out;
  EXPECT_NE(out.find("not a readable replay"), std::string::npos) << out;
}
