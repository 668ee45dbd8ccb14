// paths: repository or installed mode, and the folders of each.
#include "app/paths.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/places.h"

// The game's own pictures: a working directory that holds them is the
// repository or an unpacked copy. A "Media" folder alone is not enough, as a
// player's home folder often has one of photos.
static const char* const RepositoryMarkers[] = {"Media/tetherorb2texture.png", "Media/dashboard.png"};
static const int RepositoryMarkerCount = sizeof RepositoryMarkers / sizeof RepositoryMarkers[0];
static const char GameFolderName[] = "tetherorb2";
static const char DefaultDataHome[] = ".local/share";   // under the home folder
static const char DefaultConfigHome[] = ".config";

static bool IsFolder(const char* path)
{
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

static bool HoldsGameData()
{
  struct stat st;
  for (int i = 0; i < RepositoryMarkerCount; i++)
    if (stat(RepositoryMarkers[i], &st) != 0 || !S_ISREG(st.st_mode))
      return false;
  return true;
}

// The folder of the running executable, without the trailing name; "." when
// the system does not tell.
static void ExecutableFolder(char* out, size_t size)
{
  ssize_t n = readlink("/proc/self/exe", out, size - 1);
  if (n <= 0) {
    snprintf(out, size, "%s", ".");
    return;
  }
  out[n] = 0;
  char* slash = strrchr(out, '/');
  if (slash && slash != out)
    *slash = 0;
  else
    snprintf(out, size, "%s", slash ? "/" : ".");
}

static const char* HomeFolder()
{
  const char* home = getenv("HOME");
  if (home && home[0])
    return home;
  struct passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir ? pw->pw_dir : ".";
}

// $variable/tetherorb2 when the variable holds an absolute path (relative ones
// are ignored, as the XDG base directory rules say), else home/fallback/tetherorb2.
static void XdgFolder(char* out, size_t size, const char* variable, const char* fallback)
{
  const char* base = getenv(variable);
  if (base && base[0] == '/')
    snprintf(out, size, "%s/%s", base, GameFolderName);
  else
    snprintf(out, size, "%s/%s/%s", HomeFolder(), fallback, GameFolderName);
}

void ChoosePaths()
{
  if (HoldsGameData())
    return;   // the record's defaults are the repository layout
  char exe[PlaceSize], data[PlaceSize], user[PlaceSize];
  ExecutableFolder(exe, sizeof(exe));
  PlacePath(data, sizeof(data), exe, TETHERORB_DATA_FROM_EXECUTABLE);
  char resolved[PATH_MAX];
  if (!realpath(data, resolved) || !IsFolder(resolved))
    return;   // a program that was never installed: the working directory as always
  PlacePath(data, sizeof(data), "", resolved);
  XdgFolder(user, sizeof(user), "XDG_DATA_HOME", DefaultDataHome);
  XdgFolder(Places.userSettings, PlaceSize, "XDG_CONFIG_HOME", DefaultConfigHome);
  PlacePath(Places.media, PlaceSize, data, "Media");
  PlacePath(Places.shippedLevels, PlaceSize, data, "Levels");
  snprintf(Places.shippedSettings, PlaceSize, "%s", data);
  PlacePath(Places.userLevels, PlaceSize, user, "Levels");
  PlacePath(Places.screenshots, PlaceSize, user, "screenshots");
  Places.makeFolders = true;
}
