// Spawn and finish counts of the level in MapGrid.
#include "game/files/level_check.h"

#include "game/base/lang.h"
#include "game/play/world.h"

LevelCheck CheckLevel()
{
  LevelCheck c = {0, 0, 0, 0};
  for (int x = 0; x < LevelWidth; x++)
    for (int y = 0; y < LevelHeight; y++) {
      int cell = MapGrid[x * MapSize + y];
      if (cell == maptype_playerspawn) {
        c.spawns++;
        c.spawnX = x;
        c.spawnY = y;
      }
      if (cell == maptype_finish)
        c.finishes++;
    }
  return c;
}

const char* LevelCheckNote(const LevelCheck& c)
{
  if (c.spawns == 0)
    return N_("No spawn");
  if (c.spawns > 1)
    return N_("More than one spawn");
  if (c.finishes == 0)
    return N_("No finish");
  return nullptr;
}
