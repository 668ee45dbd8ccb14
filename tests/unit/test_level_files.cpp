// Level and score files: the catalogue, the reader's repairs, the round trip
// through SaveLevel, and saves that cannot complete.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "game/files/level_files.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

const int Canary = maptype_gravityup;

// Reads bytes as a level file over a grid full of Canary, and checks that
// nothing outside the W x H rectangle was written and all cells are 0..11.
LevelRepairs ReadOverCanary(const std::string& bytes, char* title)
{
  for (int i = 0; i < MapSize * MapSize; i++)
    MapGrid[i] = Canary;
  LevelRepairs repairs;
  FILE* f = tmpfile();
  fwrite(bytes.data(), 1, bytes.size(), f);
  rewind(f);
  ReadLevelStream(f, title, &repairs);
  fclose(f);
  EXPECT_GE(LevelWidth, 0);
  EXPECT_LE(LevelWidth, MaxLevelWidth);
  EXPECT_GE(LevelHeight, 0);
  EXPECT_LE(LevelHeight, MaxLevelHeight);
  int outsideWritten = 0, outOfRange = 0;
  for (int x = 0; x < MapSize; x++) {
    for (int y = 0; y < MapSize; y++) {
      int v = MapGrid[x * MapSize + y];
      if (v < 0 || v >= MapTypeCount)
        outOfRange++;
      if ((x >= LevelWidth || y >= LevelHeight) && v != Canary)
        outsideWritten++;
    }
  }
  EXPECT_EQ(outOfRange, 0);
  EXPECT_EQ(outsideWritten, 0);
  size_t len = strlen(title);
  EXPECT_GE(len, 1u);
  EXPECT_LE(len, (size_t)TitleSlotSize - 1);
  EXPECT_EQ(title[len - 1], '\n');
  EXPECT_EQ(strchr(title, '\n'), title + len - 1);
  return repairs;
}

TEST(LevelFiles, CatalogueWithGapsAndShortScoreFiles)
{
  ScratchDir scratch;
  WriteLevel(1, "First\n1\n1\nj\n");
  WriteLevel(2, "Second\n1\n1\nj\n");
  WriteLevel(5, "Fifth\n1\n1\nj\n");
  WriteFile("Levels/level1.score", std::string("\x0a\x01\x00\x00", 4));
  WriteFile("Levels/level2.score", std::string("\x0a\x01", 2));
  WriteFile("Levels/level5.score", "");
  WriteFile("Levels/level3.score", std::string("\x04\x03\x02\x01", 4));
  WriteFile("Levels/level4.score", std::string("\xfe\xff\xff\xff", 4));
  LevelBest[5] = 99;
  strcpy(LevelTitles[2], "Kept\n");

  LoadLevelCatalogue();

  EXPECT_EQ(HighestLevel, 5);
  for (int n = 1; n <= MaxLevels; n++)
    EXPECT_EQ(LevelExists[n - 1], n == 1 || n == 2 || n == 5) << "level " << n;
  EXPECT_STREQ(LevelTitles[0], "First\n");
  EXPECT_STREQ(LevelTitles[4], "Fifth\n");
  EXPECT_STREQ(LevelTitles[2], "Kept\n");
  const int best[6] = {266, 266, 0x01020304, -2, 0, 0};
  for (int i = 0; i < 6; i++)
    EXPECT_EQ(LevelBest[i], best[i]) << "level " << i + 1;

  fs::remove_all("Levels");
  LoadLevelCatalogue();
  EXPECT_EQ(HighestLevel, 0);
  EXPECT_FALSE(LevelExists[0]);
}

TEST(LevelFiles, TitleSlotIsCutAndAlwaysEndsInLineFeed)
{
  ScratchDir scratch;
  WriteLevel(1, std::string(300, 'x') + "\n3\n1\nbbb\n");
  WriteLevel(2, "No line feed");
  WriteLevel(3, "");
  WriteLevel(4, std::string(254, 'y') + "\n1\n1\nb\n");
  WriteLevel(5, std::string("Nul\0led\r\n1\n1\nb\n", 15));
  LoadLevelCatalogue();
  EXPECT_EQ(std::string(LevelTitles[0]), std::string(254, 'x') + "\n");
  EXPECT_STREQ(LevelTitles[1], "No line feed\n");
  EXPECT_STREQ(LevelTitles[2], "\n");
  EXPECT_EQ(std::string(LevelTitles[3]), std::string(254, 'y') + "\n");
  EXPECT_STREQ(LevelTitles[4], "Nulled\n");

  // The cut title's rest does not spill into the size lines.
  StartLevel(1);
  EXPECT_EQ(LevelWidth, 3);
  EXPECT_EQ(LevelHeight, 1);
  EXPECT_EQ(CellAt(2, 0), maptype_blocknormal);
}

