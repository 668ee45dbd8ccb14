// Replays: the text form, the input they feed the game, the runner's verdict,
// and the level checker built on them.
#include "app/host.h"
#include "app/input.h"
#include "app/video.h"
#include "game/level_files.h"
#include "game/replay.h"
#include "game/update.h"
#include "game/world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

static Replay A, B;

static bool ParseText(const char* text, Replay* r) {
  FILE* f = tmpfile();
  fputs(text, f);
  rewind(f);
  bool ok = ReadReplay(f, r);
  fclose(f);
  return ok;
}

static bool SameReplay(const Replay* a, const Replay* b) {
  if (a->screenWidth != b->screenWidth || a->screenHeight != b->screenHeight || a->runCount != b->runCount ||
      a->frameCount != b->frameCount)
    return false;
  for (int i = 0; i < a->runCount; i++)
    if (memcmp(&a->runs[i], &b->runs[i], sizeof(ReplayRun)) != 0)
      return false;
  return true;
}

TEST(Replay, TextFormRoundTripsExactlyAndMergesEqualFrames) {
  ClearReplay(&A);
  ASSERT_TRUE(AppendReplay(&A, 3, ReplayTimeScale, replaykey_right | replaykey_jump, 799, 0, 1));
  ASSERT_TRUE(AppendReplay(&A, 2, ReplayTimeScale, replaykey_right | replaykey_jump, 799, 0, 1));
  ASSERT_TRUE(AppendReplay(&A, 1, 1.0f / 3.0f, 0, 400, 300, 0));
  ASSERT_TRUE(AppendReplay(&A, 7, 2.0f, replaykey_all, 0, 599, 0));
  EXPECT_EQ(A.runCount, 3);
  EXPECT_EQ(A.frameCount, 13);
  EXPECT_EQ(A.runs[0].frames, 5);
  EXPECT_FALSE(AppendReplay(&A, 0, ReplayTimeScale, 0, 0, 0, 0));

  FILE* f = tmpfile();
  ASSERT_TRUE(WriteReplay(f, &A));
  rewind(f);
  char text[512] = {};
  fread(text, 1, sizeof text - 1, f);
  EXPECT_NE(strstr(text, "5 0.96 RJ 799 0 1\n"), nullptr) << text;
  EXPECT_NE(strstr(text, " - 400 300 0\n"), nullptr) << text;
  rewind(f);
  ASSERT_TRUE(ReadReplay(f, &B));
  fclose(f);
  EXPECT_TRUE(SameReplay(&A, &B));
  EXPECT_EQ(B.runs[1].timeScale, 1.0f / 3.0f);   // floats survive the text form bit for bit
}

TEST(Replay, MalformedTextIsRefusedAndLeavesAnEmptyReplay) {
  const char* head = "tetherorb2-replay 1\nscreen 800 600\n";
  const char* badRuns[] = {
      "3 0.96 X 1 1 0\n",    "3 0.96 LL 1 1 0\n",  "3 0.1 - 1 1 0\n",     "3 2.5 - 1 1 0\n",
      "0 0.96 - 1 1 0\n",    "-4 0.96 - 1 1 0\n",  "3 0.96 - 800 1 0\n",  "3 0.96 - 1 -1 0\n",
      "3 0.96 - 1 1 2\n",    "3 0.96 - 1 1\n",     "3 0.96 - 1 1 0 junk\n", "3 nan - 1 1 0\n",
      "999999 0.96 - 1 1 0\n999999 0.96 L 1 1 0\n"};
  for (const char* run : badRuns) {
    std::string text = std::string(head) + "1 0.96 R 5 5 1\n" + run;
    EXPECT_FALSE(ParseText(text.c_str(), &A)) << run;
    EXPECT_EQ(A.runCount, 0) << run;
    EXPECT_EQ(A.frameCount, 0) << run;
  }
  EXPECT_FALSE(ParseText("", &A));
  EXPECT_FALSE(ParseText("tetherorb2-replay 2\nscreen 800 600\n", &A));
  EXPECT_FALSE(ParseText("tetherorb2-replay 1\nscreen 0 600\n", &A));
  EXPECT_FALSE(ParseText("tetherorb2-replay 1\nscreen 800 600 9\n", &A));
  std::string longLine = std::string(head) + std::string(400, '1') + " 0.96 - 1 1 0\n";
  EXPECT_FALSE(ParseText(longLine.c_str(), &A));
  EXPECT_TRUE(ParseText("tetherorb2-replay 1\r\nscreen 640 480\r\n\r\n2 1 UD 639 479 0", &A));
  EXPECT_EQ(A.screenWidth, 640);
  EXPECT_EQ(A.frameCount, 2);
  EXPECT_EQ(A.runs[0].keys, replaykey_up | replaykey_down);
}

TEST(Replay, InputGoesDownAsPressedThenHeldThenUp) {
  ClearReplay(&A);
  UseReplayScreen(&A);
  ResetReplayInput();
  InputState.KeyState[KeyA] = InputHeld;   // a key no replay touches
  ApplyReplayInput(replaykey_left | replaykey_jump, 10, 20, 1);
  EXPECT_EQ(InputState.KeyState[KeyLeft], InputPressed);
  EXPECT_EQ(InputState.KeyState[KeySpace], InputPressed);
  EXPECT_EQ(InputState.KeyState[KeyRight], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputPressed);
  EXPECT_EQ(InputState.MouseX, 10);
  EXPECT_EQ(InputState.MouseY, 20);
  ApplyReplayInput(replaykey_left | replaykey_down, 11, 21, 1);
  EXPECT_EQ(InputState.KeyState[KeyLeft], InputHeld);
  EXPECT_EQ(InputState.KeyState[KeyDown], InputPressed);
  EXPECT_EQ(InputState.KeyState[KeySpace], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputHeld);
  ApplyReplayInput(0, 11, 21, 0);
  EXPECT_EQ(InputState.KeyState[KeyLeft], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputUp);
  EXPECT_EQ(InputState.KeyState[KeyA], InputHeld);
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
  EXPECT_EQ(GameState, gamestate_results);
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
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(LevelWidth, 20);
  EXPECT_FLOAT_EQ(Ball.x, 1.5f);
  EXPECT_FLOAT_EQ(Ball.y, 4.5f);
  // A finish there writes no best score or ghost into ./Levels.
  std::filesystem::create_directory("Levels");
  LevelBest[0] = 0;
  for (int i = 0; i < 400 && GameState == gamestate_playing; i++) {
    ApplyReplayInput(replaykey_right, 400, 300, 0);
    UpdateGame(ReplayTimeScale);
  }
  EXPECT_EQ(JudgeFrame(), replayend_finish);
  EXPECT_TRUE(std::filesystem::is_empty("Levels"));
  EXPECT_FALSE(StartLevelFile("missing.dat"));
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
