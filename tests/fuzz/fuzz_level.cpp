// Feeds arbitrary bytes to the level reader and the level scan, then checks
// what they left: the grid outside W x H untouched, every cell 0..11, a title
// that ends in its only line feed and fits its slot, sizes and item count in
// range; the title walked glyph by glyph in both fonts (every glyph in its
// table) and cut to a width. The last bytes also steer a few cell and
// collision look-ups.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "fuzz_check.h"
#include "game/base/utf8.h"
#include "game/files/level_files.h"
#include "game/play/collision.h"
#include "game/play/world.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "render/text.h"


static const int Canary = maptype_gravityright;
static const int TitleGuardBytes = 64;
static const unsigned char GuardByte = 0xa5;

static float FloatAt(const uint8_t* data, size_t size, size_t from)
{
  float value = 0;
  if (size >= from + sizeof(value))
    memcpy(&value, data + size - from - sizeof(value), sizeof(value));
  return value;
}

static void CheckTitleText(const char* title, float width)
{
  BuildFontGlyphs();
  FillDashboardTables();
  for (const GlyphFont* font : { &BigFont, &SmallFont }) {
    const char* walk = title;
    for (int n = Utf8Length(title); n > 0; n--) {
      unsigned texture;
      const AtlasRect* g = NextGlyph(font, &walk, &texture);
      CHECK(!g || (g >= font->extra && g < font->extra + ExtraGlyphCount) ||
            (g >= font->ascii && g <= font->ascii + (font->lastCode - font->firstCode)));
    }
    CHECK(walk == title + strlen(title));
  }
  // A cut fits the width: whole characters of the title, then up to three dots.
  char cut[TitleSlotSize];
  memcpy(cut, title, TitleSlotSize);
  FitTextToWidth(cut, width, 1);
  int head = (int)strlen(cut), dots = 0;
  CHECK(!strcmp(cut, title) || TextWidth(cut, 1) <= (width > 0 ? width : 0) + 1e-3f);
  while (dots++ < 3 && head > 0 && cut[head - 1] == '.' && memcmp(cut, title, head) != 0)
    cut[--head] = 0;
  CHECK(memcmp(cut, title, head) == 0 && Utf8PrefixBytes(title, Utf8Length(cut)) == head);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  // Cells outside the last rectangle were checked to hold Canary already, so
  // only that rectangle needs filling again.
  static MapCell canaryColumn[MapSize];
  static bool filled = false;
  if (!filled) {
    for (int y = 0; y < MapSize; y++)
      canaryColumn[y] = Canary;
    for (int x = 0; x < MapSize; x++)
      memcpy(&MapGrid[x * MapSize], canaryColumn, sizeof(canaryColumn));
    filled = true;
  }
  for (int x = 0; x < LevelWidth; x++)
    memcpy(&MapGrid[x * MapSize], canaryColumn, LevelHeight * sizeof(MapCell));

  unsigned char title[TitleSlotSize + TitleGuardBytes];
  memset(title, GuardByte, sizeof(title));

  FILE* f = size ? fmemopen((void*)data, size, "r") : fopen("/dev/null", "r");
  if (!f)
    return 0;
  LevelRepairs repairs;
  ReadLevelStream(f, (char*)title, &repairs);
  fclose(f);

  CHECK(LevelWidth >= 0 && LevelWidth <= MaxLevelWidth);
  CHECK(LevelHeight >= 0 && LevelHeight <= MaxLevelHeight);
  for (int x = 0; x < MapSize; x++) {
    const MapCell* column = &MapGrid[x * MapSize];
    int rows = x < LevelWidth ? LevelHeight : 0;
    for (int y = 0; y < rows; y++)
      CHECK(column[y] < MapTypeCount);
    CHECK(memcmp(column + rows, canaryColumn, (MapSize - rows) * sizeof(MapCell)) == 0);
  }
  CHECK(repairs.shortRows >= 0 && repairs.shortRows <= LevelHeight);
  CHECK(repairs.badCharacters >= 0 && repairs.badCharacters <= LevelWidth * LevelHeight);

  size_t len = strnlen((const char*)title, TitleSlotSize);
  CHECK(len >= 1 && len <= TitleSlotSize - 1);
  CHECK(title[len - 1] == '\n');
  CHECK(memchr(title, '\n', len - 1) == nullptr);
  for (int i = TitleSlotSize; i < TitleSlotSize + TitleGuardBytes; i++)
    CHECK(title[i] == GuardByte);

  CheckTitleText((const char*)title, FloatAt(data, size, 2 * sizeof(float)));

  ItemCount = 0;
  ScanLevel();
  CHECK(ItemCount >= 0 && ItemCount <= MaxItems);

  float px = FloatAt(data, size, 0);
  float py = FloatAt(data, size, sizeof(float));
  int under = CellUnder(px, py);
  CHECK(under >= 0 && under < MapTypeCount);
  if (!(px >= 0 && px < LevelWidth && py >= 0 && py < LevelHeight))
    CHECK(under == maptype_nothing);
  CollideSolid(px, py, BallRadius);
  TouchesHarmful(px, py, BallRadius);
  return 0;
}
