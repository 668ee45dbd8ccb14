// The player's language: English until the catalogues come.
#include "game/lang.h"

#include <cstring>

const LanguageEntry Languages[] = {
  {"en", "English"},  {"de", "Deutsch"}, {"fr", "Français"},          {"es", "Español"},
  {"pt_BR", "Português (Brasil)"}, {"pl", "Polski"},  {"ru", "Русский"},
};
const int LanguageCount = sizeof Languages / sizeof Languages[0];

static const char* InUse = "en";

const char* Tr(const char* english)
{
  return english;
}

bool UseLanguage(const char* code)
{
  for (int i = 0; i < LanguageCount; i++)
    if (strcmp(code, Languages[i].code) == 0) {
      InUse = Languages[i].code;
      return true;
    }
  InUse = "en";
  return code[0] == 0;
}

const char* LanguageInUse()
{
  return InUse;
}
