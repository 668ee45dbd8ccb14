// The player's hub token and name, in two small files beside settings.ini.
#include "game/online/online_account.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <unistd.h>

#include "game/base/file_save.h"
#include "game/base/places.h"
#include "game/files/level_files.h"

static const char TokenFileName[] = "hub-token";
static const char NameFileName[] = "hub-name";
static const int TokenRandomBytes = 32;
static const char TokenLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
static const int BitsPerLetter = 6;

char HubToken[HubTokenChars + 1];
char HubName[HubNameSize];
bool HubTokenLost;

enum { linefile_absent = 0, linefile_read, linefile_unreadable };
static const int LineRoom = 128;   // a line read whole, to tell a token from a longer one

// The first line of the player's file name into out (size bytes, at most
// LineRoom); "" and linefile_absent or linefile_unreadable when none was read.
static int ReadLineFile(const char* name, char* out, int size)
{
  char line[LineRoom] = "";
  out[0] = 0;
  PathBuffer path;
  if (!PlacePath(path, Places.userSettings, name))
    return linefile_unreadable;
  FILE* f = fopen(path, "r");
  if (!f)
    return errno == ENOENT ? linefile_absent : linefile_unreadable;
  bool read = fgets(line, sizeof line, f) != nullptr;
  fclose(f);
  line[strcspn(line, "\r\n")] = 0;
  if (!read || strlen(line) >= (size_t)size)
    return linefile_unreadable;
  strcpy(out, line);
  return linefile_read;
}

// Saves text as the player's file name; a secret is made readable by its owner alone.
static bool SaveLineFile(const char* name, const char* text, bool secret)
{
  PathBuffer path;
  if (!PlacePath(path, Places.userSettings, name))
    return SavePathTooLong();
  SaveFile save;
  FILE* f = BeginSave(path, &save, "w", secret ? SaveSecretBits : SaveFileBits);
  if (!f)
    return false;
  fprintf(f, "%s\n", text);
  bool saved = EndSave(f, &save);
  SavedFileCount += saved;   // the browser's store keeps it too
  return saved;
}

void LoadHubAccount()
{
  int token = ReadLineFile(TokenFileName, HubToken, sizeof HubToken);
  bool whole = strlen(HubToken) == (size_t)HubTokenChars && strspn(HubToken, TokenLetters) == (size_t)HubTokenChars;
  if (!whole)
    HubToken[0] = 0;
  ReadLineFile(NameFileName, HubName, sizeof HubName);
  // A token file that is there but no token, or a name without its token.
  HubTokenLost = !whole && (token != linefile_absent || HubName[0]);
}

// A new token from the system's random source into HubToken, saved; false
// when it could not be saved.
static bool MakeToken()
{
  // random_device reads the system's random source (getrandom, or the
  // browser's crypto.getRandomValues); never a seeded generator.
  std::random_device source;
  unsigned char bytes[TokenRandomBytes + 1] = {};
  for (int i = 0; i < TokenRandomBytes; i++)
    bytes[i] = (unsigned char)source();
  for (int letter = 0; letter < HubTokenChars; letter++) {
    int value = 0;
    for (int b = 0; b < BitsPerLetter; b++) {
      int bit = letter * BitsPerLetter + b;
      value = (value << 1) | ((bytes[bit / 8] >> (7 - bit % 8)) & 1);
    }
    HubToken[letter] = TokenLetters[value];
  }
  HubToken[HubTokenChars] = 0;
  return SaveLineFile(TokenFileName, HubToken, true);
}

bool EnsureHubToken()
{
  if (!HubToken[0] && !HubTokenLost)
    MakeToken();
  return HubToken[0] != 0;
}

bool RenewHubAccount()
{
  PathBuffer path, aside;
  char asideName[sizeof TokenFileName + 8];
  snprintf(asideName, sizeof asideName, "%s.lost", TokenFileName);
  if (PlacePath(path, Places.userSettings, TokenFileName) && PlacePath(aside, Places.userSettings, asideName))
    rename(path, aside);   // kept for the player, who may mend it by hand
  if (PlacePath(path, Places.userSettings, NameFileName))
    unlink(path);
  SavedFileCount++;
  HubTokenLost = false;
  HubName[0] = 0;
  return MakeToken();
}

bool NeedHubName()
{
  EnsureHubToken();
  return !HubName[0];
}

bool KeepHubName(const char* name)
{
  snprintf(HubName, sizeof HubName, "%s", name);
  return SaveLineFile(NameFileName, HubName, false);
}
