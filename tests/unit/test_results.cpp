// The results card: half a second without input, its sound, where Return, R
// and N lead; R in play restarting without a score.
#include <gtest/gtest.h>

#include "game/level_files.h"
#include "game/rules.h"
#include "game/run_end.h"
#include "game/sound_events.h"
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
  CheckOutcome();
  RunEnd.cardAge = finish ? 0 : ResultsInputDelay;
}

// One 60 Hz frame of the card, or of play, with the given controls pressed.
static void Frame(bool choose, bool restart, bool next, bool play = false)
{
  memset(&Controls, 0, sizeof Controls);
  Controls.menuChoose = choose, Controls.restart = restart, Controls.nextLevel = next;
  ClearSounds();
  play ? PlayFrame(1) : ResultsInput(1);
}

TEST(Results, KeysWaitHalfASecondThenLeadOnAndRestartWritesNoScore)
{
  ScratchDir scratch;
  for (int n : {1, 2, 4})   // level 3 missing
    WriteLevel(n, "Room\n8\n6\nbbbbbbbb\nbaaaaaab\nbaaaaaab\nbajaaalb\nbaaaaaab\nbbbbbbbb\n");
  LoadLevelCatalogue();
  EndLevel(2, true);
  int heard = 0;   // thirty frames of every key do nothing; the card sounds as it gets ready
  for (int f = 0; f < 30; f++, heard += CountSounds(sound_results)) {
    Frame(true, true, true);
    ASSERT_EQ(GameState, gamestate_results) << "frame " << f;
  }
  EXPECT_EQ(heard + CountSounds(sound_results), 2);   // once, in the last of them
  Frame(false, false, true);   // N: the next level there is
  EXPECT_EQ(CurrentLevel, 4);
  EndLevel(4, true);           // the last: N does nothing, R plays it again
  RunEnd.cardAge = ResultsInputDelay;
  Frame(false, false, true);
  EXPECT_EQ(GameState, gamestate_results);
  Frame(false, true, false);
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_EQ(CurrentLevel * 1000 + LevelTimer, 4000 + LevelTimeAtStart);
  EndLevel(1, false);          // no finish, no next level; Return goes to the title
  Frame(false, false, true);
  EXPECT_EQ(GameState, gamestate_results);
  Frame(true, false, false);
  EXPECT_EQ(GameState, gamestate_title);

  // R in play in the frame the ball would finish: no score, no ghost.
  ASSERT_TRUE(PlayLevel(1));
  Ball.x = 6.5f;
  Frame(false, true, false, true);
  EXPECT_EQ(GameState, gamestate_playing);
  EXPECT_LT(Ball.x, 3);
  EXPECT_EQ(ReadFile("Levels/level1.score") + ReadFile("Levels/level1.ghost"), "");
}
