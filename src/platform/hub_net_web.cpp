// The browser's hub requests: the page's fetch (Module.hubFetch in
// platform_web.js) runs them beside the frames; each frame looks at which
// have finished and copies their answers into the queue. On a page the hub
// served (/play/LEVELID) the hub is the page's own origin.
#include "platform/hub_net.h"

#include <emscripten.h>
#include <string>

#include "game/online/online_account.h"
#include "game/online/online_queue.h"

static const int FetchWaiting = -2;   // Module.hubFetchState: not finished yet
static const int FetchFailed = -1;    // ... did not reach the hub
static const int FetchTooLarge = -3;  // ... stopped as its answer grew past its bound
static bool Started;

void StartHubNet()
{
  if (!HubAddress[0])
    EM_ASM({ Module['hubOrigin']($0, $1); }, HubAddress, HubAddressSize);
  Started = HubAddress[0] != 0;
}

void DriveHubNet()
{
  if (!Started)
    return;
  for (int slot = HubTakeWaiting(); slot >= 0; slot = HubTakeWaiting()) {
    HubRequest& r = HubRequests[slot];
    std::string url = std::string(HubAddress) + r.path;
    EM_ASM({ Module['hubFetch']($0, UTF8ToString($1), $2, UTF8ToString($3), UTF8ToString($4), $5); }, slot,
           url.c_str(), r.method == hubmethod_post, r.body.c_str(), HubToken, HubAnswerLimit(r.kind));
  }
  for (int slot = 0; slot < HubMaxRequests; slot++) {
    int state = HubRequests[slot].state;
    if (state != hubstate_sent && state != hubstate_dropped)
      continue;
    int status = EM_ASM_INT({ return Module['hubFetchState']($0); }, slot);
    if (status == FetchWaiting)
      continue;
    int length = EM_ASM_INT({ return Module['hubFetchLength']($0); }, slot);
    std::string answer(length, '\0');
    EM_ASM({ Module['hubFetchCopy']($0, $1); }, slot, &answer[0]);
    if (status == FetchTooLarge)
      HubAnswerTooLarge(slot);   // failed already, unless it was dropped: freed next
    if (status == FetchFailed || status == FetchTooLarge || !HubAnswerBytes(slot, answer.data(), answer.size()))
      HubAnswerFailed(slot);
    else
      HubAnswerDone(slot, status);
  }
}

void StopHubNet()
{
}
