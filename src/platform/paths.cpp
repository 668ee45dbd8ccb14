// paths: repository or installed mode, and the folders of each.
#include "platform/paths.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/base/places.h"

// The game's own pictures: a working directory that holds them is the
// repository or an unpacked copy. A "Media" folder alone is not enough, as a
// player's home folder often has one of photos.
static const char* const RepositoryMarkers[] = {"Media/tetherorb2texture.png", "Media/dashboard.png"};
static const int RepositoryMarkerCount = sizeof RepositoryMarkers / sizeof RepositoryMarkers[0];
static const char GameFolderName[] = "tetherorb2";
static const char DefaultDataHome[] = ".local/share";   // under the home folder
static const char DefaultConfigHome[] = ".config";
static const char DefaultCacheHome[] = ".cache";

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
// the system does not tell; false when its path is too long to hold.
static bool ExecutableFolder(PathBuffer& out)
{
  ssize_t n = readlink("/proc/self/exe", out, sizeof(out));
  if (n >= (ssize_t)sizeof(out))
    return false;
  if (n <= 0)
    return PlacePath(out, "", ".");
  out[n] = 0;
  char* slash = strrchr(out, '/');
  if (slash && slash != out)
    *slash = 0;
  else
    PlacePath(out, "", slash ? "/" : ".");
  return true;
}

static const char* HomeFolder()
{
  const char* home = getenv("HOME");
  if (home && home[0])
    return home;
  struct passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir ? pw->pw_dir : ".";
}

// folder/name when it leaves PathNameRoom bytes for the game's files below
// it; false, with out empty, when it does not.
static bool RoomyFolder(PathBuffer& out, const char* folder, const char* name)
{
  if (PlacePath(out, folder, name) && strlen(out) + PathNameRoom < PathSize)
    return true;
  out[0] = 0;
  return false;
}

// $variable/tetherorb2 when the variable holds an absolute path (relative ones
// are ignored, as the XDG base directory rules say), else home/fallback/tetherorb2;
// the working directory (out empty) when neither leaves room for the game's files.
static void XdgFolder(PathBuffer& out, const char* variable, const char* fallback)
{
  const char* base = getenv(variable);
  if (base && base[0] == '/') {
    if (RoomyFolder(out, base, GameFolderName))
      return;
    fprintf(stderr, "tetherorb2: $%s is too long a path for the game's files (%zu bytes); using ~/%s\n",
            variable, strlen(base), fallback);
  }
  PathBuffer home;
  if (PlacePath(home, HomeFolder(), fallback) && RoomyFolder(out, home, GameFolderName))
    return;
  fprintf(stderr, "tetherorb2: the home folder is too long a path for the game's files; using the working directory\n");
}

void ChoosePlayerFolders()
{
  PathBuffer user;
  XdgFolder(user, "XDG_DATA_HOME", DefaultDataHome);
  XdgFolder(Places.userSettings, "XDG_CONFIG_HOME", DefaultConfigHome);
  XdgFolder(Places.cache, "XDG_CACHE_HOME", DefaultCacheHome);
  PlacePath(Places.userLevels, user, "Levels");   // the folder left room for these
  PlacePath(Places.screenshots, user, "screenshots");
}

void ChoosePaths()
{
  PathBuffer exe, data;
  bool exeKnown = ExecutableFolder(exe);
  if (exeKnown)
    PlacePath(Places.locale, exe, BuildTreeLocale);
  if (HoldsGameData())
    return;   // the record's defaults are the repository layout
  char resolved[PATH_MAX];
  if (!exeKnown || !PlacePath(data, exe, TETHERORB_DATA_FROM_EXECUTABLE)) {
    fprintf(stderr, "tetherorb2: the game's own folder is too long a path; using the working directory\n");
    return;
  }
  if (!realpath(data, resolved) || !IsFolder(resolved))
    return;   // a program that was never installed: the working directory as always
  if (!RoomyFolder(data, "", resolved)) {
    fprintf(stderr, "tetherorb2: the game's data folder is too long a path; using the working directory\n");
    return;
  }
  PlacePath(Places.media, data, "Media");   // the folder left room for these
  PlacePath(Places.shippedLevels, data, "Levels");
  PlacePath(Places.shippedSolutions, data, "solutions");
  PlacePath(Places.shippedSettings, "", data);
  PlacePath(Places.locale, exe, TETHERORB_LOCALE_FROM_EXECUTABLE);
  ChoosePlayerFolders();
  Places.makeFolders = true;
}
