// places: the folder record and the path operations over it.
#include "game/base/places.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

static const mode_t NewFolderMode = 0700;   // the player's own files stay private

PlacesRecord Places = {"Media", "Levels", "Levels", "", "", "", "locale", false, "tests/solutions", "cache"};

bool PlacePath(PathBuffer& out, const char* folder, const char* name)
{
  int n = folder[0] ? snprintf(out, PathSize, "%s/%s", folder, name) : snprintf(out, PathSize, "%s", name);
  bool fits = n >= 0 && n < PathSize;
  if (!fits)
    out[0] = 0;
  return fits;
}

bool ReadablePath(PathBuffer& out, const char* userFolder, const char* shippedFolder, const char* name)
{
  struct stat st;
  if (!PlacePath(out, userFolder, name))
    return false;
  if (stat(out, &st) == 0 && S_ISREG(st.st_mode))
    return true;
  return PlacePath(out, shippedFolder, name);
}

// mkdir -p: each missing parent is made in turn; an existing non-folder fails.
bool PrepareFolder(const char* folder)
{
  struct stat st;
  if (!folder[0])
    return true;
  if (stat(folder, &st) == 0)
    return S_ISDIR(st.st_mode);
  if (!Places.makeFolders)
    return false;
  PathBuffer path;
  if (!PlacePath(path, "", folder))
    return false;
  for (char* p = path + 1;; p++) {
    if (*p != '/' && *p != 0)
      continue;
    char end = *p;
    *p = 0;
    if (mkdir(path, NewFolderMode) != 0 && errno != EEXIST)
      return false;
    *p = end;
    if (!end)
      break;
  }
  return stat(folder, &st) == 0 && S_ISDIR(st.st_mode);
}

bool PrepareFolderOf(const char* path)
{
  PathBuffer folder;
  if (!PlacePath(folder, "", path))
    return false;
  char* slash = strrchr(folder, '/');
  if (!slash)
    return true;
  *slash = 0;
  return PrepareFolder(folder);
}
