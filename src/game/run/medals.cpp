// Medals from the author runs: the shipped solutions and the player's own.
#include "game/run/medals.h"

#include <cstdio>
#include <unistd.h>

#include "game/base/lang.h"
#include "game/play/world.h"
#include "game/run/rerun.h"

int AuthorScore[MaxLevels];

static const int PercentWhole = 100;
static const size_t MaxAuthorReplayBytes = 1 << 20;   // a replay of the longest run fits many times over

int MedalFor(int score, int author)
{
  if (score <= 0 || author <= 0)
    return medal_none;
  if (score >= author)
    return medal_author;
  long scaled = (long)score * PercentWhole;
  if (scaled >= (long)author * GoldPercent)
    return medal_gold;
  if (scaled >= (long)author * SilverPercent)
    return medal_silver;
  return medal_bronze;
}

// The least whole score at or above percent of author.
static int ShareOf(int author, int percent)
{
  return (int)(((long)author * percent + PercentWhole - 1) / PercentWhole);
}

int MedalNeed(int medal, int author)
{
  if (author <= 0)
    return 0;
  switch (medal) {
  case medal_bronze: return 1;
  case medal_silver: return ShareOf(author, SilverPercent);
  case medal_gold: return ShareOf(author, GoldPercent);
  default: return author;
  }
}

void FormatMedalNeeds(int author, char* out, int size)
{
  if (size <= 0)
    return;
  out[0] = 0;
  if (author > 0)
    snprintf(out, size, Tr("Silver %i  Gold %i  Star %i"), MedalNeed(medal_silver, author),
             MedalNeed(medal_gold, author), author);
}

static bool AuthorRunName(PathBuffer& out, int n)
{
  char name[40];
  snprintf(name, sizeof name, "level%d.author.replay", n);
  return PlacePath(out, Places.userLevels, name);
}

// The whole file as text; "" when it cannot be read or is too large.
static std::string ReadText(const char* path)
{
  std::string text;
  FILE* f = fopen(path, "rb");
  if (!f)
    return text;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, f)) > 0 && text.size() <= MaxAuthorReplayBytes)
    text.append(chunk, got);
  fclose(f);
  if (text.size() > MaxAuthorReplayBytes)
    text.clear();
  return text;
}

// Level n's author run: the player's own beside the level, else its shipped solution.
static std::string AuthorRunOf(int n)
{
  PathBuffer path;
  std::string text = AuthorRunName(path, n) ? ReadText(path) : "";
  char name[32];
  snprintf(name, sizeof name, "level%d.replay", n);
  if (text.empty() && n <= ShippedLevelCount && PlacePath(path, Places.shippedSolutions, name))
    text = ReadText(path);
  return text;
}

void FindAuthorScores()
{
  for (int n = 1; n <= MaxLevels; n++) {
    AuthorScore[n - 1] = 0;
    if (!LevelSlotShown(n) || !LevelExists[n - 1])
      continue;
    std::string run = AuthorRunOf(n);
    if (run.empty())
      continue;
    LoadLevel(n);
    ReplayOutcome outcome = RerunOnGrid(run, false);
    AuthorScore[n - 1] = outcome.end == replayend_finish ? outcome.score : 0;
  }
}

bool KeepAuthorRun(int n, const std::string& replay, int score)
{
  PathBuffer path;
  bool saved = AuthorRunName(path, n) && SaveFileBytes(path, (const unsigned char*)replay.data(), replay.size());
  AuthorScore[n - 1] = saved ? score : 0;
  return saved;
}

std::string SavedAuthorRun(int n)
{
  PathBuffer path;
  return n >= 1 && n <= MaxLevels && AuthorRunName(path, n) ? ReadText(path) : "";
}

void DropAuthorRun(int n)
{
  PathBuffer path;
  if (AuthorRunName(path, n) && unlink(path) == 0)
    SavedFileCount++;   // the browser's store forgets it too
  AuthorScore[n - 1] = 0;
}
