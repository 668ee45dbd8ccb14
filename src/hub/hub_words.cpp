// hub_words: the pages' English texts and their translations, read once.
#include "hub/hub_words.h"

#include "game/base/lang.h"
#include "game/base/mo_catalog.h"

#include <cstdio>

static const int MaxLanguages = 16;

static const char* const English[] = {
  // TRANSLATORS: this and the texts after it are the level hub's web pages, read in a browser.
  N_("Tetherorb 2 levels"),
  N_("Levels made by Tetherorb 2 players: play them in your browser or download them for the game."),
  N_("Level of the day"),
  N_("Newest"),
  N_("Most played"),
  N_("Best rated"),
  N_("Search"),
  N_("Search levels by title or maker"),
  N_("Next page"),
  N_("Previous page"),
  N_("Maker"),
  N_("Size"),
  N_("Published"),
  N_("Plays"),
  N_("Tried by"),
  N_("Finishes"),
  N_("Clear rate"),
  N_("Thumbs-up"),
  N_("Author's score"),
  N_("Medal scores"),
  N_("Top records"),
  N_("Rank"),
  N_("Name"),
  N_("Score"),
  N_("Date"),
  N_("Replay"),
  N_("Play in your browser"),
  N_("Download"),
  N_("No records yet"),
  N_("No levels found"),
  N_("Levels made"),
  N_("Records"),
  N_("Gold medals"),
  N_("Silver medals"),
  N_("Bronze medals"),
  N_("Any size"),
  N_("Small"),
  N_("Medium"),
  N_("Large"),
  N_("Any difficulty"),
  N_("Easy"),
  N_("Hard"),
  N_("Unbeaten"),
  N_("Difficulty"),
  N_("Nothing here by that name"),
  N_("Level"),
  N_("Record"),
  N_("A Tetherorb 2 level: play it in your browser, see its records, or download it."),
  N_("A Tetherorb 2 player's levels, records and medals."),
  N_("All levels"),
  N_("Silver %i  Gold %i  Star %i"),   // the game's own line of medal scores
};
static_assert(sizeof English / sizeof English[0] == PageWordCount, "one entry per PageWordCount");
static_assert(MaxLanguages >= 8, "room for the game's languages");

static std::string Translated[MaxLanguages][PageWordCount];

void LoadPageWords(const std::string& localeDir)
{
  for (int language = 0; language < LanguageCount && language < MaxLanguages; language++) {
    std::string path = localeDir + "/" + Languages[language].code + "/LC_MESSAGES/tetherorb2.mo";
    bool loaded = language > 0 && LoadMoCatalog(path.c_str());
    if (language > 0 && !loaded)
      fprintf(stderr, "tetherorb2-hub: no catalogue %s: pages in %s show English\n", path.c_str(),
              Languages[language].code);
    for (int w = 0; w < PageWordCount; w++) {
      const char* text = loaded ? MoTranslation(English[w]) : nullptr;
      Translated[language][w] = text ? text : English[w];
    }
  }
  ClearMoCatalog();
}

const char* Word(int language, PageWord word)
{
  if (language < 0 || language >= LanguageCount || language >= MaxLanguages || Translated[language][word].empty())
    return English[word];
  return Translated[language][word].c_str();
}
