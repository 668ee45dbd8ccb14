// The sprites of the atlas: title, ball, pickups, finish, aim marker, tether
// and panels. Sprites keep a clear border inside their 1.5-texel inset.
#include "art_pictures.h"

#include <algorithm>

const Rgba Ink = Col(10, 16, 34);          // outline colour shared by the sprites
const Rgba BallLit = Col(255, 196, 92);
const Rgba BallBase = Col(242, 112, 28);
const Rgba BallDeep = Col(120, 34, 12);
const Rgba RimLight = Col(120, 200, 255);

ArtRect PanelPiece(int set, int piece) {
  int x0 = set ? PanelHighlightX : PanelNormalX;
  return {x0 + PanelPieceSize * (piece % 3), PanelTop + PanelPieceSize * (piece / 3), PanelPieceSize, PanelPieceSize};
}

// A lit sphere of radius r at (cx, cy): diffuse from the top left, a cool rim
// light at the lower right and a sharp highlight.
Rgba SpherePaint(float x, float y, float cx, float cy, float r) {
  float nx = (x - cx) / r, ny = (y - cy) / r;
  float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
  float diffuse = Clamp01(-0.45f * nx - 0.55f * ny + 0.70f * nz);
  Rgba c = diffuse < 0.5f ? Mix(BallDeep, BallBase, diffuse * 2) : Mix(BallBase, BallLit, diffuse * 2 - 1);
  float rim = SmoothStep(0.55f, 1.0f, 1 - nz) * Clamp01(0.3f + 0.6f * (nx + ny));
  c = Mix(c, RimLight, rim * 0.55f);
  float shine = std::pow(Clamp01(-0.5f * nx - 0.6f * ny + 0.62f * nz), 40.0f);
  return Mix(c, Col(255, 255, 245), shine);
}

static void DrawBall(Image* atlas) {
  Canvas cv = NewCanvas(128, 128);
  const float cx = 64, cy = 64, r = 52;  // ball of radius 0.6 drawn 1.41 wide
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, cx, cy, r + 6); },
            [&](float x, float y) { return WithAlpha(Ink, 0.35f * SmoothStep(r + 6, r, std::hypot(x - cx, y - cy))); });
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, cx, cy, r + 1.5f); }, Ink);
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, cx, cy, r); },
            [&](float x, float y) { return SpherePaint(x, y, cx, cy, r); });
  // a soft band across the ball so it reads as a toy orb rather than a dot
  FillShape(&cv, [&](float x, float y) { return std::max(SdCircle(x, y, cx, cy, r - 1), std::fabs((x - cx) * 0.5f + (y - cy) * 0.87f) - 7); },
            [&](float x, float y) { return WithAlpha(Col(255, 240, 200), 0.22f * Clamp01(1 - std::hypot(x - cx, y - cy) / r)); });
  PlaceCanvas(atlas, &cv, ArtBall.x, ArtBall.y, place_sprite);
}

static void DrawParticle(Image* atlas) {
  Canvas cv = NewCanvas(128, 128);
  FillShape(&cv, [](float x, float y) { return SdCircle(x, y, 64, 64, 60); },
            [](float x, float y) {
              float d = Clamp01(std::hypot(x - 64, y - 64) / 60);
              float glow = (1 - d) * (1 - d);
              Rgba c = Mix(Col(255, 140, 40), Col(255, 250, 220), glow * glow * 1.6f);
              return WithAlpha(c, glow * 0.95f);
            });
  PlaceCanvas(atlas, &cv, ArtParticle.x, ArtParticle.y, place_sprite);
}

