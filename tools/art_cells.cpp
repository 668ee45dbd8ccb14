// The map cells and the background. Solid blocks are opaque to their edges
// and repeat their edge texels into the margin, so walls tile without seams.
#include "art_pictures.h"

#include <algorithm>

const int CellSize = 128;
const float CellInset = 1.5f;                 // texels the atlas table leaves out
const float CellEdge = CellSize - CellInset;  // last sampled coordinate

// Distance inward from the sampled square's nearest edge.
static float EdgeDepth(float x, float y) {
  return std::min(std::min(x - CellInset, CellEdge - x), std::min(y - CellInset, CellEdge - y));
}

// Bevel light: +1 on the lit top-left rim, -1 on the shaded bottom-right rim.
static float Bevel(float x, float y, float width) {
  float toLeft = x - CellInset, toTop = y - CellInset, toRight = CellEdge - x, toBottom = CellEdge - y;
  float m = std::min(std::min(toLeft, toTop), std::min(toRight, toBottom));
  if (m >= width) return 0;
  float strength = 1 - m / width * 0.35f;
  return (m == toLeft || m == toTop) ? strength : -strength;
}

static Rgba Lit(Rgba c, float light) {
  return light >= 0 ? Mix(c, Col(255, 255, 255, c.a), light * 0.45f) : Mix(c, Col(0, 0, 0, c.a), -light * 0.5f);
}

static void PlaceCell(Image* atlas, Canvas* cv, ArtRect r) { PlaceCanvas(atlas, cv, r.x, r.y, place_tile); }

static void DrawBlockNormal(Image* atlas) {
  Canvas cv = NewCanvas(CellSize, CellSize);
  FillShape(&cv, [](float, float) { return -100.0f; }, [](float x, float y) {
    float grain = SmoothNoise(x, y, 10, 13, 1) * 0.6f + HashNoise(int(x), int(y), 2) * 0.4f;
    Rgba c = Mix(Col(58, 98, 128), Col(78, 126, 156), grain);
    c = Mix(c, Col(46, 80, 108), SmoothStep(30, 120, x + y) * 0.5f);
    if (EdgeDepth(x, y) < 2.5f) return Col(20, 34, 52);
    return Lit(c, Bevel(x, y, 11));
  });
  for (int i = 0; i < 4; i++) {
    float rx = (i & 1) ? 104 : 24, ry = (i & 2) ? 104 : 24;
    FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, rx + 1, ry + 1, 4.5f); }, Col(30, 50, 70, 0.7f));
    FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, rx, ry, 4); },
              [&](float x, float y) { return Mix(Col(190, 215, 235), Col(80, 110, 140), (x - rx + y - ry + 8) / 16); });
  }
  PlaceCell(atlas, &cv, ArtBlockNormal);
}

