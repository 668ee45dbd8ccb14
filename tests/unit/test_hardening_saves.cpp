// Saves that survive being killed: a child process saves a large level (or a
// best score) over and over, alternating two versions, and is killed with
// SIGKILL at random moments. After every kill the file on disk must be one of
// the two versions byte for byte: never a mixture, never cut short.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/level_files.h"
#include "game/world.h"

namespace {

const int Kills = 50;
const int BigWidth = MaxLevelWidth;    // 998 columns
const int BigHeight = MaxLevelHeight;  // 1000 rows: about 1 MB of text
const char* const Titles[2] = {"First version\n", "Second version\n"};
const int Scores[2] = {1234, 0x0a0b0c0d};

// A fresh folder with an empty Levels/ to work in; removed with its files at the end.
struct ScratchDir {
  char dir[64] = "/tmp/tetherorb2-saves-XXXXXX";
  char home[4096] = {};
  ScratchDir()
  {
    if (!getcwd(home, sizeof(home)) || !mkdtemp(dir) || chdir(dir) != 0 || mkdir("Levels", 0755) != 0)
      abort();
  }
  ~ScratchDir()
  {
    if (chdir(home) != 0)
      return;
    std::string cmd = std::string("rm -rf ") + dir;
    if (system(cmd.c_str()) != 0)
      fprintf(stderr, "could not remove %s\n", dir);
  }
};

int CellOf(int version, int x, int y)
{
  return version == 0 ? (x + y) % MapTypeCount : (x * 7 + y * 3 + 5) % MapTypeCount;
}

void FillGrid(int version)
{
  LevelWidth = BigWidth;
  LevelHeight = BigHeight;
  for (int x = 0; x < BigWidth; x++)
    for (int y = 0; y < BigHeight; y++)
      MapGrid[x * MapSize + y] = CellOf(version, x, y);
}

// The file text a save of that version must produce, built apart from the writer.
std::string ExpectedLevelText(int version)
{
  std::string text = Titles[version];
  text += std::to_string(BigWidth) + "\n" + std::to_string(BigHeight) + "\n";
  for (int y = 0; y < BigHeight; y++) {
    for (int x = 0; x < BigWidth; x++)
      text += (char)('a' + CellOf(version, x, y));
    text += '\n';
  }
  return text;
}

std::string FileText(const char* path)
{
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const char* path)
{
  struct stat st;
  return stat(path, &st) == 0;
}

// Starts a child that calls save(version) for versions first, first + 1, ...
// (mod 2) until it is killed; returns its pid.
template <typename Save> pid_t StartSaver(int first, Save save)
{
  pid_t pid = fork();
  if (pid == 0) {
    for (int i = first;; i++)
      save(i % 2);
  }
  return pid;
}

void KillAndReap(pid_t pid)
{
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

// The time one call of save takes here, in microseconds; the kills are spread
// over a few of these so that most land in the middle of a save.
template <typename Save> long MeasureSave(Save save)
{
  auto start = std::chrono::steady_clock::now();
  save(1);
  save(0);
  auto spent = std::chrono::steady_clock::now() - start;
  return (long)std::chrono::duration_cast<std::chrono::microseconds>(spent).count() / 2;
}

TEST(HardeningSaves, LevelFileIsWholeAfterEveryKill)
{
  ScratchDir scratch;
  CurrentLevel = 1;
  snprintf(LevelTitles[0], TitleSlotSize, "%s", Titles[0]);
  const std::string expected[2] = {ExpectedLevelText(0), ExpectedLevelText(1)};
  const char* path = "Levels/level1.dat";
  const char* temp = "Levels/level1.dat.tmp";

  auto save = [](int version) {
    FillGrid(version);
    snprintf(LevelTitles[0], TitleSlotSize, "%s", Titles[version]);
    SaveLevel();
  };
  long saveMicros = MeasureSave(save);
  ASSERT_EQ(FileText(path), expected[0]);

  std::mt19937 random(20240611);
  std::uniform_int_distribution<long> delay(0, 3 * saveMicros + 1000);
  int seen[2] = {0, 0};
  int killedMidSave = 0;
  int onDisk = 0;
  for (int k = 0; k < Kills; k++) {
    pid_t pid = StartSaver(1 - onDisk, save);
    ASSERT_GT(pid, 0);
    usleep((useconds_t)delay(random));
    KillAndReap(pid);

    killedMidSave += Exists(temp);
    std::string text = FileText(path);
    if (text == expected[0]) {
      onDisk = 0;
    } else if (text == expected[1]) {
      onDisk = 1;
    } else {
      FAIL() << "after kill " << k << " the level file holds " << text.size()
             << " bytes that are neither version (" << expected[0].size() << " bytes)";
    }
    seen[onDisk]++;
  }
  // Both versions reached the disk, and kills did land inside saves.
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(killedMidSave, Kills / 5);

  // A save after the kills still works and leaves no temporary file behind.
  save(1 - onDisk);
  EXPECT_EQ(FileText(path), expected[1 - onDisk]);
  EXPECT_FALSE(Exists(temp));
}

TEST(HardeningSaves, ScoreFileIsWholeAfterEveryKill)
{
  ScratchDir scratch;
  const char* path = "Levels/level3.score";
  auto save = [](int version) { SaveBest(3, Scores[version]); };
  long saveMicros = MeasureSave(save);

  auto readBack = [&](int* value) {
    std::string bytes = FileText(path);
    if (bytes.size() != 4)
      return false;
    FILE* f = fopen(path, "rb");
    *value = ReadScoreStream(f);
    fclose(f);
    return true;
  };
  int value = 0;
  ASSERT_TRUE(readBack(&value));
  ASSERT_EQ(value, Scores[0]);

  std::mt19937 random(77);
  std::uniform_int_distribution<long> delay(0, 3 * saveMicros + 200);
  int seen[2] = {0, 0};
  int onDisk = 0;
  for (int k = 0; k < Kills; k++) {
    pid_t pid = StartSaver(1 - onDisk, save);
    ASSERT_GT(pid, 0);
    usleep((useconds_t)delay(random));
    KillAndReap(pid);
    ASSERT_TRUE(readBack(&value)) << "after kill " << k << " the score file is not 4 bytes";
    ASSERT_TRUE(value == Scores[0] || value == Scores[1]) << "after kill " << k << ": " << value;
    onDisk = value == Scores[1];
    seen[onDisk]++;
  }
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
}

}  // namespace
