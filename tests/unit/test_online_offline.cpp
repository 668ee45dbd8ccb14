// The game's side of the hub while it cannot be reached, and what it knows
// without asking: runs kept on disk and sent later, the Online list asking
// again, a shipped level's own best, a level shared with its saved author run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/lobby/online_browse.h"
#include "game/lobby/online_share.h"
#include "game/online/online_account.h"
#include "game/online/online_card.h"
#include "game/online/online_outbox.h"
#include "game/online/online_queue.h"
#include "game/run/medals.h"
#include "test_support.h"

// An empty queue, a hub at a closed port and a player with a token and a name; "" for no hub.
static void ResetHub(const char* address)
{
  for (HubRequest& r : HubRequests)
    r = HubRequest();
  snprintf(HubAddress, sizeof HubAddress, "%s", address);
  HubUnreachable = HubTokenLost = false;
  snprintf(HubName, sizeof HubName, "%s", address[0] ? "Alice" : "");
  snprintf(HubToken, sizeof HubToken, "%s", address[0] ? std::string(HubTokenChars, 'a').c_str() : "");
}

static void Answer(int slot, int status, const std::string& text)
{
  ASSERT_EQ(HubTakeWaiting(), slot);
  HubAnswerBytes(slot, text.data(), text.size());
  HubAnswerDone(slot, status);
}

// Steps step up to a bound of frames until done(); false when it never is.
static bool StepUntil(void (*step)(), bool (*done)())
{
  for (int frame = 0; frame <= HubOutboxRetryFrames + HubBrowseRetryFrames && !done(); frame++)
    step();
  return done();
}
static bool OutboxSending() { return HubOutbox.sending >= 0; }
static bool BrowseListing() { return HubBrowse.busy == hubbrowse_listing; }

// The newest HubOutboxRuns runs the hub could not be reached for survive a
// restart and go out oldest first, each once: a 2xx or 4xx ends one, a
// failure, a 5xx or a 429 keeps it.
TEST(HubOutbox, RunsTheHubCouldNotTakeAreKeptAndSentOnceOldestFirst)
{
  ScratchDir dir;
  ResetHub("http://127.0.0.1:9");
  LoadHubOutbox();
  UsePlayedLevelId("abcdefghijklmnop", -1);
  BeginReplayRecording(10);
  EndReplayRecording();
  BeginHubCard(true, false, false);
  ASSERT_EQ(HubTakeWaiting(), HubCard.call.slot);
  HubAnswerFailed(HubCard.call.slot);
  StepHubCard();
  EXPECT_STREQ(HubCardLine(), "Saved; it will be sent when the hub can be reached");
  for (int i = 0; i < HubOutboxRuns + 2; i++)
    ASSERT_TRUE(KeepRunForHub("abcdefghijklmnop", "run " + std::to_string(i)));
  HubOutbox = HubOutboxRecord();
  LoadHubOutbox();
  EXPECT_EQ(HubOutboxCount(), HubOutboxRuns);

  HubUnreachable = HubOutbox.unreached = true;
  HubOutbox.waitFrames = HubOutboxRetryFrames;
  StepHubOutbox();
  EXPECT_EQ(HubTakeWaiting(), -1) << "nothing is sent the frame after a failure";
  ASSERT_TRUE(StepUntil(StepHubOutbox, OutboxSending)) << "tried again after a bounded wait";
  ASSERT_EQ(HubTakeWaiting(), HubOutbox.call.slot);
  HubAnswerFailed(HubOutbox.call.slot);
  StepHubOutbox();
  Answer(HubAsk(hubask_levels, hubmethod_get, "/x", ""), 200, "{}");
  StepHubOutbox();
  ASSERT_TRUE(OutboxSending()) << "sent at once when the hub answers anything";
  for (int status : {503, 429}) {
    ASSERT_TRUE(StepUntil(StepHubOutbox, OutboxSending));
    Answer(HubOutbox.call.slot, status, "");
    StepHubOutbox();
  }
  for (int i = 0; i < HubOutboxRuns; i++) {
    ASSERT_TRUE(StepUntil(StepHubOutbox, OutboxSending)) << i;
    int slot = HubOutbox.call.slot;
    EXPECT_EQ(nlohmann::json::parse(HubRequests[slot].body)["replay"], "run " + std::to_string(i + 2));
    Answer(slot, i % 2 ? 409 : 201, "{}");
    StepHubOutbox();
  }
  EXPECT_FALSE(StepUntil(StepHubOutbox, OutboxSending));
  EXPECT_NE(access("hub-outbox-0", F_OK), 0);
  ResetHub("");
}

