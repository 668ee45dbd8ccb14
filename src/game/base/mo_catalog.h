// mo_catalog: one compiled message catalogue (GNU gettext's .mo format, as
// msgfmt writes it) read whole into a fixed buffer, and the lookup of an
// English text in it. The game reads catalogues itself instead of through the
// C library's gettext, so a language shows even where its locale was never
// generated, and the browser build reads the same files. Every offset and
// length in the file is checked once as it loads; a file that fails any
// check is refused whole and leaves no catalogue; so is one whose header
// names a plural rule (game/base/plural_rule.h) that does not read. A counted
// text's entry holds its English singular and plural, and one translation
// per form of the catalogue's rule, each ended by a zero byte.
//   MoCatalogBytes             the largest catalogue read, in bytes
//   LoadMoCatalog(path)        reads and checks a .mo file; false (no catalogue) when unusable
//   LoadMoCatalogBytes(b, n)   the same for a file's bytes already in memory
//   ClearMoCatalog()           no catalogue: every lookup finds nothing
//   MoTranslation(english)     the translation of english; null when the catalogue has none
//   MoPluralTranslation(english, n)  the form for the count n of a counted text; null when none
//   MoCatalogEntries()         texts in the catalogue (its header included); 0 when none
#pragma once

const int MoCatalogBytes = 256 * 1024;

#include <cstddef>

bool LoadMoCatalog(const char* path);
bool LoadMoCatalogBytes(const unsigned char* bytes, size_t size);
void ClearMoCatalog();

// Null for a text the catalogue lacks, and for the empty text (the header's key).
const char* MoTranslation(const char* english);

// english is the counted text's English singular. Null when the catalogue
// lacks it, or its rule gives n a form the entry does not hold.
const char* MoPluralTranslation(const char* english, unsigned long n);

int MoCatalogEntries();
