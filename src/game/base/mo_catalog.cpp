// The compiled message catalogue in use, read and checked whole.
#include "game/base/mo_catalog.h"

#include "game/base/plural_rule.h"

#include <cstdio>
#include <cstring>

static const unsigned MoMagic = 0x950412de;     // the first word, in the writer's byte order
static const unsigned MoMajorShift = 16;        // the revision word's top half is the major revision
static const unsigned MoMaxMajor = 1;           // majors 0 and 1 share the tables read here
static const int MoHeaderBytes = 28;            // magic, revision, count, two table offsets, hash size and offset
static const int MoCountAt = 8, MoOriginalsAt = 12, MoTranslationsAt = 16;
static const int MoEntryBytes = 8;              // a table entry: length, then offset

static unsigned char MoBytes[MoCatalogBytes + 1];   // one byte more tells a file too large
static int MoSize;
static int MoCount;              // 0: no catalogue
static unsigned MoOriginals;     // offset of the table of English texts, sorted by strcmp
static unsigned MoTranslations;  // offset of the table of their translations, in the same order
static bool MoBigEndian;
static PluralRule MoPlurals;     // the header's rule, English's when it names none
static const char PluralFormsField[] = "Plural-Forms:";

// The 32-bit word at offset at, in the file's byte order; the caller keeps at + 4 within MoSize.
static unsigned MoWord(unsigned at)
{
  const unsigned char* b = MoBytes + at;
  if (MoBigEndian)
    return (unsigned)b[0] << 24 | (unsigned)b[1] << 16 | (unsigned)b[2] << 8 | b[3];
  return (unsigned)b[3] << 24 | (unsigned)b[2] << 16 | (unsigned)b[1] << 8 | b[0];
}

// True when entry i of the table at offset table lies in the file and names
// a string that ends with its terminator inside the file.
static bool MoEntryFits(unsigned table, int i)
{
  unsigned at = table + (unsigned)i * MoEntryBytes;
  unsigned length = MoWord(at), offset = MoWord(at + 4);
  return offset < (unsigned)MoSize && length < (unsigned)MoSize - offset && MoBytes[offset + length] == 0;
}

static const char* MoString(unsigned table, int i)
{
  return (const char*)MoBytes + MoWord(table + (unsigned)i * MoEntryBytes + 4);
}

// True when the two tables of count entries lie in the file and every entry fits.
static bool MoTablesFit(unsigned count)
{
  unsigned tableBytes = count * MoEntryBytes;
  if (count > (unsigned)MoSize / MoEntryBytes || MoOriginals > (unsigned)MoSize - tableBytes ||
      MoTranslations > (unsigned)MoSize - tableBytes)
    return false;
  for (int i = 0; i < (int)count; i++)
    if (!MoEntryFits(MoOriginals, i) || !MoEntryFits(MoTranslations, i))
      return false;
  return true;
}

// The header (the translation of the empty text, first in the sorted table)
// names the plural rule; false when it names one that does not read.
static bool ReadPlurals()
{
  MoPlurals = EnglishPluralRule;
  if (MoCount == 0 || MoString(MoOriginals, 0)[0] != 0)
    return true;
  const char* header = MoString(MoTranslations, 0);
  for (const char* line = header; line; line = strchr(line, '\n') ? strchr(line, '\n') + 1 : nullptr)
    if (strncmp(line, PluralFormsField, sizeof PluralFormsField - 1) == 0)
      return ReadPluralRule(line + sizeof PluralFormsField - 1, &MoPlurals);
  return true;
}

void ClearMoCatalog()
{
  MoPlurals = EnglishPluralRule;
  MoCount = 0;
  MoSize = 0;
}

// Checks the size bytes read into MoBytes and takes them as the catalogue.
static bool UseMoBytes(size_t size)
{
  if (size < (size_t)MoHeaderBytes || size > (size_t)MoCatalogBytes)
    return false;
  MoSize = (int)size;
  MoBigEndian = false;
  if (MoWord(0) != MoMagic) {
    MoBigEndian = true;
    if (MoWord(0) != MoMagic)
      return false;
  }
  unsigned count = MoWord(MoCountAt);
  MoOriginals = MoWord(MoOriginalsAt);
  MoTranslations = MoWord(MoTranslationsAt);
  if (MoWord(4) >> MoMajorShift > MoMaxMajor || !MoTablesFit(count)) {
    MoSize = 0;
    return false;
  }
  MoCount = (int)count;
  if (!ReadPlurals()) {
    ClearMoCatalog();
    return false;
  }
  return true;
}

bool LoadMoCatalog(const char* path)
{
  ClearMoCatalog();
  FILE* f = fopen(path, "rb");
  if (!f)
    return false;
  size_t size = fread(MoBytes, 1, sizeof MoBytes, f);
  fclose(f);
  return UseMoBytes(size);
}

bool LoadMoCatalogBytes(const unsigned char* bytes, size_t size)
{
  ClearMoCatalog();
  if (size > (size_t)MoCatalogBytes)
    return false;
  memcpy(MoBytes, bytes, size);
  return UseMoBytes(size);
}

// The entry whose English (its singular, for a counted text) is english; -1 when none is.
static int MoEntryOf(const char* english)
{
  if (!english[0])
    return -1;
  int low = 0, high = MoCount - 1;
  while (low <= high) {
    int mid = low + (high - low) / 2;
    int order = strcmp(english, MoString(MoOriginals, mid));
    if (order == 0)
      return mid;
    if (order < 0)
      high = mid - 1;
    else
      low = mid + 1;
  }
  return -1;
}

const char* MoTranslation(const char* english)
{
  int entry = MoEntryOf(english);
  const char* text = entry < 0 ? nullptr : MoString(MoTranslations, entry);
  return text && text[0] ? text : nullptr;
}

const char* MoPluralTranslation(const char* english, unsigned long n)
{
  int entry = MoEntryOf(english);
  int form = entry < 0 ? -1 : PluralIndex(MoPlurals, n);
  if (form < 0)
    return nullptr;
  // The forms lie one after the other within the entry's length, whose end byte is a zero.
  unsigned length = MoWord(MoTranslations + (unsigned)entry * MoEntryBytes);
  unsigned at = MoWord(MoTranslations + (unsigned)entry * MoEntryBytes + 4), end = at + length;
  for (int k = 0; k < form && at <= end; k++)
    at += (unsigned)strlen((const char*)MoBytes + at) + 1;
  const char* text = (const char*)MoBytes + at;
  return at <= end && text[0] ? text : nullptr;
}

int MoCatalogEntries()
{
  return MoCount;
}
