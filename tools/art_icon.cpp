// The desktop icon: the orb swinging on its tether from an anchor block, on a
// rounded night-blue tile. Drawn in units of the icon's size, so every size
// is a sharp drawing of its own rather than a scaled copy.
#include "art_pictures.h"

#include <algorithm>

const Rgba TileTop = Col(34, 58, 112);
const Rgba TileBottom = Col(10, 16, 34);
const Rgba TetherColour = Col(200, 230, 255);
const Rgba AnchorColour = Col(120, 200, 255);
const Rgba IconInk = Col(10, 16, 34);

void DrawIcon(Image* icon) {
  const float s = (float)icon->w;
  Canvas cv = NewCanvas(icon->w, icon->h);
  const float half = s * 0.5f, corner = s * 0.18f, inset = s * 0.03f;
  FillShape(&cv, [&](float x, float y) { return SdRoundBox(x, y, half, half, half - inset, half - inset, corner); },
            [&](float, float y) { return Mix(TileTop, TileBottom, y / s); });
  // anchor block near the top right, the tether to the orb at the lower left
  const float ax = s * 0.74f, ay = s * 0.24f, block = s * 0.09f;
  const float bx = s * 0.38f, by = s * 0.62f, r = s * 0.22f;
  FillSolid(&cv, [&](float x, float y) { return SdSegment(x, y, ax, ay, bx, by, s * 0.035f); }, IconInk);
  FillSolid(&cv, [&](float x, float y) { return SdSegment(x, y, ax, ay, bx, by, s * 0.018f); }, TetherColour);
  FillSolid(&cv, [&](float x, float y) { return SdRoundBox(x, y, ax, ay, block + s * 0.015f, block + s * 0.015f, s * 0.03f); }, IconInk);
  FillShape(&cv, [&](float x, float y) { return SdRoundBox(x, y, ax, ay, block, block, s * 0.02f); },
            [&](float, float y) { return Mix(AnchorColour, TileTop, (y - ay + block) / (2 * block)); });
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, bx, by, r + s * 0.02f); }, IconInk);
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, bx, by, r); },
            [&](float x, float y) { return SpherePaint(x, y, bx, by, r); });
  PlaceCanvas(icon, &cv, 0, 0, place_sprite);
}
