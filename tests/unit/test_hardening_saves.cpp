// Saves that survive being killed: a child process saves a large level (or a
// best score) over and over, alternating two versions, and is killed with
// SIGKILL at random moments. After every kill the file on disk must be one of
// the two versions byte for byte: never a mixture, never cut short.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "game/level_files.h"
#include "game/world.h"
#include "test_support.h"

namespace {

const int Kills = 50;
const char* const Titles[2] = {"First version\n", "Second version\n"};
const int Scores[2] = {1234, 0x0a0b0c0d};

int CellOf(int version, int x, int y)
{
  return version == 0 ? (x + y) % MapTypeCount : (x * 7 + y * 3 + 5) % MapTypeCount;
}

// A level of the largest size, about 1 MB of text.
void SaveLevelVersion(int version)
{
  LevelWidth = MaxLevelWidth;
  LevelHeight = MaxLevelHeight;
  for (int x = 0; x < LevelWidth; x++)
    for (int y = 0; y < LevelHeight; y++)
      MapGrid[x * MapSize + y] = CellOf(version, x, y);
  snprintf(LevelTitles[0], TitleSlotSize, "%s", Titles[version]);
  SaveLevel();
}

// The file text a save of that version must produce, built apart from the writer.
std::string ExpectedLevelText(int version)
{
  std::string text = Titles[version];
  text += std::to_string(MaxLevelWidth) + "\n" + std::to_string(MaxLevelHeight) + "\n";
  for (int y = 0; y < MaxLevelHeight; y++) {
    for (int x = 0; x < MaxLevelWidth; x++)
      text += (char)('a' + CellOf(version, x, y));
    text += '\n';
  }
  return text;
}

// Saves version 0 once, then kills a child saving the other versions in turn
// Kills times at random moments. After each kill the file at path must read
// as one of the two versions; returns how often each was found, and counts
// the kills that left the temporary file behind, that is landed mid-save.
void KillSavesRepeatedly(const std::function<void(int)>& save, const std::string& path,
                         const std::string expected[2], unsigned seed, int seen[2], int* midSave)
{
  auto start = std::chrono::steady_clock::now();
  save(1);
  save(0);
  long saveMicros = (long)std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - start).count() / 2;
  ASSERT_EQ(ReadFile(path), expected[0]);
  int temps = TempFilesOf(path);

  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay(0, 3 * saveMicros + 1000);
  int onDisk = 0;
  for (int k = 0; k < Kills; k++) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int i = 1 - onDisk;; i++)
        save(i % 2);
    }
    usleep((useconds_t)delay(random));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    int now = TempFilesOf(path);
    *midSave += now > temps;
    temps = now;
    std::string text = ReadFile(path);
    ASSERT_TRUE(text == expected[0] || text == expected[1])
        << "after kill " << k << " the file holds " << text.size() << " bytes that are neither version";
    onDisk = text == expected[1];
    seen[onDisk]++;
  }
}

TEST(HardeningSaves, LevelFileIsWholeAfterEveryKill)
{
  ScratchDir scratch;
  std::filesystem::create_directory("Levels");
  CurrentLevel = 1;
  const std::string expected[2] = {ExpectedLevelText(0), ExpectedLevelText(1)};
  int seen[2] = {0, 0}, midSave = 0;
  KillSavesRepeatedly(SaveLevelVersion, "Levels/level1.dat", expected, 20240611, seen, &midSave);
  // Both versions reached the disk, and kills did land inside saves.
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(midSave, Kills / 5);

  // A save after the kills still works and leaves no temporary file of its own behind.
  int temps = TempFilesOf("Levels/level1.dat");
  SaveLevelVersion(1);
  EXPECT_EQ(ReadFile("Levels/level1.dat"), expected[1]);
  EXPECT_EQ(TempFilesOf("Levels/level1.dat"), temps);
}

TEST(HardeningSaves, ScoreFileIsWholeAfterEveryKill)
{
  ScratchDir scratch;
  std::filesystem::create_directory("Levels");
  std::string expected[2];
  for (int v = 0; v < 2; v++)
    for (int i = 0; i < 4; i++)
      expected[v] += (char)((unsigned)Scores[v] >> (8 * i));
  int seen[2] = {0, 0}, midSave = 0;
  KillSavesRepeatedly([](int v) { SaveBest(3, Scores[v]); }, "Levels/level3.score", expected, 77, seen,
                      &midSave);
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
}

// Two copies of the game saving one file at once, over and over: every read
// while they run, and the file they leave, is one whole version.
TEST(HardeningSaves, TwoSaversAtOnceNeverMix)
{
  ScratchDir scratch;
  const int Saves = 150;
  const std::string versions[2] = {std::string(96 * 1024, 'a'), std::string(64 * 1024, 'b')};
  auto save = [&](int v) {
    return SaveFileBytes("shared.dat", (const unsigned char*)versions[v].data(), versions[v].size());
  };
  ASSERT_TRUE(save(0));
  pid_t children[2];
  for (int v = 0; v < 2; v++) {
    children[v] = fork();
    ASSERT_GE(children[v], 0);
    if (children[v] == 0) {
      bool ok = true;
      for (int i = 0; i < Saves; i++)
        ok = save(v) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  int running = 2, mixed = 0;
  while (running > 0) {
    std::string text = ReadFile("shared.dat");
    mixed += text != versions[0] && text != versions[1];
    for (pid_t& child : children) {
      int status;
      if (child > 0 && waitpid(child, &status, WNOHANG) == child) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
        child = 0;
        running--;
      }
    }
  }
  std::string last = ReadFile("shared.dat");
  EXPECT_EQ(mixed, 0) << "reads found neither version";
  EXPECT_TRUE(last == versions[0] || last == versions[1]) << last.size() << " bytes";
  EXPECT_EQ(TempFilesOf("shared.dat"), 0);
}

}  // namespace
