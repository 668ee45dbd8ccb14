// Feeds arbitrary bytes to the level hub's request readers; the first byte
// picks which: the JSON body, the Authorization header, a player's name, a
// query string's numbers and sort, a level's text, or a replay's text re-run
// on a small level. Each answer is checked against what the reader promises:
// bounded fields, a token within its length, a canonical level that reads
// back to itself, a run that stays within the frame limit.
#include "fuzz_check.h"
#include "hub/hub_game.h"
#include "hub/hub_ids.h"
#include "hub/hub_requests.h"

#include <cstdint>
#include <cstdlib>
#include <string>

static const GameLimits Limits = {4096, 2000, 4096, 2000, 256};
static const char SmallLevel[] = "Fuzz\n6\n4\nbbbbbb\nbjaalb\nbbbbbb\nbbbbbb\n";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  std::string text((const char*)data + 1, size - 1), why, token;
  Body body;
  Verdict v;
  switch (data[0] % 6) {
  case 0:
    if (ReadJsonBody(text, &body, &why)) {
      CHECK(body.count >= 0 && body.count <= MaxBodyFields);
      for (int i = 0; i < body.count; i++)
        for (int k = i + 1; k < body.count; k++)
          CHECK(body.fields[i].name != body.fields[k].name);
    } else {
      CHECK(!why.empty() && body.count == 0);
    }
    break;
  case 1:
    if (ReadBearer(text, &token, &why))
      CHECK((int)token.size() >= MinTokenLength && (int)token.size() <= MaxTokenLength &&
            text.size() == token.size() + 7 && TokenHash(token).size() == 64);
    break;
  case 2:
    if (CheckName(text, &why))
      CHECK((int)text.size() >= MinNameLength && (int)text.size() <= MaxNameLength &&
            NameKey(text).size() == text.size() && NameKey(NameKey(text)) == NameKey(text));
    break;
  case 3: {
    long long n = ReadCount(text, 1, 500);
    CHECK(n == -1 || (n >= 1 && n <= 500 && atoll(text.c_str()) == n));
    int sort = ReadSort(text);
    CHECK(sort >= -1 && sort <= sort_rating);
    break;
  }
  case 4:
    JudgeSubmission(Limits, text, nullptr, &v);
    if (v.error == verdict_ok) {
      CHECK((long)v.width * v.height <= Limits.maxLevelCells && v.title.find('\n') == std::string::npos);
      Verdict again;
      JudgeSubmission(Limits, v.level, nullptr, &again);
      CHECK(again.error == verdict_ok && again.level == v.level && LevelIdOf(again.level) == LevelIdOf(v.level));
    } else {
      CHECK(v.error <= verdict_refused && !v.why.empty());
    }
    break;
  default:
    JudgeSubmission(Limits, SmallLevel, &text, &v);
    CHECK(v.frames >= 0 && v.frames <= Limits.maxReplayFrames);
    CHECK(v.error == verdict_ok ? v.finished && v.score >= 0 : !v.why.empty());
    break;
  }
  return 0;
}
