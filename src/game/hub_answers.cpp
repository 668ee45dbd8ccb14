// The hub's answers into records, through nlohmann-json.
#include "game/hub_answers.h"

#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "game/hub_queue.h"
#include "game/lang.h"
#include "game/utf8.h"

using Json = nlohmann::json;

bool StartHubCall(HubCall* call, int kind, int method, const char* path, const std::string& body)
{
  call->slot = HubAsk(kind, method, path, body);
  call->serial = call->slot >= 0 ? HubRequests[call->slot].serial : 0;
  return call->slot >= 0;
}

int PollHubCall(const HubCall* call)
{
  if (call->slot < 0 || call->slot >= HubMaxRequests || HubRequests[call->slot].serial != call->serial)
    return hubcall_idle;
  switch (HubRequests[call->slot].state) {
  case hubstate_waiting:
  case hubstate_sent: return hubcall_waiting;
  case hubstate_done: return hubcall_done;
  case hubstate_failed: return hubcall_failed;
  default: return hubcall_idle;
  }
}

bool AskHubName(HubCall* call, const char* name)
{
  return StartHubCall(call, hubask_register, hubmethod_post, "/api/v1/players", HubJsonBody("name", name, nullptr, ""));
}

void EndHubCall(HubCall* call)
{
  if (PollHubCall(call) != hubcall_idle)
    HubRelease(call->slot);
  call->slot = -1;
}

bool FinishHubCall(HubCall* call, void (*read)(const HubRequest&), void (*failed)())
{
  int polled = PollHubCall(call);
  if (polled == hubcall_waiting || polled == hubcall_idle)
    return false;
  HubCall answered = *call;
  call->slot = -1;
  if (polled == hubcall_done)
    read(HubRequests[answered.slot]);
  else
    failed();
  EndHubCall(&answered);
  return true;
}

// The JSON of an answer; a discarded value when it is not JSON.
static Json Parse(const std::string& text)
{
  return Json::parse(text, nullptr, false);
}

// A number field as an int; 0 when absent, null or not a whole number in range.
static int IntField(const Json& object, const char* key)
{
  auto it = object.find(key);
  if (it == object.end() || !it->is_number_integer())
    return 0;
  long long value = it->get<long long>();
  return value >= 0 && value <= 1000000000 ? (int)value : 0;
}

// A string field into out (size bytes), cut at a whole character; "" when absent.
static void TextField(const Json& object, const char* key, char* out, int size)
{
  out[0] = 0;
  auto it = object.find(key);
  if (it == object.end() || !it->is_string())
    return;
  const std::string& s = it->get_ref<const std::string&>();
  int n = Utf8FitBytes(s.c_str(), size - 1);
  memcpy(out, s.data(), n);
  out[n] = 0;
  for (int i = 0; i < n; i++)
    if ((unsigned char)out[i] < ' ')
      out[i] = ' ';   // a line break in a title stays on its row
}

// A run's id, a number or a string, as the text of its path.
static void RunIdField(const Json& object, char* out, int size)
{
  auto it = object.find("run");
  if (it != object.end() && it->is_number_integer())
    snprintf(out, size, "%lld", it->get<long long>());
  else
    TextField(object, "run", out, size);
}

bool ReadHubLevelPage(const std::string& text, HubLevelPage* out)
{
  out->count = 0;
  out->more = false;
  Json j = Parse(text);
  if (!j.is_object() || !j.contains("levels") || !j["levels"].is_array())
    return false;
  out->more = j.value("more", false);
  for (const Json& level : j["levels"]) {
    if (out->count == HubPageLevels || !level.is_object())
      break;
    HubLevelEntry& e = out->levels[out->count];
    char id[HubTextSize];
    TextField(level, "id", id, sizeof id);
    if (!IsLevelIdText(id))
      continue;   // a row that could not be fetched is no row
    strcpy(e.id, id);
    TextField(level, "title", e.title, sizeof e.title);
    TextField(level, "author", e.author, sizeof e.author);
    e.width = IntField(level, "width");
    e.height = IntField(level, "height");
    e.plays = IntField(level, "plays");
    e.finishes = IntField(level, "finishes");
    e.rating = IntField(level, "rating");
    e.record = IntField(level, "record");
    e.authorScore = IntField(level, "author_score");
    e.best = 0;
    out->count++;
  }
  return true;
}

bool ReadHubBoard(const std::string& text, HubBoard* out)
{
  out->count = out->playerRank = out->playerScore = 0;
  Json j = Parse(text);
  if (!j.is_object() || !j.contains("records") || !j["records"].is_array())
    return false;
  for (const Json& row : j["records"]) {
    if (out->count == HubBoardRows || !row.is_object())
      break;
    HubBoardRow& r = out->rows[out->count++];
    r.rank = IntField(row, "rank");
    r.score = IntField(row, "score");
    TextField(row, "name", r.name, sizeof r.name);
    RunIdField(row, r.run, sizeof r.run);
  }
  auto player = j.find("player");
  if (player != j.end() && player->is_object()) {
    out->playerRank = IntField(*player, "rank");
    out->playerScore = IntField(*player, "score");
  }
  return true;
}

bool ReadHubRunAnswer(const std::string& text, HubRunAnswer* out)
{
  Json j = Parse(text);
  if (!j.is_object() || !j.contains("rank"))
    return false;
  out->score = IntField(j, "score");
  out->best = IntField(j, "best");
  out->rank = IntField(j, "rank");
  out->record = IntField(j, "record");
  return out->rank > 0;
}

bool ReadHubPublishedId(const std::string& text, LevelId out)
{
  Json j = Parse(text);
  char id[HubTextSize] = "";
  if (j.is_object())
    TextField(j, "id", id, sizeof id);
  if (!IsLevelIdText(id))
    return false;
  strcpy(out, id);
  return true;
}

void HubRefusal(const std::string& text, int status, char out[HubRefusalSize])
{
  Json j = Parse(text);
  if (j.is_object())
    TextField(j, "error", out, HubRefusalSize);
  else
    out[0] = 0;
  if (!out[0])
    snprintf(out, HubRefusalSize, Tr("The hub answered %d"), status);
}

std::string HubJsonBody(const char* k1, const std::string& v1, const char* k2, const std::string& v2)
{
  Json j = Json::object();
  j[k1] = v1;
  if (k2)
    j[k2] = v2;
  // A title that is not UTF-8 is written with replacement characters, never refused mid-frame.
  return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}
