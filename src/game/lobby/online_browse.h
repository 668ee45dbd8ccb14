// Room game/lobby: the hub's levels brought to play: the Online list, a hub
// level played, its tries and a level shared. Includes every room but edit.
//
// online_browse: the Online screen's conversation with the hub: a page of the
// level list in one of three orders (narrowed by online_search), a level's
// leaderboard, and fetching a level (and, to race it, its record's replay)
// before it is played. One request at a time, but for the level of the day,
// asked beside the first page and shown above page 1 of the whole list; the
// screen reads the record each frame and never waits.
//   HubBrowse                   the record the screen draws
//   OpenHubBrowse()             the screen opens: page 1 of the current order and the level of
//                               the day, unless a level is on its way
//   AskHubPage(sort, page)      another page or order, or the same narrowed anew (online_search)
//   AskHubBoard(row)            the leaderboard of the row's level
//   FetchHubLevel(row, race)    fetches the level (and the record's run), then plays it
//   FetchHubLevelById(id)       the same for a level named by its id alone (a link to it); one
//                               the hub does not list is "That level is not on this hub"
//   StepHubBrowse()             once a frame: the answer in, the next request out; a page or
//                               board the hub could not be reached for asked again every few seconds
//   RenewHubToken()             the player gives a lost token up (online_account): a new one, said in the note
//   HubBrowseLine()             the line under the list: what is under way, or went wrong
#pragma once

#include "game/online/online_answers.h"

const int HubBrowseRetryFrames = 3 * 60;   // a page the hub could not be reached for is asked again (~3 s)

enum { hubsort_new = 0, hubsort_plays, hubsort_rating, hubsort_count };

enum {
  hubbrowse_idle = 0,
  hubbrowse_listing,      // a page is on its way
  hubbrowse_board,        // a leaderboard is on its way
  hubbrowse_level,        // a level's text is on its way
  hubbrowse_race,         // the record's replay is on its way
  hubbrowse_rerun         // the record's replay is re-run, a part each frame, before play
};

struct HubBrowseRecord {
  int sort;                       // hubsort_*
  int page;                       // from 1
  HubLevelPage list;              // the page shown, the level of the day first on page 1 of the whole list
  bool listRead;                  // list holds an answer
  HubLevelEntry daily;            // the level of the day
  bool dailyRead;                 // daily holds one
  HubCall dailyCall;
  int boardRow;                   // the row whose leaderboard is in board; -1 for none
  HubBoard board;
  int busy;                       // hubbrowse_*
  int row;                        // the row the request is for
  bool race;                      // the level fetched is raced against its record
  bool linked;                    // the level was named by a link (FetchHubLevelById); the title screen waits on it
  std::string levelText;          // kept while the record's run is fetched
  char note[HubRefusalSize];      // what went wrong, "" when nothing did
  int retryBusy;                  // the page or board asked again once retryFrames run out; idle for none
  int retryFrames;
  HubCall call;
};
extern HubBrowseRecord HubBrowse;

// The order's name as the screen shows it: "newest", "most played", "best rated".
const char* HubSortName(int sort);

void OpenHubBrowse();
void AskHubPage(int sort, int page);
void AskHubBoard(int row);
void FetchHubLevel(int row, bool race);
void FetchHubLevelById(const char* id);
void StepHubBrowse();
void RenewHubToken();
const char* HubBrowseLine();