// An unreached page is asked again within a bound, not at once; a linked
// level is not, and one the hub does not list says so. A listed shipped
// level has the player's own best while their copy is the shipped one.
TEST(HubBrowse, UnreachedPagesUnknownLinksAndShippedBests)
{
  ScratchDir dir;
  ResetHub("http://127.0.0.1:9");
  HubBrowse = HubBrowseRecord();
  OpenHubBrowse();
  ASSERT_EQ(HubTakeWaiting(), HubBrowse.call.slot);
  HubAnswerFailed(HubBrowse.call.slot);
  ASSERT_EQ(HubTakeWaiting(), HubBrowse.dailyCall.slot) << "the level of the day, asked beside the page";
  HubAnswerFailed(HubBrowse.dailyCall.slot);
  StepHubBrowse();
  StepHubBrowse();
  EXPECT_EQ(HubTakeWaiting(), -1) << "not asked again at once";
  ASSERT_TRUE(StepUntil(StepHubBrowse, BrowseListing));
  WriteLevel(3, "3\n");
  LevelBest[2] = 240;
  const char* row = R"({"id": "%s", "title": "T", "author": "A", "width": 9, "height": 8, "plays": 7,
      "finishes": 6, "rating": 5, "record": 260, "author_score": 250, "shipped": %d})";
  char rows[2][400];
  snprintf(rows[0], sizeof rows[0], row, "abcdefghijklmnop", 3);
  snprintf(rows[1], sizeof rows[1], row, "bbcdefghijklmnop", 4);   // a slot the player has no level in
  Answer(HubBrowse.call.slot, 200, std::string(R"({"more": false, "levels": [)") + rows[0] + "," + rows[1] + "]}");
  StepHubBrowse();
  ASSERT_EQ(HubBrowse.list.count, 2);
  EXPECT_EQ(HubBrowse.list.levels[0].best, 240);
  EXPECT_EQ(HubBrowse.list.levels[1].best, 0);
  EXPECT_FALSE(StepUntil(StepHubBrowse, BrowseListing)) << "an answered page is not asked again";

  FetchHubLevelById("abcdefghijklmnop");
  ASSERT_EQ(HubTakeWaiting(), HubBrowse.call.slot);
  HubAnswerFailed(HubBrowse.call.slot);
  EXPECT_FALSE(StepUntil(StepHubBrowse, BrowseListing)) << "a level is fetched again only when asked";
  FetchHubLevelById("abcdefghijklmnop");
  Answer(HubBrowse.call.slot, 404, R"({"error": "no such level"})");
  StepHubBrowse();
  EXPECT_STREQ(HubBrowseLine(), "That level is not on this hub");
  LevelBest[2] = 0;
  ResetHub("");
}

// A level unchanged since it was saved with its author run is shared with
// that run; without the run's score the editor still asks for a test run.
TEST(HubShare, ASavedAuthorRunIsSharedWithoutAnotherTestRun)
{
  ScratchDir dir;
  ResetHub("http://127.0.0.1:9");
  WriteFile("Levels/level4.author.replay", "tetherorb2-replay 2\n");
  for (int score : {0, 250}) {
    HubShare = HubShareRecord();
    AuthorScore[3] = score;
    UseSavedAuthorRun(4, 1000);
    ShareLevel("Title", 1000);
    ASSERT_EQ(HubShare.state, score ? hubshare_publishing : hubshare_said);
    EXPECT_TRUE(!score || HubRequests[HubShare.call.slot].body.find("tetherorb2-replay 2") != std::string::npos);
  }
  AuthorScore[3] = 0;
  ResetHub("");
}

// Start-up finds every slot's author score afresh: none where there is no level.
TEST(Medals, EverySlotWithoutALevelHasNoAuthorScore)
{
  bool exists[MaxLevels];
  memcpy(exists, LevelExists, sizeof exists);
  memset(LevelExists, 0, sizeof LevelExists);
  std::fill(AuthorScore, AuthorScore + MaxLevels, 99);
  FindAuthorScores();
  EXPECT_EQ(std::count(AuthorScore, AuthorScore + MaxLevels, 0), MaxLevels);
  memcpy(LevelExists, exists, sizeof exists);
}
