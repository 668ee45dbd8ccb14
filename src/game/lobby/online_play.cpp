// Hub levels: saved under Levels/hub/, played without a slot, raced against the record.
#include "game/lobby/online_play.h"

#include <cstdio>
#include <cmath>
#include <cstring>
#include <vector>
#include <sys/stat.h>

#include "game/base/file_save.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/ghost.h"
#include "game/files/level_check.h"
#include "game/online/online_card.h"
#include "game/play/world.h"
#include "game/run/level_start.h"
#include "game/run/rerun.h"
#include "game/run/run_end.h"

HubPlayRecord HubPlay;

static const char HubFolderName[] = "hub";

// Levels/hub/ID.EXTENSION ("dat", "score", "ghost", "assist.score").
static bool HubFilePath(PathBuffer& out, const char* id, const char* extension)
{
  PathBuffer folder;
  char name[LevelIdChars + 16];
  snprintf(name, sizeof name, "%s.%s", id, extension);
  return IsLevelIdText(id) && PlacePath(folder, Places.userLevels, HubFolderName) && PlacePath(out, folder, name);
}

bool HubLevelPath(PathBuffer& out, const char* id)
{
  return HubFilePath(out, id, "dat");
}

static const char HubScore[] = "score";
static const char HubAssistScore[] = "assist.score";   // the best of assisted runs, kept apart

static int ReadHubBest(const char* id, const char* extension)
{
  PathBuffer path;
  FILE* f = HubFilePath(path, id, extension) ? fopen(path, "rb") : nullptr;
  if (!f)
    return 0;
  int best = ReadScoreStream(f);
  fclose(f);
  return best;
}

int HubLevelBest(const char* id)
{
  return ReadHubBest(id, HubScore);
}

// The kept best run as the ghost raced; none when there is none.
static void LoadHubGhost(const char* id)
{
  PathBuffer path;
  FILE* f = HubFilePath(path, id, "ghost") ? fopen(path, "rb") : nullptr;
  if (f && !ReadGhostStream(f, &GhostBest))
    GhostBest.frameCount = 0;
  if (f)
    fclose(f);
}

void KeepHubBest()
{
  if (!HubLevelInPlay())
    return;
  // An assisted run's best is kept apart, with no ghost, as a slot's is.
  const char* kind = RunEnd.assisted ? HubAssistScore : HubScore;
  RunEnd.best = ReadHubBest(HubPlay.id, kind);
  int score = (int)ceilf(RunEnd.timeLeft);
  if (RunEnd.outcome != runend_finished || score <= RunEnd.best)
    return;
  RunEnd.best = score;
  RunEnd.newBest = true;
  PathBuffer path;
  bool saved = HubFilePath(path, HubPlay.id, kind) && SaveScoreFile(path, score);
  if (RunEnd.assisted) {
    RunEnd.saveError = saved ? 0 : LastSaveError;
    return;
  }
  std::vector<unsigned char> ghost(GhostFileMaxBytes);
  size_t size = EncodeGhost(&GhostTake, ghost.data());
  saved = saved && HubFilePath(path, HubPlay.id, "ghost") && SaveFileBytes(path, ghost.data(), size);
  RunEnd.saveError = saved ? 0 : LastSaveError;
  if (!HubPlay.racing)
    KeepGhost(0);   // the new best is raced from the next run on
}

bool SaveHubLevel(const char* id, const std::string& text)
{
  PathBuffer folder, path;
  if (!HubLevelPath(path, id) || !PlacePath(folder, Places.userLevels, HubFolderName))
    return false;
  // The hub's folder is the game's own, made when first needed even where
  // the player's folders are not (a game run from its repository).
  const mode_t FolderMode = 0755;
  mkdir(folder, FolderMode);
  return SaveFileBytes(path, (const unsigned char*)text.data(), text.size());
}

// The saved level into the grid; false when it cannot be read or is not playable.
static bool ReadHubLevel(const char* id)
{
  PathBuffer path;
  FILE* f = HubLevelPath(path, id) ? fopen(path, "r") : nullptr;
  if (!f)
    return false;
  LevelRepairs repairs;
  ReadLevelStream(f, HubPlay.title, &repairs);
  fclose(f);
  return LevelCheckNote(CheckLevel()) == nullptr;
}

static void BeginHubRun()
{
  StartGridLevel();
  BeginGhostRun(0, MaxGhostFrames);   // the run's path, kept when it is a new best
  UsePlayedLevelId(HubPlay.id, HubPlay.clearPercent);
  RequestScreen(gamestate_playing);
}

static bool Preparing;   // the record's run is being re-run before play starts

bool StartHubLevel(const char* id, const std::string* race, int authorScore)
{
  if (!ReadHubLevel(id))
    return false;
  HubPlay.active = true;
  HubPlay.racing = false;
  HubPlay.authorScore = authorScore;
  snprintf(HubPlay.id, sizeof HubPlay.id, "%s", id);
  CurrentLevel = 0;
  GhostBest.frameCount = 0;   // the ghost of a level with no slot is only ever a raced record
  Preparing = race && BeginRerun(*race, true);
  if (!race)
    LoadHubGhost(id);
  if (!Preparing)
    BeginHubRun();
  return true;
}

bool StepHubRace()
{
  if (!Preparing)
    return true;
  if (!StepRerun())
    return false;
  Preparing = false;
  HubPlay.racing = Rerun.player.out.end == replayend_finish;
  BeginHubRun();
  return true;
}

void RestartHubLevel()
{
  // The grid holds the level still: play changes only the ball and the items.
  BeginHubRun();
}

bool HubLevelInPlay()
{
  return HubPlay.active && CurrentLevel == 0;
}
