// online_answers: the level hub's JSON answers read into fixed records, and the
// JSON bodies the game sends. nlohmann-json reads and writes them (it
// allocates, which is fine: no answer is read during a frame of play). Every
// reader takes the answer's text as the queue holds it, keeps only what fits
// its record (texts cut at a character's end) and is false, with its record
// empty, for an answer that is not what it should be: not JSON, a field
// needed and missing, a field of another type, a number out of its range.
// Nothing an answer holds makes a reader throw.
//   HubCall, StartHubCall, PollHubCall, FinishHubCall   one request a screen waits on
//   HubLevelEntry, HubLevelPage          a page of the level list
//   HubBoard                             a level's leaderboard
//   HubRunAnswer                         what the hub made of a run
//   ReadHubLevelPage / ReadHubLevelRow / ReadHubBoard / ReadHubRunAnswer / ReadHubPublishedId
//   HubUnreadLine()                      what the player is told of an answer refused
//   HubRefusal(text, out)                the hub's {"error"} cause, or the status
//   HubJsonBody(k1, v1, k2, v2)          {"k1": v1, "k2": v2} with the values escaped
#pragma once

#include <string>

#include "game/files/level_id.h"

const int HubPageLevels = 20;      // the hub's page
const int HubBoardRows = 10;       // records asked for
const int HubTextSize = 64;        // bytes kept of a title or a name, terminator included
const int HubRefusalSize = 120;    // bytes kept of a refusal's cause
const int HubMostNumber = 1000000000;   // the largest count, score or rank an answer may hold

// A request a screen waits on: its slot, told from a later use of the slot.
struct HubCall {
  int slot;     // -1 when none is out
  int serial;
};

enum { hubcall_idle = 0, hubcall_waiting, hubcall_done, hubcall_failed };

// Puts the request in the queue; false (call idle) when there is no hub or no room.
bool StartHubCall(HubCall* call, int kind, int method, const char* path, const std::string& body);

// hubcall_waiting until the answer is in; then done (status and answer in
// the slot) or failed, and the caller releases the slot with EndHubCall.
int PollHubCall(const HubCall* call);

// The request that registers name for the player's token (typed on the
// results card or the editor's bar); false as StartHubCall.
bool AskHubName(HubCall* call, const char* name);

// Frees the call's slot (an answer still coming is dropped).
void EndHubCall(HubCall* call);

// Once the call's answer is in: read gets the request when the hub
// answered, failed is called when it could not be reached, and the call is
// ended after either (so read may start the next call). False while waiting.
bool FinishHubCall(HubCall* call, void (*read)(const struct HubRequest&), void (*failed)());

struct HubLevelEntry {
  LevelId id;
  char title[HubTextSize];
  char author[HubTextSize];
  int width, height;
  int plays, finishes, rating;
  int record;         // the best score; 0 without one
  int authorScore;    // the author run's score; 0 without one
  int shipped;        // the shipped level's number 1..15 it is; 0 for another level
  int best;           // the player's own best (online_play, or a shipped level's); 0 for none
  int tried;          // players who played it
  int clearPercent;   // of them, the share who finished it, 0..100 (rounded down); -1 when unknown
  bool daily;         // the level of the day, shown above the page
};

// A page as the screen shows it: the hub's rows, after the level of the day on page 1.
const int HubListRows = HubPageLevels + 1;

struct HubLevelPage {
  int count;          // entries filled
  bool more;          // a next page exists
  HubLevelEntry levels[HubListRows];
};

struct HubBoardRow {
  int rank, score;
  char name[HubTextSize];
  char run[HubTextSize];   // the run's id, to fetch its replay
};

struct HubBoard {
  int count;
  HubBoardRow rows[HubBoardRows];
  int playerRank;     // the player's own rank; 0 before a finish
  int playerScore;
};

struct HubRunAnswer {
  int score, best, rank, record;
};

// A page of at most HubPageLevels rows. Every row's "tried", "finishes" and
// "clear_rate" (a number 0..1) may be absent (an older hub): clearPercent -1.
bool ReadHubLevelPage(const std::string& text, HubLevelPage* out);
// One level row alone (the level of the day), daily false; false (out
// empty) as a page's reader would refuse it, or for a row without a valid id.
bool ReadHubLevelRow(const std::string& text, HubLevelEntry* out);
bool ReadHubBoard(const std::string& text, HubBoard* out);
bool ReadHubRunAnswer(const std::string& text, HubRunAnswer* out);
bool ReadHubPublishedId(const std::string& text, LevelId out);

// "The hub's answer could not be read": the one line for any answer a reader refused.
const char* HubUnreadLine();

// The cause in an {"error"} answer, else "The hub answered STATUS".
void HubRefusal(const std::string& text, int status, char out[HubRefusalSize]);

// A JSON object of one or two string fields (k2 null for one).
std::string HubJsonBody(const char* k1, const std::string& v1, const char* k2, const std::string& v2);
