// online_search: what the Online list is narrowed to: the words searched for
// (typed by the player, sent once Return is pressed), a size filter and a
// difficulty filter, each cycled by a key, and the list's query path they
// make with the order and page. The hub matches the words; the game only
// escapes them for the query.
//   HubSearch                      the record
//   NextHubSize() / NextHubDifficulty()   a filter on to its next value, after the last "any" again
//   HubSizeName(size) / HubDifficultyName(difficulty)   as the screen shows them
//   HubListNarrowed()              words or a filter are in force
//   HubListPath(sort, page, out)   "/api/v1/levels?sort=...&page=N[&q=..][&size=..][&difficulty=..]"
//   EscapeQueryText(text, out, size)   text with every byte but letters, digits and -._~ as %XX
#pragma once

#include "game/online/online_queue.h"

const int HubSearchSize = 64;   // bytes of the words searched for, terminator included

enum { hubsize_any = 0, hubsize_small, hubsize_medium, hubsize_large, hubsize_count };
enum {
  hubdifficulty_any = 0, hubdifficulty_easy, hubdifficulty_medium, hubdifficulty_hard,
  hubdifficulty_unbeaten, hubdifficulty_count
};

struct HubSearchRecord {
  char words[HubSearchSize];   // "" for no search
  int size;                    // hubsize_*
  int difficulty;              // hubdifficulty_*
};
extern HubSearchRecord HubSearch;

void NextHubSize();
void NextHubDifficulty();
const char* HubSizeName(int size);
const char* HubDifficultyName(int difficulty);
bool HubListNarrowed();

// False (out empty) when the path does not fit HubPathSize.
bool HubListPath(const char* sortQuery, int page, char out[HubPathSize]);

// False (out empty) when the escaped text does not fit size bytes with its terminator.
bool EscapeQueryText(const char* text, char* out, int size);
