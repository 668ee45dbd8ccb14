// The game's side of the level hub without a network: the request queue at
// its bounds, the answers read into records, whole or mangled, the results
// card's conversation, the token file, a record's run re-run over frames,
// the medals at their boundaries, and libcurl's driver against nobody.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "game/base/controls.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/files/replay.h"
#include "game/files/replay_record.h"
#include "game/lobby/online_browse.h"
#include "game/online/online_account.h"
#include "game/online/online_answers.h"
#include "game/online/online_card.h"
#include "game/online/online_queue.h"
#include "game/play/world.h"
#include "game/run/medals.h"
#include "game/run/rerun.h"
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
  ResetQueue("");   // the tests that follow have no hub
}

TEST(HubAnswers, PagesBoardsAndCutTexts)
{
  std::string levels = "{\"more\": true, \"levels\": [";
  for (int i = 0; i <= HubPageLevels; i++)
    levels += std::string(i ? "," : "") + "{\"id\": \"abcdefghijklmnop\", \"title\": \"T\", \"author\": \"A\", \"width\": 9," +
              " \"height\": 9, \"finishes\": 0, \"rating\": 0, \"plays\": " + std::to_string(i) + "}";
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
                                   title + "\", \"author\": \"A\", \"width\": 9, \"height\": 9, \"plays\": 0, "
                                   "\"finishes\": 0, \"rating\": 0}]}", &page));
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
  EXPECT_TRUE(ReadHubBoard("{\"records\": [], \"player\": null}", &board)) << "a player without a finish";
  char why[HubRefusalSize];
  HubRefusal("{\"error\": \"name taken\"}", 409, why);
  EXPECT_STREQ(why, "name taken");
  HubRefusal("<html>", 502, why);
  EXPECT_STREQ(why, "The hub answered 502");
}

// A finished run's replay to send, and the level it is of.
static void RecordSomeRun()
{
  UsePlayedLevelId("abcdefghijklmnop", -1);
  ScreenWidth = 800;
  ScreenHeight = 600;
  Camera.leads = true;   // as a run's start leaves it
  BeginReplayRecording(10);
  RecordReplayFrame(ReplayTimeScale);
  EndReplayRecording();
}

TEST(HubCard, NamesSendsAndShowsTheRank)
{
  ScratchDir dir;
  ResetQueue("http://127.0.0.1:9");
  HubName[0] = HubToken[0] = 0;
  RecordSomeRun();

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
  EXPECT_NE(HubRequests[HubCard.call.slot].body.find("tetherorb2-replay 3"), std::string::npos);
  Answer(HubCard.call.slot, 201, "{\"run\": 5, \"score\": 240, \"best\": 240, \"rank\": 2, \"record\": 250}");
  StepHubCard();
  EXPECT_STREQ(HubCardLine(), "Hub rank 2 - record 250");
  for (int i = 0; i < HubMaxRequests; i++)
    EXPECT_NE(HubRequests[i].state, hubstate_done) << "slot " << i << " was never released";
  ResetQueue("");   // the tests that follow have no hub
}

using Json = nlohmann::json;

// The hub's answers, each with exactly the fields its reader reads.
static const char* const GoodAnswers[] = {
    R"({"more": true, "levels": [{"id": "abcdefghijklmnop", "title": "T", "author": "A", "width": 9, "height": 8,
        "plays": 7, "finishes": 6, "rating": 5, "record": 240, "author_score": 250, "shipped": 3, "tried": 9,
        "clear_rate": 0.5}]})",
    R"({"records": [{"rank": 1, "name": "A", "score": 250, "run": "17"}], "player": {"rank": 4, "score": 120}})",
    R"({"score": 240, "best": 240, "rank": 2, "record": 250})",
    R"({"id": "abcdefghijklmnop"})",
};

