// The results card: its half second without input, its sound, where Return,
// R and N lead; R in play restarting without a score.
#include <gtest/gtest.h>

#include "game/level_files.h"
#include "game/rules.h"
#include "game/run_end.h"
#include "game/sound_events.h"
#include "play_setup.h"
#include "test_support.h"
#include "ui/results.h"
#include "ui/run_flow.h"

namespace {

// Levels 1, 2 and 4 on disk, level 3 missing.
void WriteLevels()
{
  for (int n : {1, 2, 4})
    WriteLevel(n, "Room\n8\n6\nbbbbbbbb\nbaaaaaab\nbaaaaaab\nbajaaalb\nbaaaaaab\nbbbbbbbb\n");
  LoadLevelCatalogue();
}

// Level n started, then ended on its finish (x 6.5) or by time-out.
void EndLevel(int n, bool finish)
{
  ASSERT_TRUE(PlayLevel(n));
  Ball.x = finish ? 6.5f : 2.5f;
  LevelTimer = finish ? 123.4f : 0;
  CheckOutcome();
  ASSERT_EQ(RunEnd.outcome, finish ? runend_finished : runend_timeup);
}

// One card frame at t = 1 with the given controls pressed.
void CardFrame(bool choose, bool restart, bool next)
{
  memset(&Controls, 0, sizeof Controls);
  Controls.menuChoose = choose, Controls.restart = restart, Controls.nextLevel = next;
  ClearSounds();
  ResultsInput(1);
}

}  // namespace

TEST(Results, KeysWaitHalfASecondThenReturnRAndNLeadOn)
{
  ScratchDir scratch;
  WriteLevels();
  EndLevel(2, true);
  EXPECT_TRUE(RunEnd.newBest);
  int heard = 0;   // thirty 60 Hz frames of every key do nothing; the card sounds as it gets ready
  for (int f = 0; f < 30; f++, heard += CountSounds(sound_results)) {
    CardFrame(true, true, true);
    ASSERT_EQ(GameState, gamestate_results) << "frame " << f;
  }
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(CountSounds(sound_results), 1);
  CardFrame(false, false, true);   // N: the next level there is, past the missing 3
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(CurrentLevel, 4);

  EndLevel(4, true);   // the last level: N does nothing, R plays it again
  RunEnd.cardAge = ResultsInputDelay;
  CardFrame(false, false, true);
  EXPECT_EQ(GameState, gamestate_results);
  CardFrame(false, true, false);
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(CurrentLevel, 4);
  EXPECT_EQ(LevelTimer, LevelTimeAtStart);

  EndLevel(1, false);   // no finish, no next level; Return goes to the title
  RunEnd.cardAge = ResultsInputDelay;
  CardFrame(false, false, true);
  EXPECT_EQ(GameState, gamestate_results);
  CardFrame(true, false, false);
  EXPECT_EQ(GameState, gamestate_title);
}

// R in the frame the ball would reach the finish: the level starts over and
// the abandoned run writes neither score nor ghost.
TEST(Results, RestartInPlayWritesNoScore)
{
  ScratchDir scratch;
  WriteLevels();
  ASSERT_TRUE(PlayLevel(1));
  float spawnX = Ball.x;
  Ball.x = 6.5f;
  memset(&Controls, 0, sizeof Controls);
  Controls.restart = true;
  PlayFrame(1);
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_NEAR(Ball.x, spawnX, 0.1f);
  EXPECT_EQ(LevelBest[0], 0);
  EXPECT_EQ(ReadFile("Levels/level1.score") + ReadFile("Levels/level1.ghost"), "");
}
