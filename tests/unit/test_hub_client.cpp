// The game's side of the level hub without a network: the request queue at
// its bounds, the answers read into records, the results card's
// conversation, the medals at their boundaries, and libcurl's driver
// against an address nobody answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unistd.h>

#include "game/hub_account.h"
#include "game/hub_answers.h"
#include "game/hub_card.h"
#include "game/hub_queue.h"
#include "game/medals.h"
#include "game/replay.h"
#include "game/replay_record.h"
#include "platform/hub_net.h"
#include "test_support.h"

// An empty queue and the hub at address ("" for none).
static void ResetQueue(const char* address)
{
  for (int i = 0; i < HubMaxRequests; i++)
    HubRequests[i] = HubRequest();
  snprintf(HubAddress, sizeof HubAddress, "%s", address);
  HubUnreachable = false;
}

static void Answer(int slot, int status, const std::string& text)
{
  ASSERT_EQ(HubTakeWaiting(), slot);
  ASSERT_TRUE(HubAnswerBytes(slot, text.data(), text.size()));
  HubAnswerDone(slot, status);
}

TEST(HubQueue, SlotsBoundsAndTheUnreachableLine)
{
  ResetQueue("");
  EXPECT_EQ(HubAsk(hubask_levels, hubmethod_get, "/api/v1/levels", ""), -1) << "nothing is asked without a hub";
  ResetQueue("http://127.0.0.1:9");
  for (int i = 0; i < HubMaxRequests; i++)
    EXPECT_EQ(HubAsk(hubask_levels, hubmethod_get, "/api/v1/levels", ""), i);
  EXPECT_EQ(HubAsk(hubask_levels, hubmethod_get, "/x", ""), -1) << "a full table takes no more";
  std::string longPath(HubPathSize, 'a');
  HubRelease(HubMaxRequests - 1);
  EXPECT_EQ(HubAsk(hubask_levels, hubmethod_get, longPath.c_str(), ""), -1) << "a path that does not fit";

  // An answer exactly at its bound is taken; one byte more is refused and fails the request.
  long limit = HubAnswerLimit(hubask_records);
  std::string full(limit, 'x');
  ASSERT_EQ(HubTakeWaiting(), 0);
  EXPECT_TRUE(HubAnswerBytes(0, full.data(), full.size()));
  HubAnswerDone(0, 200);
  EXPECT_EQ(HubRequests[0].state, hubstate_done);
  HubRequests[1].kind = hubask_records;
  ASSERT_EQ(HubTakeWaiting(), 1);
  EXPECT_TRUE(HubAnswerBytes(1, full.data(), full.size() - 1));
  EXPECT_FALSE(HubAnswerBytes(1, "xy", 2));
  EXPECT_EQ(HubRequests[1].state, hubstate_failed);
  EXPECT_TRUE(HubRequests[1].tooLarge);
  EXPECT_TRUE(HubRequests[1].answer.empty());

  // A failure to reach the hub says so until an answer comes.
  EXPECT_STREQ(HubReachLine(), "");
  ASSERT_EQ(HubTakeWaiting(), 2);
  HubAnswerFailed(2);
  EXPECT_STREQ(HubReachLine(), "The hub cannot be reached");
  Answer(3, 200, "{}");
  EXPECT_STREQ(HubReachLine(), "");

  // A slot released while its request is out is not reused until the driver is done.
  ASSERT_EQ(HubTakeWaiting(), 4);
  HubRelease(4);
  HubRelease(2);
  EXPECT_EQ(HubAsk(hubask_levels, hubmethod_get, "/y", ""), 2);
  EXPECT_EQ(HubAsk(hubask_levels, hubmethod_get, "/y", ""), HubMaxRequests - 1);
  EXPECT_EQ(HubAsk(hubask_levels, hubmethod_get, "/y", ""), -1);
  HubAnswerDone(4, 200);
  EXPECT_EQ(HubRequests[4].state, hubstate_free);
}

TEST(HubAnswers, PagesBoardsAndCutTexts)
{
  std::string levels = "{\"more\": true, \"levels\": [";
  for (int i = 0; i <= HubPageLevels; i++)
    levels += std::string(i ? "," : "") + "{\"id\": \"abcdefghijklmnop\", \"title\": \"T\", \"plays\": " +
              std::to_string(i) + "}";
  levels += "]}";
  HubLevelPage page;
  ASSERT_TRUE(ReadHubLevelPage(levels, &page));
  EXPECT_EQ(page.count, HubPageLevels) << "a page holds 20, never more";
  EXPECT_TRUE(page.more);
  EXPECT_EQ(page.levels[HubPageLevels - 1].plays, HubPageLevels - 1);

  // A title longer than its slot is cut at a whole character; a row without a good id is no row.
  std::string title(HubTextSize - 2, 'a');
  title += "\xc3\xa9";   // a two-byte character across the end of the slot
  ASSERT_TRUE(ReadHubLevelPage("{\"levels\": [{\"id\": \"../../etc/pass\"}, {\"id\": \"abcdefghijklmnop\", \"title\": \"" +
                                   title + "\"}]}", &page));
  ASSERT_EQ(page.count, 1);
  EXPECT_EQ(strlen(page.levels[0].title), (size_t)HubTextSize - 2);
  EXPECT_FALSE(ReadHubLevelPage("{\"levels\": [", &page)) << "a truncated answer";
  EXPECT_FALSE(ReadHubLevelPage("[]", &page));

  HubBoard board;
  ASSERT_TRUE(ReadHubBoard("{\"records\": [{\"rank\": 1, \"name\": \"A\", \"score\": 250, \"run\": 17}],"
                           " \"player\": {\"rank\": 4, \"score\": 120}}", &board));
  EXPECT_EQ(board.count, 1);
  EXPECT_STREQ(board.rows[0].run, "17") << "a run's id as a number makes its path";
  EXPECT_EQ(board.playerRank, 4);
  char why[HubRefusalSize];
  HubRefusal("{\"error\": \"name taken\"}", 409, why);
  EXPECT_STREQ(why, "name taken");
  HubRefusal("<html>", 502, why);
  EXPECT_STREQ(why, "The hub answered 502");
}

