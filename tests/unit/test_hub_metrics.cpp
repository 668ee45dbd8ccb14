// A request answered with a status outside the hub's table counts as "other"
// under its own route, on every route.
#include <gtest/gtest.h>

#include "hub/hub_metrics.h"

TEST(HubMetrics, AnUnlistedStatusCountsAsOtherUnderItsRoute)
{
  for (int r = 0; r < RouteCount; r++) {
    std::string key = std::string("tetherorb2_hub_requests_total{route=\"") + RouteName(r) + "\",status=\"other\"} ";
    auto count = [&key] {
      std::string text = MetricsText();
      size_t at = text.find(key);
      return at == std::string::npos ? 0LL : std::stoll(text.substr(at + key.size()));
    };
    long long before = count();
    CountRequest(r, 299, 0.001);
    EXPECT_EQ(count(), before + 1) << RouteName(r);
  }
}