TEST(LevelFiles, LoadSaveLoadRoundTrip)
{
  ScratchDir scratch;
  const std::string ring = "Ring of stones\n4\n3\nbbbb\nbjlb\nbcdb\n";
  const std::string every = "Every cell\n12\n2\nabcdefghijkl\nlkjihgfedcba\n";
  WriteLevel(1, ring);
  WriteLevel(2, every);
  WriteLevel(3, "Loose\n5.0\n2.9\nbbbbbzz\nbbbbb\n");
  LoadLevelCatalogue();

  StartLevel(1);
  EXPECT_EQ(CellAt(1, 1), maptype_playerspawn);
  EXPECT_EQ(CellAt(1, 2), maptype_blockharmful);
  EXPECT_TRUE(SaveLevel());
  EXPECT_EQ(ReadFile("Levels/level1.dat"), ring);

  StartLevel(2);
  for (int x = 0; x < 12; x++) {
    EXPECT_EQ(CellAt(x, 0), x);
    EXPECT_EQ(CellAt(x, 1), 11 - x);
  }
  EXPECT_TRUE(SaveLevel());
  EXPECT_EQ(ReadFile("Levels/level2.dat"), every);

  StartLevel(3);
  EXPECT_TRUE(SaveLevel());
  EXPECT_EQ(ReadFile("Levels/level3.dat"), "Loose\n5\n2\nbbbbb\nbbbbb\n");

  // An edit survives a save and a fresh start.
  SetCell(0, 0, maptype_finish);
  EXPECT_TRUE(SaveLevel());
  StartLevel(3);
  EXPECT_EQ(CellAt(0, 0), maptype_finish);
  EXPECT_EQ(TempFilesOf("Levels/level3.dat"), 0);

  // Scores: four little-endian bytes, read back by the catalogue.
  EXPECT_TRUE(SaveBest(3, 300));
  EXPECT_EQ(ReadFile("Levels/level3.score"), std::string("\x2c\x01\x00\x00", 4));
  EXPECT_TRUE(SaveBest(3, -2));
  EXPECT_TRUE(SaveBest(15, INT_MAX));
  LoadLevelCatalogue();
  EXPECT_EQ(LevelBest[2], -2);
  EXPECT_EQ(LevelBest[14], INT_MAX);
  EXPECT_EQ(TempFilesOf("Levels/level3.score"), 0);
  PathBuffer name;
  EXPECT_TRUE(LevelFileName(name, 12));
  EXPECT_STREQ(name, "Levels/level12.dat");
  EXPECT_TRUE(ScoreFileName(name, 7));
  EXPECT_STREQ(name, "Levels/level7.score");
}

TEST(LevelFiles, BadSizesAreClampedAndRowsRepaired)
{
  char title[TitleSlotSize];
  LevelRepairs r = ReadOverCanary("t\n2000\n2\n", title);
  EXPECT_EQ(LevelWidth, MaxLevelWidth);
  EXPECT_EQ(LevelHeight, 2);
  EXPECT_TRUE(r.sizeClamped);
  EXPECT_EQ(r.shortRows, 2);
  EXPECT_EQ(CellAt(MaxLevelWidth - 1, 1), maptype_nothing);

  r = ReadOverCanary("t\n3\n5000\nbbb\n", title);
  EXPECT_EQ(LevelHeight, MaxLevelHeight);
  EXPECT_EQ(r.shortRows, MaxLevelHeight - 1);
  EXPECT_EQ(CellAt(1, 0), maptype_blocknormal);
  EXPECT_EQ(CellAt(1, 999), maptype_nothing);

  // Negative, non-numeric and NaN sizes give 0; infinity is clamped.
  const char* const zeroWidth[] = {"t\n-4\n-1e9\nbbb\n", "t\nabc\n3\nbbb\n", "t\nnan\ninf\n"};
  for (const char* text : zeroWidth) {
    r = ReadOverCanary(text, title);
    EXPECT_EQ(LevelWidth, 0) << text;
    EXPECT_TRUE(r.sizeClamped) << text;
  }
  EXPECT_EQ(LevelHeight, MaxLevelHeight);

  r = ReadOverCanary("t\n3.9\n3.7\nbbb\n", title);
  EXPECT_EQ(LevelWidth, 3);
  EXPECT_EQ(LevelHeight, 3);
  EXPECT_FALSE(r.sizeClamped);
  EXPECT_EQ(r.shortRows, 2);

  const char bad[] = "t\n4\n3\nbzA\x01\nb\nb\xff\0c\n";
  r = ReadOverCanary(std::string(bad, sizeof(bad) - 1), title);
  EXPECT_EQ(r.badCharacters, 5);
  EXPECT_EQ(r.shortRows, 1);
  EXPECT_EQ(CellAt(0, 0), maptype_blocknormal);
  EXPECT_EQ(CellAt(1, 0), maptype_nothing);
  EXPECT_EQ(CellAt(3, 0), maptype_nothing);
  EXPECT_EQ(CellAt(1, 1), maptype_nothing);
  EXPECT_EQ(CellAt(3, 2), maptype_blockharmful);
}

