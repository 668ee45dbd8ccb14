// The player's folders of the installed game: levels read from the player's
// copy before the shipped one, and saves that make the folders they need.
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

#include "game/base/file_save.h"
#include "game/base/places.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/play/world.h"
#include "platform/paths.h"
#include "test_support.h"
#include "ui/level_note.h"

// Installed layout under the scratch directory; the repository layout comes back after.
struct InstalledPlaces {
  PlacesRecord saved = Places;
  InstalledPlaces()
  {
    snprintf(Places.shippedLevels, PathSize, "%s", "data/Levels");
    snprintf(Places.userLevels, PathSize, "%s", "home/a/b/Levels");
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

// A relative folder name of exactly length bytes, in parts the system takes.
static std::string FolderOfLength(size_t length)
{
  std::string folder;
  while (folder.size() + 101 < length)
    folder += std::string(100, 'f') + "/";
  return folder + std::string(length - folder.size(), 'f');
}

// A level's file names that fill a path exactly are built whole; a byte more is refused, and a read and save say why.
TEST(Places, PathsThatDoNotFitAreRefusedNeverCut)
{
  ScratchDir dir;
  InstalledPlaces places;
  struct { bool (*build)(PathBuffer&, int); const char* name; } names[] = {
    {ScoreFileName, "/level1.score"}, {GhostFileName, "/level1.ghost"},
    {LevelFileName, "/level1.dat"}, {ShippedOrUserLevelName, "/level1.dat"}};
  for (const auto& n : names) {
    std::string folder = FolderOfLength(PathSize - 1 - strlen(n.name));
    snprintf(Places.userLevels, PathSize, "%s", folder.c_str());
    snprintf(Places.shippedLevels, PathSize, "%s", folder.c_str());
    PathBuffer path;
    EXPECT_TRUE(n.build(path, 1) && path == folder + n.name) << n.name;
    EXPECT_FALSE(n.build(path, 10) || path[0]) << n.name;   // "level10" is one byte longer
  }
  CurrentLevel = 10;
  EXPECT_FALSE(SaveLevel());
  EXPECT_STREQ("the folder's path is too long", SaveFailureReason(LastSaveError));
  EXPECT_FALSE(LevelReadyToStart(10));
  EXPECT_STREQ("Level 10 cannot be read: its folder's path is too long", LevelNote);
  EXPECT_FALSE(std::filesystem::exists("fff"));   // nothing was made on the way to a cut name
}

// Two levels' ghosts in a folder longer than any one name's part keep a file each.
TEST(Places, GhostsOfTwoLevelsInALongFolderKeepAFileEach)
{
  ScratchDir dir;
  InstalledPlaces places;
  std::string folder = FolderOfLength(300);
  snprintf(Places.userLevels, PathSize, "%s", folder.c_str());
  for (int n = 1; n <= 2; n++) {
    BeginGhostRun(n, GhostFramesFor(0)), Ball.x = (float)n, RecordGhostFrame(1);
    EXPECT_TRUE(SaveGhost(n));
  }
  std::string one = ReadFile(folder + "/level1.ghost"), two = ReadFile(folder + "/level2.ghost");
  EXPECT_TRUE(one.size() == GhostHeaderBytes + GhostFrameBytes && two.size() == one.size() && one != two);
}

// $XDG_DATA_HOME as long as leaves room for the game's names is used; a byte more gives way to the home folder's.
TEST(Places, TooLongADataFolderGivesWayToTheHomeFolder)
{
  InstalledPlaces places;
  std::string home = getenv("HOME") ? getenv("HOME") : "";
  setenv("HOME", "/home/p", 1);
  std::string data = "/" + std::string(PathSize - PathNameRoom - 2 - strlen("/tetherorb2"), 'd');
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  ChoosePlayerFolders();
  EXPECT_EQ(data + "/tetherorb2/Levels", Places.userLevels);
  setenv("XDG_DATA_HOME", (data + "d").c_str(), 1);
  testing::internal::CaptureStderr();
  ChoosePlayerFolders();
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("$XDG_DATA_HOME is too long"));
  EXPECT_STREQ("/home/p/.local/share/tetherorb2/Levels", Places.userLevels);
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_DATA_HOME");
}
