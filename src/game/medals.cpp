// Medals from the author runs: the shipped solutions and the player's own.
#include "game/medals.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "game/level_id.h"
#include "game/rerun.h"
#include "game/world.h"

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

// Level n's author run: the player's own beside the level, else its shipped
// solution (shipped set).
static std::string AuthorRunOf(int n, bool* shipped)
{
  PathBuffer path;
  std::string text = AuthorRunName(path, n) ? ReadText(path) : "";
  char name[32];
  snprintf(name, sizeof name, "level%d.replay", n);
  *shipped = text.empty() && n <= ShippedLevelCount;
  if (*shipped && PlacePath(path, Places.shippedSolutions, name))
    text = ReadText(path);
  return text;
}

// The shipped solutions' scores as the desktop game and the hub re-run them,
// each with the id of the level it finishes. A browser's maths library rounds
// some sines and arc tangents apart from the desktop's, so its own re-run of
// a solution strays and may never finish.
struct ShippedScore {
  LevelId id;   // "" for none
  int score;
};
static ShippedScore ShippedScores[ShippedLevelCount];

static void ReadShippedScores()
{
  memset(ShippedScores, 0, sizeof ShippedScores);
  PathBuffer path;
  FILE* f = PlacePath(path, Places.shippedSolutions, AuthorScoresFileName) ? fopen(path, "r") : nullptr;
  if (!f)
    return;
  char line[80], id[LevelIdChars + 2];
  int n, score;
  while (fgets(line, sizeof line, f))
    if (sscanf(line, "%d %17s %d", &n, id, &score) == 3 && n >= 1 && n <= ShippedLevelCount && IsLevelIdText(id) &&
        score > 0) {
      strcpy(ShippedScores[n - 1].id, id);
      ShippedScores[n - 1].score = score;
    }
  fclose(f);
}

// The table's score of shipped level n, loaded, when it is the level the table names; else 0.
static int ShippedScoreOf(int n)
{
  LevelId id;
  if (!ShippedScores[n - 1].score || !WorldLevelId(LevelTitles[n - 1], id))
    return 0;
  return strcmp(id, ShippedScores[n - 1].id) == 0 ? ShippedScores[n - 1].score : 0;
}

void FindAuthorScores()
{
  ReadShippedScores();
  for (int n = 1; n <= MaxLevels; n++) {
    AuthorScore[n - 1] = 0;
    if (!LevelSlotShown(n) || !LevelExists[n - 1])
      continue;
    bool shipped;
    std::string run = AuthorRunOf(n, &shipped);
    if (run.empty())
      continue;
    LoadLevel(n);
    AuthorScore[n - 1] = shipped ? ShippedScoreOf(n) : 0;
    if (AuthorScore[n - 1])
      continue;
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
