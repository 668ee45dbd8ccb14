// Over generated sessions of run ends, each hub level left unfinished is sent
// once, in the order played, whatever the hub answers; finished runs and slot
// levels never, nothing before the player has a name on the hub.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "game/lobby/online_play.h"
#include "game/lobby/online_tries.h"
#include "game/online/online_account.h"
#include "game/online/online_queue.h"
#include "game/play/world.h"
#include "game/run/run_end.h"

TEST(HubTries, EachUnfinishedHubLevelIsSentOnceASession)
{
  std::mt19937 rng(11);
  snprintf(HubAddress, sizeof HubAddress, "http://127.0.0.1:9");
  for (int session = 0; session < 50; session++) {
    for (HubRequest& r : HubRequests)
      r = HubRequest();
    HubTries = HubTriesRecord{{}, 0, 0, {-1, 0}};
    std::vector<std::string> want, sent;
    for (int frame = 0; frame < 220; frame++) {
      snprintf(HubName, sizeof HubName, "%s", frame < 60 ? "" : "Alice");
      if (frame < 200 && rng() % 3 == 0) {   // a run ends on one of 12 hub levels (more than the queue holds) or a slot's
        snprintf(HubPlay.id, sizeof HubPlay.id, "aaaaaaaaaaaaaaa%c", (char)('a' + rng() % 12));
        HubPlay.active = true;
        CurrentLevel = rng() % 4 == 0 ? 1 : 0;
        RunEnd.outcome = (int)(rng() % 3);
        std::string path = std::string("/api/v1/levels/") + HubPlay.id + "/tries";
        if (CurrentLevel == 0 && RunEnd.outcome != runend_finished && std::count(want.begin(), want.end(), path) == 0)
          want.push_back(path);
        NoteHubRunEnd();
      }
      StepHubTries();
      int slot = HubTakeWaiting();   // the driver: taken, refused or not delivered
      if (slot < 0)
        continue;
      ASSERT_TRUE(frame >= 60 && HubRequests[slot].kind == hubask_try && HubRequests[slot].method == hubmethod_post);
      sent.push_back(HubRequests[slot].path);
      rng() % 2 ? HubAnswerFailed(slot) : HubAnswerDone(slot, rng() % 2 ? 204 : 429);
    }
    EXPECT_EQ(sent, want) << "session " << session;
    ASSERT_GT(HubTries.count, 0);
    EXPECT_FALSE(NoteHubTry(std::string(HubTries.levels[0]).c_str()));   // noted once a session
  }
}
