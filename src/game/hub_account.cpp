// The player's hub token and name, in two small files beside settings.ini.
#include "game/hub_account.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <sys/stat.h>

#include "game/file_save.h"
#include "game/places.h"

static const char TokenFileName[] = "hub-token";
static const char NameFileName[] = "hub-name";
static const int TokenRandomBytes = 32;
static const char TokenLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
static const int BitsPerLetter = 6;

char HubToken[HubTokenChars + 1];
char HubName[HubNameSize];

// The first line of the player's file name into out (size bytes); "" when absent.
static void ReadLineFile(const char* name, char* out, int size)
{
  out[0] = 0;
  PathBuffer path;
  if (!PlacePath(path, Places.userSettings, name))
    return;
  FILE* f = fopen(path, "r");
  if (!f)
    return;
  if (!fgets(out, size, f))
    out[0] = 0;
  fclose(f);
  out[strcspn(out, "\r\n")] = 0;
}

// Saves text as the player's file name; a secret is left readable by its owner alone.
static bool SaveLineFile(const char* name, const char* text, bool secret)
{
  PathBuffer path;
  if (!PlacePath(path, Places.userSettings, name))
    return SavePathTooLong();
  SaveFile save;
  FILE* f = BeginSave(path, &save, "w");
  if (!f)
    return false;
  const mode_t OwnerOnly = 0600;
  if (secret)
    fchmod(fileno(f), OwnerOnly);
  fprintf(f, "%s\n", text);
  return EndSave(f, &save);
}

void LoadHubAccount()
{
  ReadLineFile(TokenFileName, HubToken, sizeof HubToken);
  if (strlen(HubToken) != (size_t)HubTokenChars)
    HubToken[0] = 0;   // a cut or foreign file: a new token on first use
  ReadLineFile(NameFileName, HubName, sizeof HubName);
}

bool EnsureHubToken()
{
  if (HubToken[0])
    return true;
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
  SaveLineFile(TokenFileName, HubToken, true);
  return true;
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
