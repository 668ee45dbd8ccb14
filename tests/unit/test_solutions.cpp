// The shipped levels: each one's committed solution still reaches the finish
// before the timer runs out, and the set as a whole uses every cell type.
#include "game/level_files.h"
#include "game/replay.h"
#include "game/world.h"

#include <gtest/gtest.h>

#include <cstdio>

static Replay Solution;

TEST(Solutions, EveryShippedLevelIsFinishedByItsReplay) {
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
    ReplayOutcome out = PlayReplay(&Solution);
    EXPECT_EQ(out.end, replayend_finish) << "level " << n << " ended by " << ReplayEndName(out.end)
                                         << " after " << out.frames << " frames";
    EXPECT_GT(out.timeLeft, 0) << "level " << n;
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