static void DrawExtraTime(Image* atlas) {
  Canvas cv = NewCanvas(128, 128);
  const float cx = 64, cy = 70, r = 44;
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, cx, cy - 3, 60); },
            [&](float x, float y) { return WithAlpha(Col(90, 255, 200), 0.45f * SmoothStep(60, 40, std::hypot(x - cx, y - cy + 3))); });
  FillSolid(&cv, [&](float x, float y) { return SdRoundBox(x, y, cx, cy - r - 5, 10, 9, 3); }, Ink);
  FillSolid(&cv, [&](float x, float y) { return SdRoundBox(x, y, cx, cy - r - 5, 7, 6, 2); }, Col(120, 240, 200));
  FillSolid(&cv, [&](float x, float y) { return SdSegment(x, y, cx + 30, cy - 36, cx + 36, cy - 42, 6); }, Ink);
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, cx, cy, r + 3); }, Ink);
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, cx, cy, r); },
            [&](float, float y) { return Mix(Col(70, 225, 170), Col(20, 130, 110), (y - cy + r) / (2 * r)); });
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, cx, cy, r - 7); },
            [&](float, float y) { return Mix(Col(255, 255, 250), Col(205, 235, 230), (y - cy + r) / (2 * r)); });
  for (int tick = 0; tick < 12; tick++) {
    float a = tick * Pi / 6, s = std::sin(a), c = std::cos(a);
    FillSolid(&cv, [&](float x, float y) { return SdSegment(x, y, cx + s * 31, cy - c * 31, cx + s * 34, cy - c * 34, 1.2f); },
              WithAlpha(Col(20, 90, 80), 0.8f));
  }
  float width;
  Mask label = TextMask(font_sans, "+5", 40, &width);
  float cap = CapHeight(font_sans, 40);
  int pen = int(std::lround(cx - width / 2)), base = int(std::lround(cy + cap / 2));
  FillMask(&cv, &label, pen, base, [](float, float) { return Col(200, 40, 60); });
  PlaceCanvas(atlas, &cv, ArtExtraTime.x, ArtExtraTime.y, place_sprite);
}

// A checkered disc inside a green portal ring: the ball wins within two
// units of its centre, which is the ring at the 3.25-unit drawn size.
static void DrawFinish(Image* atlas) {
  Canvas cv = NewCanvas(128, 128);
  const float c = 64, ring = 50;
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, c, c, 61); },
            [&](float x, float y) { return WithAlpha(Col(90, 255, 140), 0.55f * SmoothStep(61, ring, std::hypot(x - c, y - c))); });
  FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, c, c, ring + 3); }, Ink);
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, c, c, ring - 5); },
            [&](float x, float y) {
              int cell = (int(std::floor((x - c) / 12)) + int(std::floor((y - c) / 12))) & 1;
              Rgba base = cell ? Col(20, 28, 30) : Col(240, 250, 245);
              float shade = Clamp01(std::hypot(x - c + 15, y - c + 15) / 80);
              return Mix(base, Col(40, 120, 70), shade * 0.55f);
            });
  FillShape(&cv, [&](float x, float y) { return std::fabs(SdCircle(x, y, c, c, ring - 1.5f)) - 4.5f; },
            [&](float, float y) { return Mix(Col(170, 255, 180), Col(30, 170, 80), (y - c + ring) / (2 * ring)); });
  PlaceCanvas(atlas, &cv, ArtFinish.x, ArtFinish.y, place_sprite);
}

static void DrawPointer(Image* atlas) {
  Canvas cv = NewCanvas(128, 128);
  const float c = 64;
  auto crosshair = [&](float x, float y, float grow) {
    float d = std::fabs(SdCircle(x, y, c, c, 18)) - 1.6f - grow;
    d = std::min(d, SdCircle(x, y, c, c, 2.5f + grow));
    d = std::min(d, SdSegment(x, y, c, c - 26, c, c - 42, 1.6f + grow));
    d = std::min(d, SdSegment(x, y, c, c + 26, c, c + 42, 1.6f + grow));
    d = std::min(d, SdSegment(x, y, c - 26, c, c - 42, c, 1.6f + grow));
    return std::min(d, SdSegment(x, y, c + 26, c, c + 42, c, 1.6f + grow));
  };
  FillSolid(&cv, [&](float x, float y) { return crosshair(x, y, 2.2f); }, WithAlpha(Ink, 0.75f));
  FillSolid(&cv, [&](float x, float y) { return crosshair(x, y, 0); }, Col(235, 250, 255));
  PlaceCanvas(atlas, &cv, ArtPointer.x, ArtPointer.y, place_sprite);
}

static void DrawSpare(Image* atlas) {
  Canvas cv = NewCanvas(128, 128);
  auto star = [](float x, float y) {
    float a = std::atan2(y - 64, x - 64), d = std::hypot(x - 64, y - 64);
    float edge = 26 + 16 * std::cos(5 * (a + Pi / 2)) * 0.5f + 8;
    return d - edge;
  };
  FillSolid(&cv, [&](float x, float y) { return star(x, y) - 2.5f; }, Ink);
  FillShape(&cv, star, [](float, float y) { return Mix(Col(255, 240, 140), Col(240, 150, 30), (y - 30) / 70); });
  PlaceCanvas(atlas, &cv, ArtSpare.x, ArtSpare.y, place_sprite);
}

