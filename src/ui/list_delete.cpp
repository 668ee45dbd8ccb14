// list_delete: asking, then deleting or restoring a level from the edit list.
#include "ui/list_delete.h"

#include <cstdio>
#include <cstring>

#include "game/base/file_save.h"
#include "game/base/lang.h"
#include "game/files/level_files.h"
#include "game/files/level_slots.h"
#include "ui/level_note.h"

void DeleteKeyOnLevel(int n)
{
  if (n < 1 || n > MaxLevels || !LevelExists[n - 1])
    return;
  int kind = LevelSlotKind(n);
  char ask[LevelNoteSize];
  if (kind == slot_own)
    snprintf(ask, sizeof ask, Tr("Press Delete again to delete level %i"), n);
  else if (kind == slot_changed)
    snprintf(ask, sizeof ask, Tr("Press Delete again to restore the shipped level %i"), n);
  else if (kind == slot_shipped)
    snprintf(ask, sizeof ask, Tr("Level %i comes with the game and cannot be deleted"), n);
  else
    return;
  // The question stays on the line only until the highlight moves, so a
  // second press can only ever confirm the level it names.
  if (kind == slot_shipped || strcmp(LevelNote, ask) != 0) {
    snprintf(LevelNote, sizeof LevelNote, "%s", ask);
    return;
  }
  int error = RemoveLevel(n);
  if (error)
    snprintf(LevelNote, sizeof LevelNote, Tr("Level %i could not be deleted: %s"), n, SaveFailureReason(error));
  else if (kind == slot_own)
    snprintf(LevelNote, sizeof LevelNote, Tr("Level %i deleted"), n);
  else
    snprintf(LevelNote, sizeof LevelNote, Tr("Level %i is the shipped version again"), n);
}
