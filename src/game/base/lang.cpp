// The player's language: the table, the choice between setting and system,
// and Tr() through the compiled catalogue in use.
#include "game/base/lang.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "game/base/mo_catalog.h"

const LanguageEntry Languages[] = {
  {"en", "English", false}, {"de", "Deutsch", true}, {"fr", "Français", true}, {"es", "Español", true},
  {"pt_BR", "Português (Brasil)", true}, {"pl", "Polski", true}, {"ru", "Русский", true},
};
const int LanguageCount = sizeof Languages / sizeof Languages[0];

static const char CatalogueName[] = "tetherorb2.mo";   // the gettext domain's file
static const int CodeSize = 16;                         // bytes of "pt_BR" and the like

static int InUse;            // index in Languages[]
static int SystemLanguage;   // index in Languages[], from SetSystemLanguage

const char* Tr(const char* english)
{
  const char* translated = MoTranslation(english);
  return translated ? translated : english;
}

const char* TrN(const char* one, const char* other, unsigned long n)
{
  const char* translated = MoPluralTranslation(one, n);
  return translated ? translated : (n == 1 ? one : other);
}

bool LanguageClock24()
{
  return Languages[InUse].clock24;
}

// The locale's language and region as a table code would spell them: "pt_BR"
// from "pt-br.UTF-8"; the encoding and modifier dropped.
static void LocaleCode(const char* locale, char* out)
{
  int n = 0;
  bool region = false;
  for (const char* c = locale; *c && *c != '.' && *c != '@' && n < CodeSize - 1; c++) {
    bool mark = *c == '_' || *c == '-';
    region = region || mark;
    out[n++] = mark ? '_' : (char)(region ? toupper((unsigned char)*c) : tolower((unsigned char)*c));
  }
  out[n] = 0;
}

static int LanguageIndex(const char* code)
{
  for (int i = 0; i < LanguageCount; i++)
    if (strcmp(code, Languages[i].code) == 0)
      return i;
  return -1;
}

int LanguageOfLocale(const char* locale)
{
  char code[CodeSize];
  LocaleCode(locale ? locale : "", code);
  int exact = LanguageIndex(code);
  if (exact >= 0)
    return exact;
  size_t language = strcspn(code, "_");
  for (int i = 0; i < LanguageCount; i++)
    if (language > 0 && strncmp(code, Languages[i].code, language) == 0 &&
        strcspn(Languages[i].code, "_") == language)
      return i;
  return 0;
}

void SetSystemLanguage(const char* locale)
{
  SystemLanguage = LanguageOfLocale(locale);
}

bool CataloguePath(PathBuffer& out, const char* code)
{
  PathBuffer folder;
  return PlacePath(folder, Places.locale, code) && PlacePath(out, folder, "LC_MESSAGES") &&
         PlacePath(folder, out, CatalogueName) && PlacePath(out, "", folder);
}

bool UseLanguage(const char* code)
{
  int asked = LanguageIndex(code);
  InUse = asked >= 0 ? asked : SystemLanguage;
  PathBuffer path = {0};
  if (InUse == 0 || !CataloguePath(path, Languages[InUse].code) || !LoadMoCatalog(path)) {
    if (InUse != 0)
      fprintf(stderr, "tetherorb2: no readable catalogue for %s at %s; texts stay in English\n",
              Languages[InUse].code, path);
    ClearMoCatalog();
    InUse = 0;
  }
  return asked >= 0 || code[0] == 0;
}

const char* LanguageInUse()
{
  return Languages[InUse].code;
}
