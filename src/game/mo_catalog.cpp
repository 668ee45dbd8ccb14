// The compiled message catalogue in use, read and checked whole.
#include "game/mo_catalog.h"

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

void ClearMoCatalog()
{
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

const char* MoTranslation(const char* english)
{
  if (!english[0])
    return nullptr;
  int low = 0, high = MoCount - 1;
  while (low <= high) {
    int mid = low + (high - low) / 2;
    int order = strcmp(english, MoString(MoOriginals, mid));
    if (order == 0) {
      const char* text = MoString(MoTranslations, mid);
      return text[0] ? text : nullptr;
    }
    if (order < 0)
      high = mid - 1;
    else
      low = mid + 1;
  }
  return nullptr;
}

int MoCatalogEntries()
{
  return MoCount;
}
