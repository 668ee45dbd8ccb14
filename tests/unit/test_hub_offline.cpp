// The game's side of the hub while it cannot be reached, and what it knows
// without asking: finishing runs kept on disk and sent later, the Online
// list asking again by itself, a shipped level's own best beside its row,
// and a level shared with the author run saved beside it.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/hub_account.h"
#include "game/hub_browse.h"
#include "game/hub_card.h"
#include "game/hub_outbox.h"
#include "game/hub_queue.h"
#include "game/hub_share.h"
#include "game/level_files.h"
#include "game/medals.h"
#include "game/replay.h"
#include "game/replay_record.h"
#include "game/screen.h"
#include "test_support.h"

using Json = nlohmann::json;

// An empty queue, the hub at a closed port, and a player with a token and a name.
static void ResetHub()
{
  for (int i = 0; i < HubMaxRequests; i++)
    HubRequests[i] = HubRequest();
  snprintf(HubAddress, sizeof HubAddress, "http://127.0.0.1:9");
  HubUnreachable = HubTokenLost = false;
  strcpy(HubName, "Alice");
  snprintf(HubToken, sizeof HubToken, "%s", std::string(HubTokenChars, 'a').c_str());
}

static void ForgetHub()
{
  HubAddress[0] = HubName[0] = HubToken[0] = 0;
  for (int i = 0; i < HubMaxRequests; i++)
    HubRequests[i] = HubRequest();
}

static void Answer(int slot, int status, const std::string& text)
{
  ASSERT_EQ(HubTakeWaiting(), slot);
  ASSERT_TRUE(HubAnswerBytes(slot, text.data(), text.size()));
  HubAnswerDone(slot, status);
}

// The slot of the outbox's next send, stepping it up to a bound of frames; -1 when none goes out.
static int StepOutboxUntilSent()
{
  for (int frame = 0; frame <= HubOutboxRetryFrames + 1; frame++) {
    StepHubOutbox();
    if (HubOutbox.sending >= 0)
      return HubOutbox.call.slot;
  }
  return -1;
}

// A run the hub could not be reached for is kept on disk (the newest
// HubOutboxRuns of them), survives a restart, and goes out oldest first once
// the hub answers: each exactly once, a 4xx ending it as a 2xx does, a
// failure or a 5xx keeping it for the next try.
TEST(HubOutbox, RunsTheHubCouldNotTakeAreKeptAndSentOnceOldestFirst)
{
  ScratchDir dir;
  ResetHub();
  LoadHubOutbox();
  ASSERT_EQ(HubOutboxCount(), 0);
  UsePlayedLevelId("abcdefghijklmnop");
  ScreenWidth = 800;
  ScreenHeight = 600;
  BeginReplayRecording(10);
  RecordReplayFrame(ReplayTimeScale);
  EndReplayRecording();
  BeginHubCard(true, false, false);
  ASSERT_EQ(HubCard.state, hubcard_sending);
  ASSERT_EQ(HubTakeWaiting(), HubCard.call.slot);
  HubAnswerFailed(HubCard.call.slot);
  StepHubCard();
  EXPECT_STREQ(HubCardLine(), "Saved; it will be sent when the hub can be reached");
  EXPECT_EQ(HubOutboxCount(), 1);

  const int extra = HubOutboxRuns + 2;
  for (int i = 0; i < extra; i++)
    ASSERT_TRUE(KeepRunForHub("abcdefghijklmnop", "run " + std::to_string(i)));
  EXPECT_EQ(HubOutboxCount(), HubOutboxRuns) << "the oldest runs past the bound are dropped";
  HubOutbox = HubOutboxRecord();
  LoadHubOutbox();
  EXPECT_EQ(HubOutboxCount(), HubOutboxRuns) << "kept runs survive a restart";

  // While the hub cannot be reached the outbox waits, then tries; a failure and a 5xx keep the run.
  HubUnreachable = true;
  HubOutbox.unreached = true;
  HubOutbox.waitFrames = HubOutboxRetryFrames;
  StepHubOutbox();
  EXPECT_EQ(HubTakeWaiting(), -1) << "nothing is sent the frame after a failure";
  int slot = StepOutboxUntilSent();
  ASSERT_GE(slot, 0) << "a failed send is tried again after a bounded wait";
  ASSERT_EQ(HubTakeWaiting(), slot);
  HubAnswerFailed(slot);
  StepHubOutbox();
  int other = HubAsk(hubask_levels, hubmethod_get, "/api/v1/levels", "");
  Answer(other, 200, "{}");
  HubRelease(other);
  StepHubOutbox();
  ASSERT_GE(HubOutbox.sending, 0) << "sent at once when the hub answers anything";
  slot = HubOutbox.call.slot;
  Answer(slot, 503, "");
  StepHubOutbox();
  EXPECT_EQ(HubOutboxCount(), HubOutboxRuns);

  std::vector<std::string> sent;
  for (int i = 0; i < 2 * HubOutboxRuns && (slot = StepOutboxUntilSent()) >= 0; i++) {
    sent.push_back(Json::parse(HubRequests[slot].body)["replay"]);
    EXPECT_STREQ(HubRequests[slot].path, "/api/v1/levels/abcdefghijklmnop/runs");
    Answer(slot, i % 2 ? 409 : 201, "{}");
    StepHubOutbox();
  }
  ASSERT_EQ(sent.size(), (size_t)HubOutboxRuns);
  for (int i = 0; i < HubOutboxRuns; i++)
    EXPECT_EQ(sent[i], "run " + std::to_string(extra - HubOutboxRuns + i)) << "oldest first, each once";
  EXPECT_EQ(HubOutboxCount(), 0);
  EXPECT_NE(access("hub-outbox-0", F_OK), 0) << "a sent run leaves no file";
  ForgetHub();
}