// Each answer with each field in turn of another type, out of range, null,
// deeply nested or left out: no reader throws, a refusal leaves its record
// empty, a number field holding anything but a whole number in range is
// refused, and the card and the Online screen say the one refusal line.
TEST(HubAnswers, EveryMangledAnswerIsReadInRangeOrRefusedWithOneLine)
{
  ScratchDir dir;
  std::string deep = std::string(1500, '[') + std::string(1500, ']');   // inside the smallest answer's bound
  std::vector<Json> bad = {"7", 7.5, -7, 1000000000000LL, 18446744073709551615ULL, true, Json::array(),
                           Json::object(), Json::parse(deep), nullptr};
  strcpy(HubName, "Alice");
  HubTokenLost = false;
  RecordSomeRun();
  for (int k = 0; k < 4; k++) {
    Json flat = Json::parse(GoodAnswers[k]).flatten();
    for (auto field = flat.begin(); field != flat.end(); ++field) {
      Json::json_pointer at(field.key());
      for (size_t b = 0; b <= bad.size(); b++) {   // the last is the field left out
        Json mangled = Json::parse(GoodAnswers[k]);
        if (b < bad.size())
          mangled[at] = bad[b];
        else
          mangled[at.parent_pointer()].erase(at.back());
        std::string text = mangled.dump();
        HubLevelPage page;  HubBoard board;  HubRunAnswer run;  LevelId id;
        bool read[4] = {};
        ASSERT_NO_THROW(read[0] = ReadHubLevelPage(text, &page)) << text;
        ASSERT_NO_THROW(read[1] = ReadHubBoard(text, &board)) << text;
        ASSERT_NO_THROW(read[2] = ReadHubRunAnswer(text, &run)) << text;
        ASSERT_NO_THROW(read[3] = ReadHubPublishedId(text, id)) << text;
        bool wrong = field.value().is_number() && b + 1 < bad.size();
        EXPECT_FALSE(wrong && read[k]) << text;
        EXPECT_TRUE(read[0] || page.count == 0) << text;
        EXPECT_TRUE(read[1] || (board.count == 0 && board.playerRank == 0)) << text;
        EXPECT_EQ(read[2], run.rank > 0) << text;
        if (k == 0 && field.key().rfind("/levels/0/", 0) == 0) {
          HubLevelEntry row;   // the level of the day is read as a page's row is
          EXPECT_EQ(ReadHubLevelRow(mangled["levels"][0].dump(), &row), read[0] && page.count == 1) << text;
        }

        // The screens: a page on the Online screen, a leaderboard and a run's answer on the card.
        ResetQueue("http://127.0.0.1:9");
        HubBrowse.busy = hubbrowse_idle;
        AskHubPage(hubsort_new, 1);
        Answer(HubBrowse.call.slot, 200, text);
        StepHubBrowse();
        EXPECT_EQ(std::string(HubBrowseLine()) == HubUnreadLine(), !read[0]) << text;
        for (bool finished : {false, true}) {
          BeginHubCard(finished, false, false);
          Answer(HubCard.call.slot, finished ? 201 : 200, text);
          StepHubCard();
          EXPECT_EQ(std::string(HubCardLine()) == HubUnreadLine(), !read[finished ? 2 : 1]) << text;
        }
      }
    }
  }
  ResetQueue("");   // the tests that follow have no hub
}

