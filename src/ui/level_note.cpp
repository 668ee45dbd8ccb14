// level_note: why a chosen level did not start.
#include "ui/level_note.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/base/lang.h"
#include "game/files/level_files.h"
#include "render/draw.h"
#include "ui/bars.h"

char LevelNote[LevelNoteSize];

const float NoteRaise = 45;       // from the bottom edge up to the note's top

const char* LevelReadReason(int error)
{
  switch (error) {
  case ENOENT:
    return Tr("its file is missing");
  case EISDIR:
    return Tr("its file is a folder");
  case EACCES:
  case EPERM:
    return Tr("its file may not be read");
  case EINVAL:
    return Tr("its file is not a plain file");
  case ENAMETOOLONG:
    return Tr("its folder's path is too long");
  default:
    return strerror(error);
  }
}

bool LevelReadyToStart(int n)
{
  int error = LevelFileError(n);
  if (error)
    snprintf(LevelNote, sizeof(LevelNote), Tr("Level %i cannot be read: %s"), n, LevelReadReason(error));
  return error == 0;
}

bool LevelReadyToPlay(int n)
{
  if (!LevelReadyToStart(n))
    return false;
  if (LevelFileSpawns(n) > 0)
    return true;
  snprintf(LevelNote, sizeof(LevelNote), Tr("Level %i cannot be played: it has no spawn"), n);
  return false;
}

void ClearLevelNote()
{
  LevelNote[0] = 0;
}

void DrawLevelNote()
{
  if (LevelNote[0])
    DrawText(MenuBarLeft, ScreenOrthoHalfHeight() - NoteRaise, LevelNote, NoteTextSize);
}