// A spiked mine in a yellow and black hazard band: eight pale, sharp spikes
// and a dark core on a near-black plate say "harmful" without the red.
static void DrawBlockHarmful(Image* atlas) {
  Canvas cv = NewCanvas(CellSize, CellSize);
  const float band = 16, c = 64, inner = 17, outer = 46;
  const int spikes = 8;
  FillShape(&cv, [](float, float) { return -100.0f; }, [&](float x, float y) {
    float depth = EdgeDepth(x, y);
    if (depth < 2.5f) return Col(40, 10, 8);
    if (depth < band) {
      bool yellow = int(std::floor((x + y) / 14)) & 1;
      return Lit(yellow ? Col(250, 200, 30) : Col(30, 24, 20), Bevel(x, y, 5) * 0.6f);
    }
    if (depth < band + 2) return Col(20, 6, 6);
    float glow = SmoothStep(46, 10, std::hypot(x - c, y - c));
    return Mix(Col(44, 10, 12), Col(130, 20, 22), glow * 0.8f);
  });
  float star[4 * spikes];  // tip, notch, tip, notch, ... as x, y pairs
  for (int i = 0; i < 2 * spikes; i++) {
    float a = (i * 0.5f + 0.5f) * 2 * Pi / spikes, r = i % 2 ? inner : outer;
    star[2 * i] = c + r * std::cos(a);
    star[2 * i + 1] = c + r * std::sin(a);
  }
  FillSolid(&cv, [&](float x, float y) { return SdPolygon(x, y, star, 2 * spikes) - 2.5f; }, Col(16, 4, 4));
  FillShape(&cv, [&](float x, float y) { return SdPolygon(x, y, star, 2 * spikes); }, [&](float x, float y) {
    // each spike's two faces lit by how they face the light from the top left
    float a = std::atan2(y - c, x - c), axis = (std::floor(a * spikes / (2 * Pi)) + 0.5f) * 2 * Pi / spikes;
    float side = std::sin(a - axis) < 0 ? -1.0f : 1.0f;
    float nx = std::cos(axis + side * Pi / 2), ny = std::sin(axis + side * Pi / 2);
    float light = 0.62f + 0.38f * (-0.7f * nx - 0.7f * ny);
    float reach = std::hypot(x - c, y - c) / outer;
    Rgba steel = Mix(Col(246, 242, 236), Col(230, 80, 64), SmoothStep(0.55f, 1.0f, reach));
    return Mix(Col(20, 6, 6), steel, light);
  });
  FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, c, c, 15); }, [&](float x, float y) {
    return Mix(Col(90, 30, 30), Col(20, 6, 8), Clamp01(std::hypot(x - c + 5, y - c + 5) / 20));
  });
  PlaceCell(atlas, &cv, ArtBlockHarmful);
}

// Slick polished steel with a no-hook mark: the tether slides off it.
static void DrawBlockNoSwing(Image* atlas) {
  Canvas cv = NewCanvas(CellSize, CellSize);
  FillShape(&cv, [](float, float) { return -100.0f; }, [](float x, float y) {
    if (EdgeDepth(x, y) < 2.5f) return Col(40, 46, 56);
    float brushed = SmoothNoise(x * 0.15f, y * 4, 3, 64, 3);
    Rgba c = Mix(Col(150, 162, 178), Col(196, 206, 220), brushed);
    float streak = std::fabs(std::fmod(x - y + 256, 96.0f) - 48);
    c = Mix(c, Col(245, 250, 255), SmoothStep(14, 4, streak) * 0.55f);
    return Lit(c, Bevel(x, y, 8));
  });
  const float c = 64;
  FillSolid(&cv, [&](float x, float y) { return std::fabs(SdCircle(x, y, c, c, 26)) - 6; }, Col(70, 80, 96, 0.85f));
  FillSolid(&cv, [&](float x, float y) { return SdSegment(x, y, c - 18, c - 18, c + 18, c + 18, 5.5f); }, Col(70, 80, 96, 0.85f));
  PlaceCell(atlas, &cv, ArtBlockNoSwing);
}

// See-through cell with a dashed outline: drawn, but never solid.
static void DrawBlockGhost(Image* atlas) {
  Canvas cv = NewCanvas(CellSize, CellSize);
  FillShape(&cv, [](float, float) { return -100.0f; }, [](float x, float y) {
    float hatch = SmoothStep(3, 1, std::fabs(std::fmod(x + y, 32.0f) - 16));
    return Col(190, 210, 255, 0.14f + 0.08f * hatch);
  });
  FillShape(&cv, [](float x, float y) { return std::fabs(EdgeDepth(x, y) - 7) - 2; }, [](float x, float y) {
    float along = std::fabs(x - 64) > std::fabs(y - 64) ? y : x;
    bool dash = std::fmod(along + 8, 32.0f) < 18;
    return Col(225, 235, 255, dash ? 0.45f : 0.1f);
  });
  PlaceCell(atlas, &cv, ArtBlockGhost);
}

