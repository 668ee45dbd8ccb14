// hub_find: finding levels worth playing. The level list's search words and
// filters, the level of the day and a player's page, each an answer made in
// the caller's transaction (hub_store's way).
//
// A search matches the levels whose title or author's name holds every word,
// compared as SearchKey folds them (case and accents aside): the levels whose
// titles hold every word come first, then the chosen order. A level's size is
// its cell count, width x height; its difficulty comes from its clear rate,
// the share of the players (its author aside) who tried it that finished it.
//   LevelQuery                       what a list request asks for
//   ReadSearchWords(text, query)     q: at most MaxSearchBytes, MaxSearchWords words; false with why
//   ReadLevelSize(text)              small, medium, large; -1 for anything else
//   ReadDifficulty(text)             easy, medium, hard, unbeaten; -1 for anything else
//   FindLevels(tx, query)            20 levels of the list, searched and filtered
//   DailyLevel(tx, day)              the level of the day (days since 1970, UTC); Refusal 404 for none
//   PlayerPage(tx, name)             a player's levels, records and medals; Refusal 404 for none
#pragma once

#include "hub/hub_requests.h"
#include "hub/hub_store.h"

const int MaxSearchBytes = 100;    // of q, before folding
const int MaxSearchWords = 6;      // separated by spaces
const long long SmallLevelCells = 600;    // a small level has at most this many cells
const long long MediumLevelCells = 6000;  // a medium one at most this many; a large one more
const int EasyClearPercent = 50;          // an easy level is finished by at least this share of its players
const int MediumClearPercent = 20;        // a medium one by at least this share; a hard one by fewer but some
const int MaxPlayerLevels = 100;          // levels on a player's page, newest first
const int MaxPlayerRecords = 100;          // records on a player's page, best rank first

enum { size_any, size_small, size_medium, size_large, LevelSizeCount };
enum { difficulty_any, difficulty_easy, difficulty_medium, difficulty_hard, difficulty_unbeaten, DifficultyCount };

struct LevelQuery {
  int sort = sort_new;
  long long page = 1;
  int words = 0;                            // of the search; 0 for none
  std::string word[MaxSearchWords];         // folded
  int size = size_any;
  int difficulty = difficulty_any;
};

bool ReadSearchWords(const std::string& text, LevelQuery* query, std::string* why);
int ReadLevelSize(const std::string& text);
int ReadDifficulty(const std::string& text);

Answer FindLevels(DbTx& tx, const LevelQuery& query);
Answer DailyLevel(DbTx& tx, long long day);
Answer PlayerPage(DbTx& tx, const std::string& name);
