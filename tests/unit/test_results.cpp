// The results card: half a second without input, its sound, where Return, R
// and N lead (jumping leads nowhere); R in play restarting without a score.
#include <gtest/gtest.h>

#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/lobby/online_play.h"
#include "game/run/rules.h"
#include "game/run/run_end.h"
#include "play_setup.h"
#include "test_support.h"
#include "ui/results.h"
#include "ui/run_flow.h"

// Level n started, then ended on its finish (x 6.5) or by time-out.
static void EndLevel(int n, bool finish)
{
  ASSERT_TRUE(PlayLevel(n));
  Ball.x = finish ? 6.5f : 2.5f;
  LevelTimer = finish ? 123.4f : 0;
  RecordGhostFrame(1);
  ClearSounds();
  CheckOutcome();
  RunEnd.cardAge = finish ? 0 : ResultsInputDelay;
}

// One 60 Hz frame of the card, or of play, with the given controls pressed.
static void Frame(bool choose, bool restart, bool next, bool play = false)
{
  memset(&Controls, 0, sizeof Controls);
  Controls.cardLeave = choose, Controls.restart = restart, Controls.nextLevel = next;
  Controls.jump = Controls.menuChoose = true;   // jumping all the while
  ClearSounds();
  play ? PlayFrame(16) : ResultsInput(1);
}

TEST(Results, KeysWaitHalfASecondThenLeadOnAndRestartWritesNoScore)
{
  ScratchDir scratch;
  for (int n : {1, 2, 4})   // level 3 has no spawn, so N passes it over
    WriteLevel(n, "Room\n8\n6\nbbbbbbbb\nbaaaaaab\nbaaaaaab\nbajaaalb\nbaaaaaab\nbbbbbbbb\n");
  WriteLevel(3, "Empty\n2\n1\nal\n");
  LoadLevelCatalogue();
  EndLevel(2, true);
  int heard = 0;   // thirty frames of every key do nothing; the card sounds as it gets ready
  for (int f = 0; f < 30; f++, heard += CountSounds(sound_results)) {
    Frame(true, true, true);
    ASSERT_EQ(ScreenNow(), gamestate_results) << "frame " << f;
  }
  EXPECT_EQ(heard + CountSounds(sound_results), 2);   // once, in the last of them
  Frame(false, false, true);   // N: the next level there is
  EXPECT_EQ(CurrentLevel, 4);
  EndLevel(4, true);           // the last: N does nothing, R plays it again
  RunEnd.cardAge = ResultsInputDelay;
  Frame(false, false, true);
  EXPECT_EQ(ScreenNow(), gamestate_results);
  Frame(false, true, false);
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  EXPECT_EQ(CurrentLevel * 1000 + LevelTimer, 4000 + LevelTimeAtStart);
  EndLevel(1, false);          // no finish, no next level; Return goes to the title
  Frame(false, false, true);
  EXPECT_EQ(ScreenNow(), gamestate_results);
  Frame(true, false, false);
  EXPECT_EQ(ScreenNow(), gamestate_title);

  // R in play in the frame the ball would finish: no score, no ghost.
  ASSERT_TRUE(PlayLevel(1));
  Ball.x = 6.5f;
  Frame(false, true, false, true);
  EXPECT_EQ(ScreenNow(), gamestate_playing);
  EXPECT_LT(Ball.x, 3);
  EXPECT_EQ(ReadFile("Levels/level1.score") + ReadFile("Levels/level1.ghost"), "");
}

// A best that cannot be saved says why, without the fanfare; a higher best
// that another copy of the game saved meanwhile stands, with its ghost.
TEST(Results, UnsavedBestSaysWhyAndAHigherBestOnDiskStands)
{
  ScratchDir scratch;
  WriteLevel(1, "Room\n8\n6\nbbbbbbbb\nbaaaaaab\nbaaaaaab\nbajaaalb\nbaaaaaab\nbbbbbbbb\n");
  LoadLevelCatalogue();
  EndLevel(1, false);
  EXPECT_STREQ(ResultsBestLine(), "No best yet");
  std::filesystem::create_directory("Levels/level1.score");
  EndLevel(1, true);
  EXPECT_STREQ(ResultsSaveNote(), "Not saved: a folder stands in the file's place");
  EXPECT_EQ(CountSounds(sound_best) * 10 + CountSounds(sound_save_failed), 1);
  std::filesystem::remove("Levels/level1.score");
  WriteFile("Levels/level1.score", std::string("\xc8\0\0\0", 4));   // 200
  WriteFile("Levels/level1.ghost", "its run");
  EndLevel(1, true);
  EXPECT_STREQ(ResultsBestLine(), "Best score 200");
  EXPECT_EQ(ReadFile("Levels/level1.score") + ReadFile("Levels/level1.ghost"), std::string("\xc8\0\0\0its run", 11));
}

// A hub level's assisted finish is kept apart from its best, with no ghost.
TEST(Results, AssistedHubFinishKeepsItsBestApart)
{
  ScratchDir scratch;
  WriteFile("Levels/hub/abcdefghijklmnop.dat", "");
  snprintf(HubPlay.id, sizeof HubPlay.id, "abcdefghijklmnop");
  HubPlay.active = true, CurrentLevel = 0, RunEnd.outcome = runend_finished;
  BeginGhostRun(0, 4);
  RecordGhostFrame(1);   // a run with a path to keep
  for (bool assisted : {true, false}) {
    RunEnd.timeLeft = assisted ? 200 : 100, RunEnd.assisted = assisted, KeepHubBest();
    EXPECT_TRUE(RunEnd.newBest && RunEnd.best == RunEnd.timeLeft && HubLevelBest(HubPlay.id) == 100 * !assisted);
    EXPECT_EQ(ReadFile("Levels/hub/abcdefghijklmnop.ghost").empty(), assisted);
  }
  HubPlay.active = false;
}
