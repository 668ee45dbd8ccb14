// The desktop's hub requests: libcurl's multi interface, performed once a
// frame. curl_multi_perform only does what the sockets allow at once, and
// the threaded resolver keeps name look-ups off the frame too.
#include "platform/hub_net.h"

#include <curl/curl.h>
#include <string>

#include "game/online/online_account.h"
#include "game/online/online_queue.h"

static CURLM* Multi;
static CURL* Transfers[HubMaxRequests];          // the transfer of each slot; null when none
static curl_slist* TransferHeaders[HubMaxRequests];
static int SentSerial[HubMaxRequests];           // the request a transfer belongs to
static std::string TransferUrl[HubMaxRequests];

// libcurl's write callback: the slot's bound decides; returning less than
// given stops the transfer.
static size_t TakeAnswerBytes(char* bytes, size_t size, size_t count, void* slotPointer)
{
  int slot = (int)(intptr_t)slotPointer;
  if (HubRequests[slot].serial != SentSerial[slot])
    return 0;
  return HubAnswerBytes(slot, bytes, size * count) ? size * count : 0;
}

static void EndTransfer(int slot)
{
  curl_multi_remove_handle(Multi, Transfers[slot]);
  curl_easy_cleanup(Transfers[slot]);
  curl_slist_free_all(TransferHeaders[slot]);
  Transfers[slot] = nullptr;
  TransferHeaders[slot] = nullptr;
}

static void BeginTransfer(int slot)
{
  HubRequest& r = HubRequests[slot];
  CURL* easy = curl_easy_init();
  if (!easy) {
    HubAnswerFailed(slot);
    return;
  }
  TransferUrl[slot] = std::string(HubAddress) + r.path;
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
  if (HubToken[0])
    headers = curl_slist_append(headers, (std::string("Authorization: Bearer ") + HubToken).c_str());
  curl_easy_setopt(easy, CURLOPT_URL, TransferUrl[slot].c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, HubConnectSeconds);
  curl_easy_setopt(easy, CURLOPT_TIMEOUT, HubAnswerSeconds);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, TakeAnswerBytes);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, (void*)(intptr_t)slot);
  if (r.method == hubmethod_post) {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, (long)r.body.size());
    curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, r.body.c_str());
  }
  Transfers[slot] = easy;
  TransferHeaders[slot] = headers;
  SentSerial[slot] = r.serial;
  curl_multi_add_handle(Multi, easy);
}

void StartHubNet()
{
  if (!HubAddress[0] || curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
    return;
  Multi = curl_multi_init();
}

void DriveHubNet()
{
  if (!Multi)
    return;
  for (int slot = HubTakeWaiting(); slot >= 0; slot = HubTakeWaiting())
    BeginTransfer(slot);
  int running = 0;
  curl_multi_perform(Multi, &running);
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(Multi, &left)) {
    if (message->msg != CURLMSG_DONE)
      continue;
    int slot = 0;
    while (slot < HubMaxRequests && Transfers[slot] != message->easy_handle)
      slot++;
    if (slot == HubMaxRequests)
      continue;
    long status = 0;
    curl_easy_getinfo(message->easy_handle, CURLINFO_RESPONSE_CODE, &status);
    bool answered = message->data.result == CURLE_OK && status > 0;
    EndTransfer(slot);   // the slot may be used again from here on
    if (answered)
      HubAnswerDone(slot, (int)status);
    else
      HubAnswerFailed(slot);   // an answer refused for its size has failed already
  }
}

void StopHubNet()
{
  if (!Multi)
    return;
  for (int slot = 0; slot < HubMaxRequests; slot++)
    if (Transfers[slot])
      EndTransfer(slot);
  curl_multi_cleanup(Multi);
  Multi = nullptr;
  curl_global_cleanup();
}
