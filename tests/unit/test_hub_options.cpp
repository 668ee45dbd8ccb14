// The hub's command line takes a number option only as a whole number from
// the option's least, and refuses the whole line otherwise.
#include <gtest/gtest.h>

#include "hub/hub_options.h"

TEST(HubOptions, ANumberOptionTakesAWholeNumberFromItsLeastAndNothingElse)
{
  HubOptionsRecord kept = HubOptions;
  const struct { const char* name; const char* text; bool taken; } Lines[] = {
    {"--cache-ms", "0", true}, {"--cache-ms", "-1", false}, {"--cache-ms", "abc", false},
    {"--cache-ms", "12x", false}, {"--cache-ms", "", false}, {"--cache-ms", "99999999999999999999", false},
    {"--threads", "1", true}, {"--threads", "0", false}};
  for (const auto& l : Lines) {
    char* argv[] = {(char*)"tetherorb2-hub", (char*)l.name, (char*)l.text, nullptr};
    EXPECT_EQ(ParseOptions(3, argv), l.taken) << l.name << " " << l.text;
  }
  HubOptions = kept;
}
