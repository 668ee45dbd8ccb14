// The game and the hub name levels alike: the game's own SHA-256 agrees
// with libcrypto's across the padding's block boundaries, and the id the
// game gives each shipped level as it starts is the one the hub gives it.
#include <gtest/gtest.h>

#include <openssl/sha.h>
#include <string>

#include "game/base/sha256.h"
#include "game/files/level_files.h"
#include "game/online/online_card.h"
#include "game/online/online_queue.h"
#include "game/run/level_start.h"
#include "hub/hub_game.h"
#include "hub/hub_ids.h"
#include "hub/hub_options.h"
#include "test_support.h"

TEST(HubIds, Sha256MatchesLibcryptoAtEveryPaddingBoundary)
{
  // 55, 56 and 64 bytes are where the padding takes one block or two.
  const int MostBytes = 3 * 64 + 1;
  std::string message;
  for (int n = 0; n <= MostBytes; n++) {
    unsigned char ours[Sha256DigestBytes], theirs[SHA256_DIGEST_LENGTH];
    Sha256((const unsigned char*)message.data(), message.size(), ours);
    SHA256((const unsigned char*)message.data(), message.size(), theirs);
    ASSERT_EQ(memcmp(ours, theirs, sizeof ours), 0) << "a message of " << n << " bytes";
    message += (char)(n * 37 + 11);
  }
}

TEST(HubIds, EveryShippedLevelHasTheHubsId)
{
  PlacesRecord saved = Places;
  snprintf(Places.shippedLevels, PathSize, "%s/Levels", REPO_ROOT);
  snprintf(Places.userLevels, PathSize, "%s/Levels", REPO_ROOT);
  snprintf(HubAddress, sizeof HubAddress, "http://127.0.0.1:9");
  LoadLevelCatalogue();
  for (int n = 1; n <= ShippedLevelCount; n++) {
    Verdict v;
    JudgeSubmission(HubOptions.game, ReadFile(std::string(REPO_ROOT) + "/Levels/level" + std::to_string(n) + ".dat"),
                    nullptr, &v);
    ASSERT_EQ(v.error, verdict_ok) << v.why;
    StartLevel(n);
    EXPECT_EQ(HubCard.level, LevelIdOf(v.level)) << "level " << n;
  }
  HubAddress[0] = 0;
  Places = saved;
}
