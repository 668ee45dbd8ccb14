// The four medals, one row of 64-pixel cells: bronze, silver and gold round
// medals with one, two and three notches cut into their rim, and the
// author's medal, a star, so that shape alone tells them apart.
#include "art_pictures.h"
#include "render/medal_set.h"

static const int MedalNotchesMax = 3;
static const int StarPoints = 5;

struct MedalLook {
  Rgba light, dark;   // the metal's top and bottom
  int notches;        // 0 for the star
};

static const MedalLook Looks[] = {
  {{0.92f, 0.62f, 0.36f, 1}, {0.55f, 0.30f, 0.12f, 1}, 1},   // bronze
  {{0.95f, 0.96f, 1.00f, 1}, {0.52f, 0.56f, 0.64f, 1}, 2},   // silver
  {{1.00f, 0.90f, 0.40f, 1}, {0.78f, 0.52f, 0.05f, 1}, 3},   // gold
  {{0.70f, 0.95f, 1.00f, 1}, {0.20f, 0.45f, 0.85f, 1}, 0},   // author
};
static_assert(sizeof Looks / sizeof Looks[0] == MedalPictureCount, "one entry per MedalPictureCount");

static const Rgba MedalInk = {0.06f, 0.06f, 0.10f, 1};

// A five-pointed star's outline around (cx, cy): outer radius r, inner ri.
static void StarPointsAround(float cx, float cy, float r, float ri, float* xy)
{
  for (int i = 0; i < 2 * StarPoints; i++) {
    float angle = -Pi / 2 + i * Pi / StarPoints;
    float radius = i % 2 ? ri : r;
    xy[2 * i] = cx + radius * std::cos(angle);
    xy[2 * i + 1] = cy + radius * std::sin(angle);
  }
}

static Canvas MedalCanvas(const MedalLook& look)
{
  const float s = (float)MedalCellPixels, c = s / 2;
  Canvas cv = NewCanvas(MedalCellPixels, MedalCellPixels);
  auto metal = [&](float, float y) { return Mix(look.light, look.dark, y / s); };
  if (look.notches == 0) {
    float outline[4 * StarPoints], star[4 * StarPoints];
    StarPointsAround(c, c + 2, s * 0.48f, s * 0.22f, outline);
    StarPointsAround(c, c + 2, s * 0.40f, s * 0.17f, star);
    FillSolid(&cv, [&](float x, float y) { return SdPolygon(x, y, outline, 2 * StarPoints); }, MedalInk);
    FillShape(&cv, [&](float x, float y) { return SdPolygon(x, y, star, 2 * StarPoints); }, metal);
    return cv;
  }
  const float r = s * 0.44f;
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, c, c, r + 3); }, MedalInk);
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, c, c, r); }, metal);
  FillSolid(&cv, [&](float x, float y) { return std::fabs(SdCircle(x, y, c, c, r * 0.62f)) - 1.5f; },
            WithAlpha(MedalInk, 0.55f));
  // Notches: bars across the lower half, side by side, in the ink.
  const float gap = s * 0.13f, barHalf = s * 0.035f;
  float left = c - gap * (look.notches - 1) / 2;
  for (int i = 0; i < look.notches && i < MedalNotchesMax; i++) {
    float x0 = left + gap * i;
    FillSolid(&cv, [&](float x, float y) { return SdRoundBox(x, y, x0, c, barHalf, s * 0.15f, barHalf); }, MedalInk);
  }
  return cv;
}

void DrawMedals(Image* medals)
{
  for (int i = 0; i < MedalPictureCount; i++) {
    Canvas cv = MedalCanvas(Looks[i]);
    PlaceCanvas(medals, &cv, i * MedalCellPixels, 0, place_sprite);
  }
}
