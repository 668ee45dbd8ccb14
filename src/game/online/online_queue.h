// Room game/online: the game's side of the level hub: its requests and
// answers, the player's account, the runs kept, the results card's hub lines,
// the search, reports and pictures. Includes base, play, files and settings.
//
// online_queue: the requests the game makes of the level hub, as records. The
// game's modules put a request in a free slot and read its answer in a later
// frame; the platform's network driver (platform/hub_net) takes waiting
// requests, sends them without ever blocking a frame, and fills in the
// answers. Nothing here touches the network, so a test fills answers itself.
// Every answer has a bound on its size; the driver refuses one that grows
// past it. The hub's address is the "hub" setting; with none, nothing is sent.
//   HubRequest, HubRequests[]           the fixed table of requests
//   HubAsk(kind, method, path, body)     a request in a free slot, or -1
//   HubTakeWaiting()                     the driver takes the next one to send
//   HubAnswerBytes / HubAnswerTooLarge / HubAnswerDone / HubAnswerFailed   the driver's answer
//   HubRelease(slot)                     its reader is done with a slot
//   HubReachLine()                       "" or the one line about reaching the hub
#pragma once

#include <string>

const int HubMaxRequests = 8;          // requests in flight or unread at once
const int HubAddressSize = 200;        // bytes of the hub's address, terminator included
const int HubPathSize = 320;           // bytes of a request's path and query (a search's words escaped)
const int HubMaxAnswerBytes = 512 * 1024;   // the largest answer of any kind (a replay's text)
const int HubPictureMaxBytes = 256 * 1024;  // the largest level picture taken from the hub

// A slot released while its request is out is dropped until the driver is done with it.
enum { hubstate_free = 0, hubstate_waiting, hubstate_sent, hubstate_done, hubstate_failed, hubstate_dropped };
enum { hubmethod_get = 0, hubmethod_post };

// What a request is for: its reader, and the bound on its answer.
enum {
  hubask_levels = 0,   // a page of the level list
  hubask_level,        // a level's text
  hubask_records,      // a level's leaderboard
  hubask_replay,       // a run's replay, to race as a ghost
  hubask_register,     // the player's name
  hubask_publish,      // a level and its author run
  hubask_run,          // a finishing run
  hubask_daily,        // the level of the day
  hubask_picture,      // a level's picture (PNG)
  hubask_rating,       // the player's thumbs-up
  hubask_report,       // the player's report of a level
  hubask_try,          // a run that did not finish (online_tries)
  hubask_kinds
};

struct HubRequest {
  int state;                 // hubstate_*
  int kind;                  // hubask_*
  int method;                // hubmethod_*
  char path[HubPathSize];    // "/api/v1/...", appended to the hub's address
  std::string body;          // JSON for a POST
  int status;                // HTTP status of a done request
  std::string answer;        // the answer's bytes, at most HubAnswerLimit(kind)
  bool tooLarge;             // failed: the answer grew past its bound
  int serial;                // told apart from an earlier use of the slot
};

extern HubRequest HubRequests[HubMaxRequests];
extern char HubAddress[HubAddressSize];   // "" when no hub is set
extern bool HubUnreachable;               // the last request failed to reach the hub

// The most bytes an answer of that kind may have.
long HubAnswerLimit(int kind);

// Reads the "hub" setting into HubAddress (cut to "" when it does not fit or
// is not an http:// or https:// address).
void ReadHubSetting();

// A request in a free slot, waiting to be sent; -1 with no hub set or no free
// slot. The path must fit HubPathSize.
int HubAsk(int kind, int method, const char* path, const std::string& body);

// The next waiting request, now sent; -1 when none waits.
int HubTakeWaiting();

// More bytes of slot's answer; false (and the request failed, tooLarge) when
// they would pass its bound: the driver stops the transfer.
bool HubAnswerBytes(int slot, const char* bytes, size_t n);

// Slot's answer grew past its bound, and the driver stopped it: failed, tooLarge.
void HubAnswerTooLarge(int slot);

// The hub answered slot with status.
void HubAnswerDone(int slot, int status);

// Slot's request did not reach the hub (no network, refused, timed out).
void HubAnswerFailed(int slot);

// The slot is free again (its reader has the answer, or gave up waiting).
void HubRelease(int slot);

// True while slot still holds the request of that serial, unanswered.
bool HubPending(int slot, int serial);

// "The hub cannot be reached" after a failure until an answer comes; else "".
const char* HubReachLine();