// A token file that is no token, or a name without its token, is kept and
// nothing is sent until the player gives it up; the new token is written
// owner-only into a new file, never through a link found in the save's way.
TEST(HubAccount, ALostTokenIsNeverReplacedUnaskedAndANewOneIsOwnerOnly)
{
  ScratchDir dir;
  ResetQueue("http://127.0.0.1:9");
  RecordSomeRun();
  std::string token(HubTokenChars, 'a');
  for (std::string lost : {std::string("short"), token + "a", token.substr(1) + "+", std::string()}) {
    WriteFile("hub-name", "Alice\n");
    unlink("hub-token");
    if (!lost.empty())
      WriteFile("hub-token", lost + "\n");
    LoadHubAccount();
    EXPECT_FALSE(EnsureHubToken()) << lost;
    BeginHubCard(true, false, false);
    EXPECT_EQ(HubTakeWaiting(), -1) << "nothing is sent under a lost token";
    EXPECT_EQ(ReadFile("hub-token"), lost.empty() ? "" : lost + "\n");
  }
  WriteFile("hub-token", "short\n");
  LoadHubAccount();
  WriteFile("spy", "");
  ASSERT_EQ(link("spy", "hub-token.tmp"), 0);
  mode_t mask = umask(0);
  EXPECT_TRUE(RenewHubAccount());
  umask(mask);
  EXPECT_TRUE(NeedHubName()) << "the new token has no name yet";
  EXPECT_EQ(ReadFile("hub-token.lost"), "short\n");
  EXPECT_EQ(ReadFile("hub-token"), std::string(HubToken) + "\n");
  EXPECT_EQ(ReadFile("spy"), "");
  struct stat st;
  ASSERT_EQ(stat("hub-token", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  LoadHubAccount();
  EXPECT_TRUE(!HubTokenLost && !HubName[0]) << "the new token reads back, with no name";
  ResetQueue("");   // the tests that follow have no hub
}

// A record's run re-run a bounded number of frames at a time ends as the
// whole re-run does, with the same path, and between its steps the screen,
// its size and the player's keys are the screen's own.
TEST(HubRace, AStepwiseReRunEndsAsTheWholeOneAndLeavesEachFrameAlone)
{
  for (int n : {1, 11, ShippedLevelCount}) {
    std::string level = std::string(REPO_ROOT) + "/Levels/level" + std::to_string(n) + ".dat";
    std::string text = ReadFile(std::string(REPO_ROOT) + "/tests/solutions/level" + std::to_string(n) + ".replay");
    ASSERT_TRUE(StartLevelFile(level.c_str())) << level;
    ReplayOutcome whole = RerunOnGrid(text, true);
    std::vector<GhostFrame> path(GhostBest.frames.begin(), GhostBest.frames.begin() + GhostBest.frameCount);
    ASSERT_EQ(whole.end, replayend_finish) << n;
    GhostBest.frameCount = 0;
    ShowScreen(gamestate_online);
    ScreenWidth = 321;
    ASSERT_TRUE(BeginRerun(text, true));
    int steps = 0, frames = 0;
    for (bool over = false; !over; steps++) {
      ASSERT_LT(steps, MaxReplayFrames / RerunFramesPerStep);
      Controls.menuBack = true;
      over = StepRerun();
      EXPECT_LE(Rerun.player.out.frames - frames, RerunFramesPerStep);
      frames = Rerun.player.out.frames;
      EXPECT_TRUE(GameState == gamestate_online && ScreenWidth == 321 && Controls.menuBack) << "step " << steps;
    }
    EXPECT_EQ(steps, (whole.frames + RerunFramesPerStep - 1) / RerunFramesPerStep) << n;
    EXPECT_EQ(Rerun.player.out.frames, whole.frames) << n;
    EXPECT_EQ(Rerun.player.out.score, whole.score) << n;
    ASSERT_EQ(GhostBest.frameCount, (int)path.size()) << n;
    EXPECT_EQ(memcmp(GhostBest.frames.data(), path.data(), path.size() * sizeof(GhostFrame)), 0) << n;
  }
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
  for (int author = 1; author <= 5000; author++)   // each medal's need is the least score that earns it
    for (int medal = medal_bronze; medal <= medal_author; medal++) {
      int need = MedalNeed(medal, author);
      ASSERT_GE(MedalFor(need, author), medal) << author << " " << medal;
      ASSERT_LT(MedalFor(need - 1, author), medal) << author << " " << medal;
    }
  char line[64];
  FormatMedalNeeds(0, line, sizeof line);
  EXPECT_STREQ(line, "") << "no author score, no line";
}

TEST(HubNet, AnUnreachableHubFailsWithoutWaiting)
{
  ResetQueue("http://127.0.0.1:1");   // a port nobody listens on
  StartHubNet();
  int slot = HubAsk(hubask_levels, hubmethod_get, "/api/v1/levels", "");
  ASSERT_EQ(slot, 0);
  const int MostFrames = 6000;   // a minute at least: only a hang runs out of them
  int frames = 0;
  for (; frames < MostFrames && HubRequests[slot].state != hubstate_failed; frames++) {
    DriveHubNet();
    usleep(10000);
  }
  StopHubNet();
  EXPECT_EQ(HubRequests[slot].state, hubstate_failed);
  EXPECT_GT(frames, 0) << "the request was not answered inside the frame that sent it";
  EXPECT_STREQ(HubReachLine(), "The hub cannot be reached");
  ResetQueue("");   // the tests that follow have no hub
}
