// Feeds arbitrary bytes to the .mo reader: it either refuses them whole
// (no entries, nothing found) or takes them, and then every lookup stays
// inside the bytes (AddressSanitizer watches) and finds only a text ended
// inside them; so do the counted texts' forms, and the plural rule read
// straight from the input gives only forms it has.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "fuzz_check.h"
#include "game/base/mo_catalog.h"
#include "game/base/plural_rule.h"

static const size_t KeyBytes = 64;   // the start of the input, looked up as a text

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  bool ok = LoadMoCatalogBytes(data, size);
  CHECK(ok || MoCatalogEntries() == 0);
  char key[KeyBytes + 1] = {0};
  memcpy(key, data, size < KeyBytes ? size : KeyBytes);
  for (const char* k : {(const char*)key, "", "Play", "\xff"}) {
    const char* found = MoTranslation(k);
    CHECK(ok || !found);
    CHECK(!found || strlen(found) > 0);
    for (unsigned long n : {0ul, 1ul, 2ul, 5ul, 11ul, 22ul, 1000000ul}) {
      const char* form = MoPluralTranslation(k, n);
      CHECK((ok || !form) && (!form || strlen(form) > 0));
    }
  }
  PluralRule rule;
  if (ReadPluralRule(key, &rule))
    for (unsigned long n = 0; n < 200; n++)
      CHECK(PluralIndex(rule, n) < rule.count);
  return 0;
}