// A translucent field with chevrons along (dx, dy), the way gravity pulls.
// The field thickens toward the side it pulls to, so a region of these cells
// reads as a flow, and each direction stays apart from the others without
// its colour.
static void DrawGravity(Image* atlas, ArtRect r, float dx, float dy) {
  Canvas cv = NewCanvas(CellSize, CellSize);
  FillShape(&cv, [](float, float) { return -100.0f; }, [&](float x, float y) {
    float along = ((x - 64) * dx + (y - 64) * dy) / 64;  // -1 trailing edge .. +1 leading edge
    float depth = EdgeDepth(x, y);
    float rim = 0.22f * SmoothStep(10, 0, depth);
    return Col(150, 110, 255, 0.06f + 0.5f * SmoothStep(-1, 1, along) + rim * 0.5f);
  });
  auto chevrons = [&](float x, float y, float grow) {
    float along = (x - 64) * dx + (y - 64) * dy, across = -(x - 64) * dy + (y - 64) * dx;
    float d = 1e9f;
    for (int i = 0; i < 2; i++) {
      float tip = 30 - 30 * i;
      d = std::min(d, SdSegment(across, along, -30, tip - 28, 0, tip, 7 + grow));
      d = std::min(d, SdSegment(across, along, 30, tip - 28, 0, tip, 7 + grow));
    }
    return d;
  };
  FillSolid(&cv, [&](float x, float y) { return chevrons(x, y, 3); }, Col(30, 14, 70, 0.7f));
  FillShape(&cv, [&](float x, float y) { return chevrons(x, y, 0); }, [&](float x, float y) {
    float along = (x - 64) * dx + (y - 64) * dy;
    return Mix(Col(200, 180, 255, 0.7f), Col(250, 245, 255, 0.95f), (along + 30) / 60);
  });
  PlaceCell(atlas, &cv, r);
}

// Deep blue night with soft lights; drawn stretched behind every screen, so
// it stays calm and low in contrast.
static void DrawBackground(Image* atlas) {
  Canvas cv = NewCanvas(ArtBackground.w, ArtBackground.h);
  FillShape(&cv, [](float, float) { return -100.0f; }, [](float x, float y) {
    Rgba c = Mix(Col(14, 20, 44), Col(30, 40, 78), y / 512);
    float cloud = SmoothNoise(x, y, 96, 6, 7) * 0.6f + SmoothNoise(x, y, 40, 13, 8) * 0.4f;
    c = Mix(c, Col(56, 58, 120), cloud * 0.35f);
    float gx = std::fabs(std::fmod(x, 64.0f) - 32), gy = std::fabs(std::fmod(y, 64.0f) - 32);
    float grid = SmoothStep(30.5f, 32, std::max(gx, gy));
    return Mix(c, Col(90, 120, 190), grid * 0.10f);
  });
  static const float lights[][3] = {{90, 120, 60}, {400, 80, 40}, {300, 330, 80}, {80, 430, 50}, {460, 460, 35}, {200, 220, 28}};
  for (const auto& l : lights) {
    FillShape(&cv, [&](float x, float y) { return SdCircle(x, y, l[0], l[1], l[2]); }, [&](float x, float y) {
      float t = Clamp01(std::hypot(x - l[0], y - l[1]) / l[2]);
      return Col(120, 150, 255, 0.10f * (1 - t * t));
    });
  }
  for (int i = 0; i < 90; i++) {
    float sx = 4 + HashNoise(i, 1, 11) * 504, sy = 4 + HashNoise(i, 2, 11) * 504;
    float sr = 0.6f + HashNoise(i, 3, 11) * 0.9f;
    FillSolid(&cv, [&](float x, float y) { return SdCircle(x, y, sx, sy, sr); }, Col(200, 215, 255, 0.25f + 0.35f * HashNoise(i, 4, 11)));
  }
  PlaceCanvas(atlas, &cv, ArtBackground.x, ArtBackground.y, place_tile);
}

void DrawAtlasCells(Image* atlas) {
  DrawBlockNormal(atlas);
  DrawBlockHarmful(atlas);
  DrawBlockNoSwing(atlas);
  DrawBlockGhost(atlas);
  DrawGravity(atlas, ArtGravityDown, 0, 1);
  DrawGravity(atlas, ArtGravityLeft, -1, 0);
  DrawGravity(atlas, ArtGravityUp, 0, -1);
  DrawGravity(atlas, ArtGravityRight, 1, 0);
  DrawBackground(atlas);
}
