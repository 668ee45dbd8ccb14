// The table of hub requests and the answers the network driver fills in.
#include "game/online/online_queue.h"

#include <cstring>

#include "game/base/lang.h"
#include "game/settings/settings.h"

HubRequest HubRequests[HubMaxRequests];
char HubAddress[HubAddressSize];
bool HubUnreachable;

static int NextSerial = 1;

// Answers the game reads in one piece: a page of the list and a leaderboard
// are a few KiB, a level's text at most the hub's 128 KiB, a picture of at
// most 512 pixels a side far less than HubPictureMaxBytes.
static const long AnswerLimits[] = {
  64 * 1024,            // hubask_levels
  160 * 1024,           // hubask_level
  32 * 1024,            // hubask_records
  HubMaxAnswerBytes,    // hubask_replay
  4 * 1024,             // hubask_register
  4 * 1024,             // hubask_publish
  4 * 1024,             // hubask_run
  8 * 1024,             // hubask_daily
  HubPictureMaxBytes,   // hubask_picture
  4 * 1024,             // hubask_rating
  4 * 1024,             // hubask_report
  4 * 1024,             // hubask_try
};
static_assert(sizeof AnswerLimits / sizeof AnswerLimits[0] == hubask_kinds, "one entry per hubask_kinds");

long HubAnswerLimit(int kind)
{
  return kind >= 0 && kind < hubask_kinds ? AnswerLimits[kind] : 0;
}

void ReadHubSetting()
{
  HubAddress[0] = 0;
  const char* text = SettingText("hub");
  if (!text || strlen(text) >= (size_t)HubAddressSize)
    return;
  if (strncmp(text, "http://", 7) != 0 && strncmp(text, "https://", 8) != 0)
    return;
  strcpy(HubAddress, text);
  size_t len = strlen(HubAddress);
  while (len > 0 && HubAddress[len - 1] == '/')   // paths bring their own slash
    HubAddress[--len] = 0;
}

int HubAsk(int kind, int method, const char* path, const std::string& body)
{
  if (!HubAddress[0] || strlen(path) >= (size_t)HubPathSize)
    return -1;
  for (int i = 0; i < HubMaxRequests; i++) {
    HubRequest& r = HubRequests[i];
    if (r.state != hubstate_free)
      continue;
    r.state = hubstate_waiting;
    r.kind = kind;
    r.method = method;
    strcpy(r.path, path);
    r.body = body;
    r.status = 0;
    r.answer.clear();
    r.tooLarge = false;
    r.serial = NextSerial++;
    return i;
  }
  return -1;
}

int HubTakeWaiting()
{
  for (int i = 0; i < HubMaxRequests; i++)
    if (HubRequests[i].state == hubstate_waiting) {
      HubRequests[i].state = hubstate_sent;
      return i;
    }
  return -1;
}

bool HubAnswerBytes(int slot, const char* bytes, size_t n)
{
  HubRequest& r = HubRequests[slot];
  if (r.state != hubstate_sent)
    return false;
  if (r.answer.size() + n > (size_t)HubAnswerLimit(r.kind)) {
    HubAnswerTooLarge(slot);
    return false;
  }
  r.answer.append(bytes, n);
  return true;
}

void HubAnswerTooLarge(int slot)
{
  HubRequest& r = HubRequests[slot];
  if (r.state != hubstate_sent)
    return;   // a dropped request is freed by HubAnswerFailed
  r.state = hubstate_failed;
  r.tooLarge = true;
  r.answer.clear();
}

// A dropped request's slot comes free once the driver has finished with it.
static bool FreeDropped(HubRequest& r)
{
  if (r.state != hubstate_dropped)
    return false;
  r.state = hubstate_free;
  r.answer.clear();
  return true;
}

void HubAnswerDone(int slot, int status)
{
  HubRequest& r = HubRequests[slot];
  if (FreeDropped(r) || r.state != hubstate_sent)
    return;
  r.state = hubstate_done;
  r.status = status;
  HubUnreachable = false;
}

void HubAnswerFailed(int slot)
{
  HubRequest& r = HubRequests[slot];
  if (FreeDropped(r) || r.state != hubstate_sent)
    return;
  r.state = hubstate_failed;
  r.answer.clear();
  HubUnreachable = true;
}

void HubRelease(int slot)
{
  if (slot < 0 || slot >= HubMaxRequests)
    return;
  HubRequest& r = HubRequests[slot];
  r.state = r.state == hubstate_sent ? hubstate_dropped : hubstate_free;
}

bool HubPending(int slot, int serial)
{
  if (slot < 0 || slot >= HubMaxRequests || HubRequests[slot].serial != serial)
    return false;
  int state = HubRequests[slot].state;
  return state == hubstate_waiting || state == hubstate_sent;
}

const char* HubReachLine()
{
  return HubUnreachable ? Tr("The hub cannot be reached") : "";
}
