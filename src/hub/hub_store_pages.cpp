// hub_store_pages: one level's row for its page.
#include "hub/hub_store_pages.h"

#include "hub/hub_refusal.h"
#include "hub/hub_store_levels.h"

#include "game/files/level_files.h"

using nlohmann::json;

static const int FirstFreeSlot = 16;   // after the shipped levels 1..15

json LevelFacts(DbTx& tx, const std::string& id)
{
  DbRows r;
  tx.Run("SELECT " LEVEL_ROW_COLUMNS LEVEL_ROW_TABLES " WHERE l.id = ? AND l.state = 0", {Text(id)}, &r);
  if (r.count == 0)
    throw Refusal{404, "no level " + id};
  return LevelRow(r, 0);
}

// A shipped level keeps its slot; any other gets one past them from its id,
// the same for everyone who downloads it.
int DownloadSlot(const std::string& id, int shipped)
{
  if (shipped > 0)
    return shipped;
  unsigned long h = 0;
  for (char c : id)
    h = h * 31 + (unsigned char)c;
  return FirstFreeSlot + (int)(h % (unsigned long)(MaxLevels - FirstFreeSlot + 1));
}
