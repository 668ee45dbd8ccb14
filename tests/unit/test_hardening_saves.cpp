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
#include <vector>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/file_save.h"
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

    *midSave += std::filesystem::exists(path + ".tmp");
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

  // A save after the kills still works and leaves no temporary file behind.
  SaveLevelVersion(1);
  EXPECT_EQ(ReadFile("Levels/level1.dat"), expected[1]);
  EXPECT_FALSE(std::filesystem::exists("Levels/level1.dat.tmp"));
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

// Saves "new" over path, which holds "old", with every file descriptor in use
// when noneLeft; the save must fail with error and leave "old".
bool FailsLeavingOld(const std::string& path, int error, bool noneLeft = false)
{
  rlimit limit, few;
  getrlimit(RLIMIT_NOFILE, &limit);
  few = {noneLeft ? 64 : limit.rlim_cur, limit.rlim_max};
  setrlimit(RLIMIT_NOFILE, &few);
  std::vector<int> taken;
  for (int fd; noneLeft && (fd = dup(0)) >= 0;)
    taken.push_back(fd);
  bool saved = SaveFileBytes(path.c_str(), (const unsigned char*)"new", 3);
  for (int fd : taken)
    close(fd);
  setrlimit(RLIMIT_NOFILE, &limit);
  std::error_code ignored;
  return !saved && LastSaveError == error && ReadFile(path) == "old" &&
         !std::filesystem::is_regular_file(path + ".tmp", ignored);
}

// Only a folder that refuses new files is written in place: a name that
// ".tmp" makes too long, no file descriptor left and a disk without a free
// inode fail the save (a ".tmp" folder in the way: test_level_files), and the
// old file stays whole.
TEST(HardeningSaves, TroubleWithTheTemporaryFileFailsTheSave)
{
  ScratchDir scratch;
  const std::string longName(252, 'n');   // 256 bytes with ".tmp", past the 255 a name may have
  WriteFile(longName, "old");
  WriteFile("full/old", "old");
  EXPECT_TRUE(FailsLeavingOld(longName, ENAMETOOLONG));

  EXPECT_TRUE(FailsLeavingOld("full/old", EMFILE, true));

  // A memory file system of three inodes (its root, the file, one more) in a
  // mount namespace of a child process, where root may mount.
  pid_t pid = fork();
  if (pid == 0) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("full", "full", "tmpfs", 0, "nr_inodes=3") != 0)
      _exit(2);
    WriteFile("full/old", "old");
    WriteFile("full/filler", "");
    _exit(FailsLeavingOld("full/old", ENOSPC) ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WEXITSTATUS(status) == 2)
    GTEST_SKIP() << "no mount namespace here: the full disk is left out";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a full disk did not fail the save, or changed the file";
}

}  // namespace
