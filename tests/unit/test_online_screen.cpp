// The Online screen's hub parts without a network: the search's query for
// any words, the level of the day placed above page 1, the pictures' slots,
// bounds and cache folder, the card's thumbs-up and a level's report.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "game/lobby/online_browse.h"
#include "game/online/online_account.h"
#include "game/online/online_card.h"
#include "game/online/online_pictures.h"
#include "game/online/online_queue.h"
#include "game/online/online_report.h"
#include "game/online/online_search.h"
#include "game/online/online_vote.h"
#include "test_support.h"

namespace {

void ResetQueue(const char* address)
{
  for (int i = 0; i < HubMaxRequests; i++)
    HubRequests[i] = HubRequest();
  snprintf(HubAddress, sizeof HubAddress, "%s", address);
}

// The waiting request for path answered; false when none waits for it.
bool AnswerPath(const std::string& path, int status, const std::string& text)
{
  for (HubRequest& r : HubRequests)
    if (r.state == hubstate_waiting && r.path == path) {
      r.state = hubstate_sent;
      int slot = (int)(&r - HubRequests);
      HubAnswerBytes(slot, text.data(), text.size());
      HubAnswerDone(slot, status);
      return true;
    }
  return false;
}

std::string Row(const char* id, int plays)
{
  return std::string("{\"id\": \"") + id + "\", \"title\": \"T\", \"author\": \"A\", \"width\": 9, \"height\": 9, " +
         "\"plays\": " + std::to_string(plays) + ", \"finishes\": 1, \"rating\": 0, \"tried\": 4, \"clear_rate\": 0.29}";
}

// A PNG's opening with its header's width and height; the rest is never read before decoding.
std::string PngOf(long w, long h)
{
  std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (long v : {w, h})
    for (int shift = 24; shift >= 0; shift -= 8)
      png += (char)((v >> shift) & 0xff);
  return png + std::string(5, '\0');
}

// Any words make a path that fits, holds them escaped so that they read back
// whole, and names each filter in force and no other.
TEST(HubSearch, AnyWordsMakeAFittingQueryThatReadsBack)
{
  std::mt19937 random(7);
  for (int n = 0; n < 2000; n++) {
    std::string words;
    for (int k = random() % HubSearchSize; k > 0; k--)
      words += (char)(1 + random() % 255);
    snprintf(HubSearch.words, sizeof HubSearch.words, "%s", words.c_str());
    HubSearch.size = random() % hubsize_count;
    HubSearch.difficulty = random() % hubdifficulty_count;
    char path[HubPathSize];
    ASSERT_TRUE(HubListPath("rating", 99, path)) << words;
    std::string p = path, q;
    size_t at = p.find("&q=");
    EXPECT_EQ(at != std::string::npos, HubSearch.words[0] != 0);
    for (size_t i = at == std::string::npos ? p.size() : at + 3; i < p.size() && p[i] != '&'; i++) {
      ASSERT_TRUE(isalnum((unsigned char)p[i]) || strchr("-._~%", p[i])) << p;
      q += p[i] == '%' ? (char)std::stoi(p.substr(i + 1, 2), nullptr, 16) : p[i];
      i += p[i] == '%' ? 2 : 0;
    }
    EXPECT_EQ(q, HubSearch.words);
    EXPECT_EQ(p.find("&size=") != std::string::npos, HubSearch.size != hubsize_any);
    EXPECT_EQ(p.find("&difficulty=") != std::string::npos, HubSearch.difficulty != hubdifficulty_any);
  }
  char small[4];
  EXPECT_FALSE(EscapeQueryText("a b", small, sizeof small));
  EXPECT_STREQ(small, "") << "an escape that does not fit is no escape";
  HubSearch = HubSearchRecord();
}

// The level of the day comes first on page 1 of the whole list, once, and
// not at all on another page, in a narrowed list, or when the hub has none.
TEST(HubBrowse, TheLevelOfTheDayLeadsPageOneOfTheWholeList)
{
  ScratchDir dir;
  const char* const daily = "dddddddddddddddd";
  std::string page = "{\"more\": false, \"levels\": [" + Row("aaaaaaaaaaaaaaaa", 3) + "," + Row(daily, 2) + "]}";
  for (int narrowed = 0; narrowed < 2; narrowed++)
    for (int dailyStatus : {200, 404}) {
      ResetQueue("http://127.0.0.1:9");
      HubBrowse = HubBrowseRecord();
      HubSearch.size = narrowed ? hubsize_small : hubsize_any;
      OpenHubBrowse();
      ASSERT_TRUE(AnswerPath("/api/v1/daily", dailyStatus, Row(daily, 2)));
      StepHubBrowse();
      ASSERT_TRUE(AnswerPath(narrowed ? "/api/v1/levels?sort=new&page=1&size=small" : "/api/v1/levels?sort=new&page=1",
                             200, page));
      StepHubBrowse();
      bool first = !narrowed && dailyStatus == 200;
      ASSERT_EQ(HubBrowse.list.count, 2) << "shown once";
      EXPECT_EQ(HubBrowse.list.levels[0].daily, first);
      EXPECT_STREQ(HubBrowse.list.levels[first ? 0 : 1].id, daily);
      EXPECT_EQ(HubBrowse.list.levels[1].clearPercent, 29);
    }
  HubSearch = HubSearchRecord();
  ResetQueue("");
}

// Pictures: a slot per level wanted, at most a few requests out, a picture
// refused for its size or its bytes, one taken kept in the cache folder and
// read from there the next time without asking the hub.
TEST(HubPictures, BoundedFetchesCheckedBytesAndTheCacheFolder)
{
  ScratchDir dir;
  ResetQueue("http://127.0.0.1:9");
  snprintf(Places.cache, sizeof Places.cache, "%s", "cache/deep");
  Places.makeFolders = true;
  int w, h;
  EXPECT_TRUE(HubPictureSize(PngOf(HubPictureMaxSide, 1), &w, &h) && w == HubPictureMaxSide && h == 1);
  for (const std::string& bad : {PngOf(HubPictureMaxSide + 1, 9), PngOf(9, 0), PngOf(1L << 31, 9),
                                 PngOf(9, 9).substr(0, 20), "GIF89a" + PngOf(9, 9).substr(6)})
    EXPECT_FALSE(HubPictureSize(bad, &w, &h));

  const char* const ids[] = {"aaaaaaaaaaaaaaaa", "bbbbbbbbbbbbbbbb", "cccccccccccccccc"};
  for (int frame = 0; frame < 4; frame++) {
    for (const char* id : ids)
      EXPECT_GE(WantHubPicture(id), 0);
    StepHubPictures();
  }
  EXPECT_EQ(WantHubPicture("../../etc/passw"), -1);
  int asked = 0;
  for (const HubRequest& r : HubRequests)
    asked += r.state == hubstate_waiting;
  EXPECT_EQ(asked, HubPictureFetches);
  EXPECT_TRUE(AnswerPath("/levels/aaaaaaaaaaaaaaaa.png", 200, PngOf(HubPictureMaxSide + 1, 9)));
  int slot = -1;
  for (int i = 0; i < HubMaxRequests; i++)
    slot = HubRequests[i].state == hubstate_waiting ? i : slot;
  HubRequests[slot].state = hubstate_sent;
  std::string big(HubPictureMaxBytes + 1, 'x');
  EXPECT_FALSE(HubAnswerBytes(slot, big.data(), big.size())) << "an answer past its bound";
  HubAnswerFailed(slot);
  for (int frame = 0; frame < 2; frame++) {
    StepHubPictures();
    AnswerPath("/levels/cccccccccccccccc.png", 200, PngOf(64, 48));
  }
  StepHubPictures();
  int c = WantHubPicture(ids[2]);
  EXPECT_EQ(HubPictures[WantHubPicture(ids[0])].state, hubpicture_missing) << "too large a picture";
  EXPECT_EQ(HubPictures[WantHubPicture(ids[1])].state, hubpicture_missing) << "too large an answer";
  EXPECT_EQ(HubPictures[c].state, hubpicture_bytes);
  EXPECT_EQ(ReadFile("cache/deep/pictures/cccccccccccccccc.png"), PngOf(64, 48));

  for (HubPicture& p : HubPictures)
    p = HubPicture();
  WantHubPicture(ids[2]);
  StepHubPictures();
  EXPECT_EQ(HubTakeWaiting(), -1) << "a kept picture is not asked for again";
  EXPECT_EQ(HubPictures[WantHubPicture(ids[2])].height, 48);

  // More levels wanted in one frame than there are slots: the rest wait, none is taken from another.
  for (int i = 0; i < HubPictureSlots + 2; i++) {
    std::string id(LevelIdChars, (char)('a' + i));
    int got = WantHubPicture(id.c_str());
    EXPECT_EQ(got >= 0, i < HubPictureSlots) << i;
  }
  for (HubPicture& p : HubPictures)
    p = HubPicture();
  Places.cache[0] = 0;
  Places.makeFolders = false;
  ResetQueue("");
}

// The card offers the thumbs-up after a finish of a hub level only, sends it
// once, and says the share of players who finish the level.
TEST(HubVote, TheThumbsUpIsOfferedAfterAHubFinishAndSentOnce)
{
  ScratchDir dir;
  ResetQueue("http://127.0.0.1:9");
  HubTokenLost = false;
  NotePlayedLevel("a slot's level");
  BeginHubVote(true, false);
  EXPECT_EQ(HubVote.state, hubvote_off) << "not a level from the hub";
  UsePlayedLevelId("abcdefghijklmnop", 1);
  BeginHubVote(true, true);
  EXPECT_EQ(HubVote.state, hubvote_off) << "a test run";
  BeginHubVote(false, false);
  EXPECT_EQ(HubVote.state, hubvote_off) << "not finished";
  EXPECT_STREQ(HubClearLine(), "1% of players finish this level");
  BeginHubVote(true, false);
  ASSERT_EQ(HubVote.state, hubvote_offered);
  HubCard.state = hubcard_sending;
  SendHubThumbsUp();
  EXPECT_EQ(HubTakeWaiting(), -1) << "not before the run is on the hub";
  HubCard.state = hubcard_shown;
  SendHubThumbsUp();
  SendHubThumbsUp();
  ASSERT_TRUE(AnswerPath("/api/v1/levels/abcdefghijklmnop/rating", 200, "{}"));
  EXPECT_EQ(HubTakeWaiting(), -1) << "sent once";
  StepHubVote();
  EXPECT_EQ(HubVote.state, hubvote_sent);
  ResetQueue("");
}

// A report sends the chosen reason, kept within the list.
TEST(HubReport, TheChosenReasonIsSentAndItsAnswerSaid)
{
  ScratchDir dir;
  ResetQueue("http://127.0.0.1:9");
  HubTokenLost = false;
  OpenHubReport("abcdefghijklmnop");
  MoveHubReport(5);
  EXPECT_EQ(HubReport.reason, hubreason_count - 1);
  SendHubReport();
  EXPECT_FALSE(HubReport.choosing);
  int slot = HubReport.call.slot;
  ASSERT_GE(slot, 0);
  EXPECT_EQ(HubRequests[slot].body, "{\"reason\":\"copied\"}");
  ASSERT_TRUE(AnswerPath("/api/v1/levels/abcdefghijklmnop/reports", 429, "{\"error\": \"too many\"}"));
  StepHubReport();
  EXPECT_STREQ(HubReportLine(), "Report not taken: too many");
  ResetQueue("");
}

}  // namespace
