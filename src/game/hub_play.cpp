// Hub levels: saved under Levels/hub/, played without a slot, raced against the record.
#include "game/hub_play.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "game/ghost.h"
#include "game/hub_card.h"
#include "game/level_check.h"
#include "game/level_start.h"
#include "game/rerun.h"
#include "game/screen.h"
#include "game/sound_events.h"
#include "game/world.h"

HubPlayRecord HubPlay;

static const char HubFolderName[] = "hub";

bool HubLevelPath(PathBuffer& out, const char* id)
{
  PathBuffer folder;
  char name[LevelIdChars + 8];
  snprintf(name, sizeof name, "%s.dat", id);
  return IsLevelIdText(id) && PlacePath(folder, Places.userLevels, HubFolderName) && PlacePath(out, folder, name);
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
  UsePlayedLevelId(HubPlay.id);
  RequestScreen(gamestate_playing);
}

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
  if (race)
    HubPlay.racing = RerunOnGrid(*race, true).end == replayend_finish;
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