// A page the hub could not be reached for is asked again by itself within a
// bounded number of frames, and no sooner than the frame after the failure;
// a linked level is not, and one the hub does not list says so.
TEST(HubBrowse, AnUnreachedPageIsAskedAgainByItselfAndAnUnknownLinkSaysSo)
{
  ScratchDir dir;
  ResetHub();
  HubBrowse = HubBrowseRecord();
  HubBrowse.call.slot = -1;
  OpenHubBrowse();
  for (int attempt = 0; attempt < 3; attempt++) {
    int slot = HubBrowse.call.slot;
    ASSERT_EQ(HubTakeWaiting(), slot) << "attempt " << attempt;
    HubAnswerFailed(slot);
    StepHubBrowse();
    EXPECT_STREQ(HubBrowseLine(), "The hub cannot be reached");
    StepHubBrowse();
    EXPECT_EQ(HubTakeWaiting(), -1) << "not asked again at once";
    int frames = 0;
    while (HubBrowse.busy != hubbrowse_listing && frames++ <= HubBrowseRetryFrames)
      StepHubBrowse();
    ASSERT_EQ(HubBrowse.busy, hubbrowse_listing) << "asked again within the bound";
  }
  Answer(HubBrowse.call.slot, 200, R"({"more": false, "levels": []})");
  StepHubBrowse();
  for (int frames = 0; frames <= HubBrowseRetryFrames + 1; frames++)
    StepHubBrowse();
  EXPECT_EQ(HubTakeWaiting(), -1) << "an answered page is not asked again";

  FetchHubLevelById("abcdefghijklmnop");
  ASSERT_EQ(HubTakeWaiting(), HubBrowse.call.slot);
  HubAnswerFailed(HubBrowse.call.slot);
  for (int frames = 0; frames <= HubBrowseRetryFrames + 1; frames++)
    StepHubBrowse();
  EXPECT_EQ(HubTakeWaiting(), -1) << "a level is fetched again only when asked";
  FetchHubLevelById("abcdefghijklmnop");
  Answer(HubBrowse.call.slot, 404, R"({"error": "no such level"})");
  StepHubBrowse();
  EXPECT_STREQ(HubBrowseLine(), "That level is not on this hub");
  ForgetHub();
}

// A listed shipped level shows the player's own best of it while their copy
// is the shipped one; a level the game did not ship takes none from a slot.
TEST(HubBrowse, AShippedLevelsRowHasThePlayersOwnBest)
{
  ScratchDir dir;
  ResetHub();
  WriteLevel(3, "3\n");
  LevelBest[2] = 240;
  HubBrowse = HubBrowseRecord();
  HubBrowse.call.slot = -1;
  OpenHubBrowse();
  Answer(HubBrowse.call.slot, 200, R"({"more": false, "levels": [
      {"id": "abcdefghijklmnop", "title": "T", "author": "A", "width": 9, "height": 8, "plays": 7, "finishes": 6,
       "rating": 5, "record": 260, "author_score": 250, "shipped": 3},
      {"id": "bbcdefghijklmnop", "title": "U", "author": "A", "width": 9, "height": 8, "plays": 7, "finishes": 6,
       "rating": 5, "record": 260, "author_score": 250, "shipped": 0},
      {"id": "cbcdefghijklmnop", "title": "V", "author": "A", "width": 9, "height": 8, "plays": 7, "finishes": 6,
       "rating": 5, "record": 260, "author_score": 250, "shipped": 4}]})");
  StepHubBrowse();
  ASSERT_EQ(HubBrowse.list.count, 3);
  EXPECT_EQ(HubBrowse.list.levels[0].best, 240);
  EXPECT_EQ(HubBrowse.list.levels[1].best, 0);
  EXPECT_EQ(HubBrowse.list.levels[2].best, 0) << "a shipped slot the player has no level in";
  LevelBest[2] = 0;
  ForgetHub();
}

// A level unchanged since it was saved with its author run is shared with
// that run; without the saved run (or its score) the editor still asks for one.
TEST(HubShare, ASavedAuthorRunIsSharedWithoutAnotherTestRun)
{
  ScratchDir dir;
  ResetHub();
  HubShare = HubShareRecord();
  HubShare.call.slot = -1;
  const long version = 1000;
  for (bool saved : {false, true}) {
    AuthorScore[3] = saved ? 250 : 0;
    WriteFile("Levels/level4.author.replay", "tetherorb2-replay 2\n");
    UseSavedAuthorRun(4, version);
    ShareLevel("Title", version);
    EXPECT_EQ(HubShare.state, saved ? hubshare_publishing : hubshare_said) << saved;
    if (saved) {
      Json body = Json::parse(HubRequests[HubShare.call.slot].body);
      EXPECT_EQ(body["replay"], "tetherorb2-replay 2\n");
    }
  }
  AuthorScore[3] = 0;
  HubShare = HubShareRecord();
  ForgetHub();
}
