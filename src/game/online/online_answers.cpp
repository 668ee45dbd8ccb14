// The hub's answers into records, through nlohmann-json.
#include "game/online/online_answers.h"

#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "game/base/lang.h"
#include "game/base/utf8.h"
#include "game/files/level_files.h"
#include "game/online/online_queue.h"

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

// Every field of an answer is read through the accessors below, which never
// throw: a field that is needed but absent, or of another type than its own,
// or a number outside 0..HubMostNumber marks the answer bad, and its reader
// refuses it whole.
static bool AnswerBad;

enum { field_needed = 0, field_nullable };   // nullable: absent or null reads as 0 or ""

// The field's value; null when it is absent or null (bad when it was needed).
static const Json* Field(const Json& object, const char* key, int need)
{
  auto it = object.is_object() ? object.find(key) : object.end();
  if (it != object.end() && !it->is_null())
    return &*it;
  if (need == field_needed)
    AnswerBad = true;
  return nullptr;
}

// A whole number in 0..HubMostNumber; 0 for an absent nullable one.
static int IntField(const Json& object, const char* key, int need)
{
  const Json* v = Field(object, key, need);
  if (!v)
    return 0;
  // nlohmann keeps a whole number without a sign as unsigned, one with a minus sign as signed.
  const Json::number_unsigned_t* unsignedWhole = v->get_ptr<const Json::number_unsigned_t*>();
  const Json::number_integer_t* signedWhole = v->get_ptr<const Json::number_integer_t*>();
  if (unsignedWhole && *unsignedWhole <= (Json::number_unsigned_t)HubMostNumber)
    return (int)*unsignedWhole;
  if (signedWhole && *signedWhole >= 0 && *signedWhole <= HubMostNumber)
    return (int)*signedWhole;
  AnswerBad = true;
  return 0;
}

// A string field into out (size bytes), cut at a whole character; "" for an absent nullable one.
static void TextField(const Json& object, const char* key, int need, char* out, int size)
{
  out[0] = 0;
  const Json* v = Field(object, key, need);
  const Json::string_t* s = v ? v->get_ptr<const Json::string_t*>() : nullptr;
  if (!s) {
    AnswerBad = AnswerBad || v;
    return;
  }
  int n = Utf8FitBytes(s->c_str(), size - 1);
  memcpy(out, s->data(), n);
  out[n] = 0;
  for (int i = 0; i < n; i++)
    if ((unsigned char)out[i] < ' ')
      out[i] = ' ';   // a line break in a title stays on its row
}

// A true or false field; false when absent.
static bool FlagField(const Json& object, const char* key)
{
  const Json* v = Field(object, key, field_nullable);
  const Json::boolean_t* flag = v ? v->get_ptr<const Json::boolean_t*>() : nullptr;
  AnswerBad = AnswerBad || (v && !flag);
  return flag && *flag;
}

// A field that holds a list or (kind object) an object; null when absent or another type.
static const Json* PartField(const Json& object, const char* key, int need, Json::value_t kind)
{
  const Json* v = Field(object, key, need);
  if (v && v->type() != kind) {
    AnswerBad = true;
    return nullptr;
  }
  return v;
}

// A run's id, a number or a string, as the text of its path.
static void RunIdField(const Json& object, char* out, int size)
{
  const Json* v = Field(object, "run", field_needed);
  if (v && v->is_number())
    snprintf(out, size, "%d", IntField(object, "run", field_needed));
  else
    TextField(object, "run", field_needed, out, size);
}

const char* HubUnreadLine()
{
  return Tr("The hub's answer could not be read");
}

// A share 0..1 as whole percent, rounded down; -1 when absent.
static int ShareField(const Json& object, const char* key)
{
  const Json* v = Field(object, key, field_nullable);
  if (!v)
    return -1;
  double share = v->is_number() ? v->get<double>() : -1;
  if (!(share >= 0 && share <= 1)) {
    AnswerBad = true;
    return -1;
  }
  return (int)(share * 100 + 1e-9);   // 0.29 is 29 %, though it is 0.28999... in binary
}