// The rope's cross-section, the same for the body and both ends so the three
// pieces join without a seam wherever they meet.
const float RopeHalf = 9;  // texels of a 64-texel-high tether piece
static Rgba RopePaint(float, float y) {
  float t = std::fabs(y - 32) / RopeHalf;
  Rgba c = Mix(Col(255, 236, 180), Col(196, 140, 70), t * t);
  return Mix(c, Ink, SmoothStep(0.78f, 1.0f, t));
}

static void DrawTether(Image* atlas) {
  Canvas body = NewCanvas(ArtTether.w, ArtTether.h);
  FillShape(&body, [](float, float y) { return std::fabs(y - 32) - RopeHalf; }, RopePaint);
  PlaceCanvas(atlas, &body, ArtTether.x, ArtTether.y, place_sprite);

  Canvas ballEnd = NewCanvas(64, 64);
  FillShape(&ballEnd, [](float x, float y) { return SdSegment(x, y, 30, 32, 200, 32, RopeHalf); }, RopePaint);
  PlaceCanvas(atlas, &ballEnd, ArtTetherBallEnd.x, ArtTetherBallEnd.y, place_sprite);

  Canvas anchor = NewCanvas(64, 64);
  FillShape(&anchor, [](float x, float y) { return SdSegment(x, y, -100, 32, 30, 32, RopeHalf); }, RopePaint);
  auto claw = [](float x, float y) {
    float d = SdSegment(x, y, 26, 32, 46, 32, 4);
    d = std::min(d, SdSegment(x, y, 44, 32, 56, 18, 3.5f));
    return std::min(d, SdSegment(x, y, 44, 32, 56, 46, 3.5f));
  };
  FillSolid(&anchor, [&](float x, float y) { return claw(x, y) - 2; }, Ink);
  FillShape(&anchor, claw, [](float, float y) { return Mix(Col(230, 240, 250), Col(120, 135, 160), (y - 14) / 36); });
  FillSolid(&anchor, [](float x, float y) { return SdCircle(x, y, 30, 32, 7); }, Ink);
  FillSolid(&anchor, [](float x, float y) { return SdCircle(x, y, 30, 32, 5); }, Col(200, 210, 225));
  PlaceCanvas(atlas, &anchor, ArtTetherAnchorEnd.x, ArtTetherAnchorEnd.y, place_sprite);
}

// Both panel sets are drawn as one 192 x 192 frame and cut into nine pieces.
// The shading depends only on the distance to the frame's edge, so every edge
// piece is constant along its length and stretches cleanly.
static void DrawPanelSet(Image* atlas, int set) {
  const float size = 3 * PanelPieceSize, half = size / 2, margin = 5, radius = 34, rim = 5;
  Rgba fill = set ? Col(44, 118, 170, 0.93f) : Col(22, 34, 66, 0.86f);
  Rgba fillEdge = set ? Col(70, 170, 220, 0.95f) : Col(34, 54, 96, 0.9f);
  Rgba rimOuter = set ? Col(255, 210, 90) : Col(110, 150, 210);
  Rgba rimInner = set ? Col(255, 250, 200) : Col(170, 200, 240);
  Canvas cv = NewCanvas(int(size), int(size));
  auto frame = [&](float x, float y) { return SdRoundBox(x, y, half, half, half - margin, half - margin, radius); };
  const float glowReach = margin - 2.5f;  // stops a texel short of the sampled edge
  FillShape(&cv, [&](float x, float y) { return frame(x, y) - glowReach; },
            [&](float x, float y) {
              float glow = SmoothStep(glowReach + 0.5f, 0, frame(x, y));
              return set ? WithAlpha(Col(255, 200, 80), 0.5f * glow) : WithAlpha(Ink, 0.4f * glow);
            });
  FillShape(&cv, frame, [&](float x, float y) {
    float d = -frame(x, y);
    if (d < rim) return Mix(rimOuter, rimInner, d / rim);
    return Mix(fillEdge, fill, SmoothStep(rim, rim + 14, d));
  });
  PlaceCanvas(atlas, &cv, set ? PanelHighlightX : PanelNormalX, PanelTop, place_sprite);
}

void DrawAtlas(Image* atlas) {
  DrawAtlasCells(atlas);
  DrawBall(atlas);
  DrawParticle(atlas);
  DrawExtraTime(atlas);
  DrawFinish(atlas);
  DrawPointer(atlas);
  DrawSpare(atlas);
  DrawTether(atlas);
  DrawPanelSet(atlas, 0);
  DrawPanelSet(atlas, 1);
  DrawAtlasFont(atlas);
}
