// The Online list's search words and filters, and the query they make.
#include "game/online/online_search.h"

#include <cstdio>
#include <cstring>

#include "game/base/lang.h"

HubSearchRecord HubSearch;

// The hub's names of the filters' values; the first of each is no filter.
static const char* const SizeQueries[] = {"", "small", "medium", "large"};
static_assert(sizeof SizeQueries / sizeof SizeQueries[0] == hubsize_count, "one entry per hubsize_count");
static const char* const SizeNames[] = {N_("any size"), N_("small"), N_("medium"), N_("large")};
static_assert(sizeof SizeNames / sizeof SizeNames[0] == hubsize_count, "one entry per hubsize_count");
static const char* const DifficultyQueries[] = {"", "easy", "medium", "hard", "unbeaten"};
static_assert(sizeof DifficultyQueries / sizeof DifficultyQueries[0] == hubdifficulty_count,
              "one entry per hubdifficulty_count");
// TRANSLATORS: the difficulty filter's values; "medium" is a difficulty here, a size in the size filter.
static const char* const DifficultyNames[] = {N_("any difficulty"), N_("easy"), N_("medium difficulty"),
                                              N_("hard"), N_("unbeaten")};
static_assert(sizeof DifficultyNames / sizeof DifficultyNames[0] == hubdifficulty_count,
              "one entry per hubdifficulty_count");

void NextHubSize()
{
  HubSearch.size = (HubSearch.size + 1) % hubsize_count;
}

void NextHubDifficulty()
{
  HubSearch.difficulty = (HubSearch.difficulty + 1) % hubdifficulty_count;
}

const char* HubSizeName(int size)
{
  return Tr(SizeNames[size >= 0 && size < hubsize_count ? size : 0]);
}

const char* HubDifficultyName(int difficulty)
{
  return Tr(DifficultyNames[difficulty >= 0 && difficulty < hubdifficulty_count ? difficulty : 0]);
}

bool HubListNarrowed()
{
  return HubSearch.words[0] || HubSearch.size != hubsize_any || HubSearch.difficulty != hubdifficulty_any;
}

static bool Unreserved(unsigned char c)
{
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

bool EscapeQueryText(const char* text, char* out, int size)
{
  static const char Hex[] = "0123456789ABCDEF";
  const int EscapeBytes = 3;   // "%XX"
  int n = 0;
  for (const unsigned char* c = (const unsigned char*)text; *c; c++) {
    int need = Unreserved(*c) ? 1 : EscapeBytes;
    if (n + need >= size) {
      out[0] = 0;
      return false;
    }
    if (need == 1) {
      out[n++] = (char)*c;
    } else {
      out[n++] = '%';
      out[n++] = Hex[*c >> 4];
      out[n++] = Hex[*c & 15];
    }
  }
  out[n] = 0;
  return true;
}

// Appends "&key=value" to out (used bytes so far); false when it does not fit.
static bool AppendQuery(char* out, const char* key, const char* value)
{
  size_t used = strlen(out);
  int n = snprintf(out + used, HubPathSize - used, "&%s=%s", key, value);
  return n >= 0 && used + n < (size_t)HubPathSize;
}

bool HubListPath(const char* sortQuery, int page, char out[HubPathSize])
{
  const int EscapedSize = HubSearchSize * 3;   // every byte escaped
  char words[EscapedSize];
  int n = snprintf(out, HubPathSize, "/api/v1/levels?sort=%s&page=%d", sortQuery, page);
  bool fits = n >= 0 && n < HubPathSize && EscapeQueryText(HubSearch.words, words, sizeof words);
  if (fits && words[0])
    fits = AppendQuery(out, "q", words);
  if (fits && HubSearch.size > hubsize_any && HubSearch.size < hubsize_count)
    fits = AppendQuery(out, "size", SizeQueries[HubSearch.size]);
  if (fits && HubSearch.difficulty > hubdifficulty_any && HubSearch.difficulty < hubdifficulty_count)
    fits = AppendQuery(out, "difficulty", DifficultyQueries[HubSearch.difficulty]);
  if (!fits)
    out[0] = 0;
  return fits;
}