// One row of the list into e; false for a row without a valid id (or a bad answer).
static bool ReadLevelRow(const Json& level, HubLevelEntry& e)
{
  e = HubLevelEntry();
  char id[HubTextSize];
  TextField(level, "id", field_needed, id, sizeof id);
  if (!IsLevelIdText(id))
    return false;
  strcpy(e.id, id);
  TextField(level, "title", field_needed, e.title, sizeof e.title);
  TextField(level, "author", field_needed, e.author, sizeof e.author);
  e.width = IntField(level, "width", field_needed);
  e.height = IntField(level, "height", field_needed);
  e.plays = IntField(level, "plays", field_needed);
  e.finishes = IntField(level, "finishes", field_needed);
  e.rating = IntField(level, "rating", field_needed);
  e.record = IntField(level, "record", field_nullable);
  e.authorScore = IntField(level, "author_score", field_nullable);
  e.shipped = IntField(level, "shipped", field_nullable);
  if (e.shipped > ShippedLevelCount)
    e.shipped = 0;   // not a level this game shipped
  e.tried = IntField(level, "tried", field_nullable);
  e.clearPercent = ShareField(level, "clear_rate");
  if (e.tried == 0)
    e.clearPercent = -1;   // no one has tried it: no share to speak of
  return !AnswerBad;
}

bool ReadHubLevelPage(const std::string& text, HubLevelPage* out)
{
  *out = HubLevelPage();
  AnswerBad = false;
  Json j = Parse(text);
  const Json* levels = PartField(j, "levels", field_needed, Json::value_t::array);
  out->more = FlagField(j, "more");
  for (size_t i = 0; levels && i < levels->size() && out->count < HubPageLevels && !AnswerBad; i++)
    if (ReadLevelRow((*levels)[i], out->levels[out->count]))
      out->count++;   // a row that could not be fetched is no row
  if (AnswerBad)
    *out = HubLevelPage();
  return !AnswerBad;
}

bool ReadHubLevelRow(const std::string& text, HubLevelEntry* out)
{
  AnswerBad = false;
  Json j = Parse(text);
  const Json* level = PartField(j, "level", field_nullable, Json::value_t::object);   // wrapped or bare
  bool read = ReadLevelRow(level ? *level : j, *out);
  if (!read)
    *out = HubLevelEntry();
  return read;
}

bool ReadHubBoard(const std::string& text, HubBoard* out)
{
  *out = HubBoard();
  AnswerBad = false;
  Json j = Parse(text);
  const Json* records = PartField(j, "records", field_needed, Json::value_t::array);
  for (size_t i = 0; records && i < records->size() && out->count < HubBoardRows; i++) {
    const Json& row = (*records)[i];
    HubBoardRow& r = out->rows[out->count++];
    r.rank = IntField(row, "rank", field_needed);
    r.score = IntField(row, "score", field_needed);
    TextField(row, "name", field_needed, r.name, sizeof r.name);
    RunIdField(row, r.run, sizeof r.run);
  }
  const Json* player = PartField(j, "player", field_nullable, Json::value_t::object);
  if (player) {
    out->playerRank = IntField(*player, "rank", field_needed);
    out->playerScore = IntField(*player, "score", field_needed);
  }
  if (AnswerBad)
    *out = HubBoard();
  return !AnswerBad;
}

bool ReadHubRunAnswer(const std::string& text, HubRunAnswer* out)
{
  AnswerBad = false;
  Json j = Parse(text);
  out->score = IntField(j, "score", field_needed);
  out->best = IntField(j, "best", field_needed);
  out->rank = IntField(j, "rank", field_needed);
  out->record = IntField(j, "record", field_needed);
  if (AnswerBad || out->rank < 1)
    *out = HubRunAnswer();
  return out->rank > 0;
}

bool ReadHubPublishedId(const std::string& text, LevelId out)
{
  char id[HubTextSize];
  TextField(Parse(text), "id", field_needed, id, sizeof id);
  if (!IsLevelIdText(id))
    return false;
  strcpy(out, id);
  return true;
}

void HubRefusal(const std::string& text, int status, char out[HubRefusalSize])
{
  TextField(Parse(text), "error", field_nullable, out, HubRefusalSize);
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
