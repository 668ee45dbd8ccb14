// Saves that survive being killed: a child process saves a large level (or a
// best score) over a file holding the other version and is killed with
// SIGKILL at each step of the save in turn, both ways round. After every kill
// the file on disk is the old version byte for byte until the temporary file
// has replaced it and the new one from then on: never a mixture, never cut short.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "game/base/file_save.h"
#include "game/files/level_files.h"
#include "game/play/world.h"
#include "test_support.h"

namespace {

const char* const Titles[2] = {"First version\n", "Second version\n"};
const int Scores[2] = {1234, 0x0a0b0c0d};
SaveStep KillAt;   // the step the child's save dies at

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

// For each step of a save and each version, saves the other version, then
// has a child save this one and die by SIGKILL at that step. The file at path
// must then hold the old version before the rename and the new one after it,
// and a save killed before the rename leaves its temporary file behind.
void KillSavesAtEveryStep(const std::function<void(int)>& save, const std::string& path,
                          const std::string expected[2])
{
  for (int step = 0; step < SaveStepCount; step++)
    for (int v = 0; v < 2; v++) {
      save(1 - v);
      ASSERT_EQ(ReadFile(path), expected[1 - v]);
      int temps = TempFilesOf(path);
      KillAt = (SaveStep)step;
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        SaveStepHook = [](SaveStep reached) {
          if (reached == KillAt)
            raise(SIGKILL);
        };
        save(v);
        _exit(0);
      }
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the save never reached step " << step;
      bool replaced = step >= savestep_renamed;
      std::string text = ReadFile(path);
      EXPECT_TRUE(text == expected[replaced ? v : 1 - v])
          << "killed at step " << step << " saving version " << v << ", the file holds " << text.size()
          << " bytes that are not version " << (replaced ? v : 1 - v);
      EXPECT_EQ(TempFilesOf(path), temps + !replaced) << "step " << step;
    }
}

TEST(HardeningSaves, LevelFileIsWholeAfterEveryKill)
{
  ScratchDir scratch;
  std::filesystem::create_directory("Levels");
  CurrentLevel = 1;
  const std::string expected[2] = {ExpectedLevelText(0), ExpectedLevelText(1)};
  KillSavesAtEveryStep(SaveLevelVersion, "Levels/level1.dat", expected);

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
  KillSavesAtEveryStep([](int v) { SaveBest(3, Scores[v]); }, "Levels/level3.score", expected);
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
