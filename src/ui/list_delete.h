// list_delete: Delete in the edit list. The first press on a level asks on
// the list's bottom line; a second press while that question shows deletes
// the player's own level with its best score and ghost, or puts back the
// shipped version of a shipped level the player changed (installed game).
// A shipped level itself is never deleted: the line says so.
#pragma once

// Delete pressed on the row of level n (0: a row without a level, ignored).
void DeleteKeyOnLevel(int n);