TEST(HubCard, NamesSendsAndShowsTheRank)
{
  ScratchDir dir;
  ResetQueue("http://127.0.0.1:9");
  HubName[0] = HubToken[0] = 0;
  UsePlayedLevelId("abcdefghijklmnop");
  ScreenWidth = 800;
  ScreenHeight = 600;
  BeginReplayRecording(10);
  RecordReplayFrame(ReplayTimeScale);
  EndReplayRecording();

  BeginHubCard(true, false, true);
  EXPECT_EQ(HubCard.state, hubcard_off) << "a test run is never sent";
  BeginHubCard(true, true, false);
  EXPECT_EQ(HubCard.state, hubcard_asking) << "an assisted run is never sent";
  EXPECT_EQ(HubRequests[HubCard.call.slot].kind, hubask_records);

  BeginHubCard(true, false, false);
  ASSERT_EQ(HubCard.state, hubcard_naming);
  EXPECT_EQ(strlen(HubToken), (size_t)HubTokenChars);
  EXPECT_EQ(ReadFile("hub-token"), std::string(HubToken) + "\n");
  strcpy(HubCard.name, "Alice");
  ChooseHubName(HubCard.name);
  ASSERT_EQ(HubCard.state, hubcard_registering);
  EXPECT_EQ(HubRequests[HubCard.call.slot].body, "{\"name\":\"Alice\"}");
  Answer(HubCard.call.slot, 409, "{\"error\": \"name taken\"}");
  StepHubCard();
  EXPECT_EQ(HubCard.state, hubcard_naming) << "a refused name opens the field again";
  EXPECT_STREQ(HubCardLine(), "name taken");

  ChooseHubName(HubCard.name);
  Answer(HubCard.call.slot, 201, "{\"name\": \"Alice\"}");
  StepHubCard();
  ASSERT_EQ(HubCard.state, hubcard_sending);
  EXPECT_EQ(ReadFile("hub-name"), "Alice\n");
  EXPECT_STREQ(HubRequests[HubCard.call.slot].path, "/api/v1/levels/abcdefghijklmnop/runs");
  EXPECT_NE(HubRequests[HubCard.call.slot].body.find("tetherorb2-replay 2"), std::string::npos);
  Answer(HubCard.call.slot, 201, "{\"run\": 5, \"score\": 240, \"best\": 240, \"rank\": 2, \"record\": 250}");
  StepHubCard();
  EXPECT_STREQ(HubCardLine(), "Hub rank 2 - record 250");
  for (int i = 0; i < HubMaxRequests; i++)
    EXPECT_NE(HubRequests[i].state, hubstate_done) << "slot " << i << " was never released";
}

TEST(Medals, Boundaries)
{
  EXPECT_EQ(MedalFor(0, 200), medal_none) << "no finish";
  EXPECT_EQ(MedalFor(150, 0), medal_none) << "no author run";
  EXPECT_EQ(MedalFor(1, 200), medal_bronze);
  EXPECT_EQ(MedalFor(149, 200), medal_bronze);
  EXPECT_EQ(MedalFor(150, 200), medal_silver) << "exactly 75%";
  EXPECT_EQ(MedalFor(179, 200), medal_silver);
  EXPECT_EQ(MedalFor(180, 200), medal_gold) << "exactly 90%";
  EXPECT_EQ(MedalFor(199, 200), medal_gold);
  EXPECT_EQ(MedalFor(200, 200), medal_author) << "matching the author";
  EXPECT_EQ(MedalFor(201, 200), medal_author);
  EXPECT_EQ(MedalFor(177, 237), medal_bronze) << "75% of 237 is 177.75";
  EXPECT_EQ(MedalFor(178, 237), medal_silver);
}

TEST(HubNet, AnUnreachableHubFailsWithoutWaiting)
{
  ResetQueue("http://127.0.0.1:1");   // a port nobody listens on
  StartHubNet();
  int slot = HubAsk(hubask_levels, hubmethod_get, "/api/v1/levels", "");
  ASSERT_EQ(slot, 0);
  const int MostFrames = 500;
  int frames = 0;
  for (; frames < MostFrames && HubRequests[slot].state != hubstate_failed; frames++) {
    DriveHubNet();
    usleep(10000);
  }
  StopHubNet();
  EXPECT_EQ(HubRequests[slot].state, hubstate_failed);
  EXPECT_GT(frames, 0) << "the request was not answered inside the frame that sent it";
  EXPECT_STREQ(HubReachLine(), "The hub cannot be reached");
}
