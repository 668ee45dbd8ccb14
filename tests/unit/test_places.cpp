// The player's folders of the installed game: levels read from the player's
// copy before the shipped one, and saves that make the folders they need.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "game/level_files.h"
#include "game/places.h"
#include "game/world.h"
#include "test_support.h"

// Installed layout under the scratch directory; the repository layout comes back after.
struct InstalledPlaces {
  PlacesRecord saved = Places;
  InstalledPlaces()
  {
    snprintf(Places.shippedLevels, PlaceSize, "%s", "data/Levels");
    snprintf(Places.userLevels, PlaceSize, "%s", "home/a/b/Levels");
    Places.makeFolders = true;
  }
  ~InstalledPlaces() { Places = saved; }
};

TEST(Places, PlayerCopyReplacesTheShippedLevelAndSavesMakeTheirFolders)
{
  ScratchDir dir;
  InstalledPlaces places;
  WriteFile("data/Levels/level1.dat", "Shipped\n2\n1\nbb\n");
  WriteFile("data/Levels/level2.dat", "Two\n1\n1\nb\n");
  LoadLevelCatalogue();
  EXPECT_STREQ("Shipped\n", LevelTitles[0]);
  EXPECT_EQ(2, HighestLevel);

  CurrentLevel = 1;
  LoadLevel(1);
  ASSERT_TRUE(SaveLevel());                 // makes home/a/b/Levels
  ASSERT_TRUE(SaveBest(1, 123));
  EXPECT_EQ(ReadFile("data/Levels/level1.dat"), "Shipped\n2\n1\nbb\n");
  WriteFile("home/a/b/Levels/level1.dat", "Mine\n1\n1\nl\n");
  WriteFile("home/a/b/Levels/level2.dat/x", "");   // a folder in a level's place
  LoadLevelCatalogue();
  EXPECT_STREQ("Mine\n", LevelTitles[0]);
  EXPECT_STREQ("Two\n", LevelTitles[1]);
  EXPECT_EQ(123, LevelBest[0]);

  // A file where a folder must go: the save fails and leaves the file alone.
  std::filesystem::remove_all("home");
  WriteFile("home/a", "file");
  EXPECT_FALSE(SaveBest(1, 7));
  EXPECT_EQ("file", ReadFile("home/a"));
}

TEST(Places, RepositoryLayoutMakesNoFolder)
{
  ScratchDir dir;
  EXPECT_FALSE(Places.makeFolders);
  EXPECT_FALSE(SaveBest(1, 5));
  struct stat st;
  EXPECT_NE(0, stat("Levels", &st));
}
