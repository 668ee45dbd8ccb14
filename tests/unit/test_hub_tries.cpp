// The game's tries on the hub: over many generated sessions of run ends, each
// hub level left unfinished goes out once, in the order played, whatever the
// hub answers; finished levels and slot levels never; nothing without a name.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "game/hub_account.h"
#include "game/hub_play.h"
#include "game/hub_queue.h"
#include "game/hub_tries.h"
#include "game/run_end.h"
#include "game/world.h"

TEST(HubTries, EachUnfinishedHubLevelIsSentOnceASession)
{
  std::mt19937 rng(11);
  for (int session = 0; session < 50; session++) {
    for (HubRequest& r : HubRequests)
      r = HubRequest();
    HubTries = HubTriesRecord{{}, 0, 0, {-1, 0}};
    snprintf(HubAddress, sizeof HubAddress, "http://127.0.0.1:9");
    snprintf(HubToken, sizeof HubToken, "%s", std::string(HubTokenChars, 'a').c_str());
    HubTokenLost = false;
    HubName[0] = 0;   // named only partway through: nothing goes out before
    std::vector<std::string> want, sent;
    for (int frame = 0; frame < 200; frame++) {
      if (frame == 60)
        snprintf(HubName, sizeof HubName, "Alice");
      if (rng() % 3 == 0) {   // a run ends: one of a few hub levels or a slot's, finished or not
        snprintf(HubPlay.id, sizeof HubPlay.id, "%016d", (int)(rng() % 6));
        for (char* c = HubPlay.id; *c; c++)
          *c = 'a' + (*c - '0');
        HubPlay.active = true;
        CurrentLevel = rng() % 4 == 0 ? 1 : 0;
        RunEnd.outcome = (int)(rng() % 3);
        bool counts = CurrentLevel == 0 && RunEnd.outcome != runend_finished;
        if (counts && std::find(want.begin(), want.end(), HubPlay.id) == want.end())
          want.push_back(HubPlay.id);
        NoteHubRunEnd();
      }
      StepHubTries();
      int slot = HubTakeWaiting();   // the driver: answered, refused or not reached at random
      if (slot < 0)
        continue;
      ASSERT_GE(frame, 60) << "sent without a name";
      ASSERT_EQ(HubRequests[slot].kind, hubask_try);
      ASSERT_EQ(HubRequests[slot].method, hubmethod_post);
      sent.push_back(std::string(HubRequests[slot].path).substr(15, 16));
      ASSERT_EQ(std::string(HubRequests[slot].path), "/api/v1/levels/" + sent.back() + "/tries");
      if (rng() % 2)
        HubAnswerFailed(slot);
      else
        HubAnswerDone(slot, rng() % 2 ? 204 : 429);
    }
    for (int frame = 0; frame < 20; frame++) {   // the last ones out
      StepHubTries();
      int slot = HubTakeWaiting();
      if (slot >= 0) {
        sent.push_back(std::string(HubRequests[slot].path).substr(15, 16));
        HubAnswerDone(slot, 204);
      }
    }
    EXPECT_EQ(sent, want) << "session " << session;
    int busy = 0;
    for (const HubRequest& r : HubRequests)
      busy += r.state != hubstate_free;
    EXPECT_LE(busy, 1) << "answered tries free their slots";
  }
}