TEST(LevelFiles, LongLinesCrLfEmptyAndGarbage)
{
  char title[TitleSlotSize];
  // Lines longer than the read buffer do not shift the lines after them.
  LevelRepairs r = ReadOverCanary(std::string(1500, 'T') + "\n3\n2\n" + std::string(1500, 'c') + "\nbdb\n", title);
  EXPECT_TRUE(r.titleCut);
  EXPECT_EQ(strlen(title), 255u);
  EXPECT_EQ(LevelHeight, 2);
  EXPECT_EQ(CellAt(2, 0), maptype_blockharmful);
  EXPECT_EQ(CellAt(1, 1), maptype_blocknoswing);
  EXPECT_EQ(r.badCharacters + r.shortRows, 0);

  r = ReadOverCanary("Ring\r\n3\r\n2\r\nbcd\r\nefg\r\n", title);
  EXPECT_STREQ(title, "Ring\n");
  EXPECT_EQ(LevelWidth, 3);
  EXPECT_EQ(LevelHeight, 2);
  EXPECT_EQ(CellAt(2, 1), maptype_gravityleft);
  EXPECT_EQ(r.badCharacters + r.shortRows, 0);

  ReadOverCanary("", title);
  EXPECT_STREQ(title, "\n");
  EXPECT_EQ(LevelWidth + LevelHeight, 0);
  ReadOverCanary("Only a title", title);
  EXPECT_STREQ(title, "Only a title\n");

  unsigned seed = 12345;
  for (int round = 0; round < 20; round++) {
    std::string garbage = "g\n" + std::to_string(round * 50) + "\n" + std::to_string(round * 37) + "\n";
    for (int i = 0; i < 4000; i++) {
      seed = seed * 1103515245u + 12345u;
      garbage += (char)(seed >> 16);
    }
    ReadOverCanary(garbage, title);
  }
  // A long UTF-8 title keeps whole characters: a two-byte one that would
  // straddle the 254-byte limit goes, and one that ends on it stays.
  std::string letters;
  for (int i = 0; i < 200; i++)
    letters += "\xC3\xA9";
  r = ReadOverCanary("a" + letters + "\n1\n1\nb\n", title);
  EXPECT_TRUE(r.titleCut && strlen(title) == 254u);
  r = ReadOverCanary(letters + "\n1\n1\nb\n", title);
  EXPECT_EQ(std::string(title), letters.substr(0, 254) + "\n");
}

TEST(LevelFiles, FailedSavesLeaveTheOldFileWhole)
{
  ScratchDir scratch;
  WriteLevel(1, "Old\n2\n1\nbb\n");
  LoadLevelCatalogue();
  StartLevel(1);

  // The file is written but cannot replace the target: the temporary goes.
  fs::create_directory("Levels/level2.dat");
  CurrentLevel = 2;
  EXPECT_FALSE(SaveLevel());
  EXPECT_TRUE(fs::is_directory("Levels/level2.dat"));
  EXPECT_EQ(TempFilesOf("Levels/level2.dat"), 0);
  CurrentLevel = 1;

  // Levels is a file, not a folder.
  fs::remove_all("Levels");
  WriteFile("Levels", "not a folder");
  EXPECT_FALSE(SaveLevel());
  EXPECT_FALSE(SaveBest(1, 500));
  EXPECT_EQ(ReadFile("Levels"), "not a folder");
}

// Only where the folder refuses new files is a file written in place (a folder
// the player may not write is in the window tests, as root passes it); a
// replaced file keeps its bits; a symbolic link stays and its target is written.
TEST(LevelFiles, SavesWriteInPlaceKeepTheirBitsAndFollowLinks)
{
  ScratchDir scratch;
  const std::string saved = "Old\n2\n1\nlb\n";
  WriteLevel(1, "Old\n2\n1\nbb\n");
  LoadLevelCatalogue();
  StartLevel(1);
  SetCell(0, 0, maptype_finish);
  {
    FileSizeLimit full(4);   // the temporary file cannot take the level: no save, none left behind
    EXPECT_FALSE(SaveLevel());
  }
  EXPECT_EQ(ReadFile("Levels/level1.dat"), "Old\n2\n1\nbb\n");
  EXPECT_EQ(TempFilesOf("Levels/level1.dat"), 0);
  const std::string longName(252, 'n');   // too long a name once ".tmp" is added
  WriteFile(longName, "old");
  EXPECT_FALSE(SaveFileBytes(longName.c_str(), (const unsigned char*)"new", 3) || ReadFile(longName) != "old");
  EXPECT_TRUE(SaveLevel());
  EXPECT_EQ(ReadFile("Levels/level1.dat"), saved);

  const fs::perms bits = fs::perms::owner_all | fs::perms::group_exec;   // never a new file's default
  fs::permissions("Levels/level1.dat", bits);
  EXPECT_TRUE(SaveLevel());
  EXPECT_EQ(fs::status("Levels/level1.dat").permissions() & fs::perms::all, bits);

  WriteFile("Store/mine.dat", "mine");
  fs::remove("Levels/level1.dat");
  fs::create_symlink("../Store/mine.dat", "Levels/level1.dat");
  EXPECT_TRUE(SaveLevel() && fs::is_symlink("Levels/level1.dat"));
  EXPECT_EQ(ReadFile("Store/mine.dat"), saved);
}

}  // namespace
