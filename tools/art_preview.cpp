// A preview of the artwork in use: four 800 x 600 mock screens (title, level
// list, play, paused) drawn the way the game draws them, with bilinear
// sampling of the inset rectangles, overlapping glyph quads and stretched
// panel pieces, so the pictures can be judged as a player sees them.
#include "art_pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

const int ScreenW = 800, ScreenH = 600;
const float Aspect = float(ScreenW) / ScreenH;
const float PictureInset = 1.5f;   // texels the game leaves out around an atlas picture
const float GlyphInset = 1.0f;     // texels the game leaves out around a glyph cell
const float GlyphUnits = 62;       // glyph quad side per unit of text size
const float TextAdvance = 0.525f;  // pen advance as a share of the glyph quad
const float PanelBorder = 32;      // units of frame around a panel's inner rectangle
const int SmallAdvance = 10;       // pixels the small-font pen moves per glyph

// Source rectangle in texels of a picture.
struct Src {
  const Image* img;
  float s0, t0, s1, t1;
};

// Current mapping from drawing units to screen pixels.
struct Proj {
  float ox, oy, sx, sy;
};
static Proj View;
static Canvas* Screen;
static int ScreenX, ScreenY;  // quadrant of the preview being drawn

static Src AtlasSrc(const Image* atlas, ArtRect r) {
  return {atlas, r.x + PictureInset, r.y + PictureInset, r.x + r.w - PictureInset, r.y + r.h - PictureInset};
}
static Src GlyphSrc(const Image* atlas, int code) {
  ArtRect r = FontCell(code);
  return {atlas, r.x + GlyphInset, r.y + GlyphInset, r.x + r.w - GlyphInset, r.y + r.h - GlyphInset};
}
static Src DashSrc(const Image* dash, ArtRect r) { return {dash, float(r.x), float(r.y), float(r.x + r.w), float(r.y + r.h)}; }

static Rgba Sample(const Image* img, float s, float t) {
  float fx = s - 0.5f, fy = t - 0.5f;
  int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
  float ax = fx - x0, ay = fy - y0;
  float acc[4] = {0, 0, 0, 0};
  for (int j = 0; j < 2; j++)
    for (int i = 0; i < 2; i++) {
      int x = (x0 + i) & (img->w - 1), y = std::min(std::max(y0 + j, 0), img->h - 1);
      if (img->w == DashboardW) x = std::min(std::max(x0 + i, 0), img->w - 1);
      float wgt = (i ? ax : 1 - ax) * (j ? ay : 1 - ay);
      const unsigned char* p = &img->px[(size_t(y) * img->w + x) * 4];
      for (int c = 0; c < 4; c++) acc[c] += wgt * p[c] / 255.0f;
    }
  return {acc[0], acc[1], acc[2], acc[3]};
}

// One picture centred on (x, y) in drawing units, w x h, turned by angle.
static void Quad(Src src, float x, float y, float w, float h, float angle) {
  float cx = View.ox + x * View.sx, cy = View.oy + y * View.sy;
  float pw = w * View.sx, ph = h * View.sy, c = std::cos(angle), s = std::sin(angle);
  float reach = 0.5f * std::hypot(pw, ph) + 1;
  int x0 = std::max(0, int(cx - reach)), x1 = std::min(ScreenW, int(cx + reach) + 1);
  int y0 = std::max(0, int(cy - reach)), y1 = std::min(ScreenH, int(cy + reach) + 1);
  for (int py = y0; py < y1; py++)
    for (int px = x0; px < x1; px++) {
      float dx = px + 0.5f - cx, dy = py + 0.5f - cy;
      float u = (dx * c + dy * s) / pw + 0.5f, v = (-dx * s + dy * c) / ph + 0.5f;
      if (u < 0 || u >= 1 || v < 0 || v >= 1) continue;
      Rgba texel = Sample(src.img, src.s0 + u * (src.s1 - src.s0), src.t0 + v * (src.t1 - src.t0));
      if (texel.a > 0) BlendTexel(Screen, ScreenX + px, ScreenY + py, texel, 1);
    }
}

// An upright picture over (x0, y0)..(x1, y1); neighbours sharing an edge
// share its pixel position exactly, as in a real rasteriser.
static void Box(Src src, float x0, float y0, float x1, float y1) {
  float left = View.ox + x0 * View.sx, right = View.ox + x1 * View.sx;
  float top = View.oy + y0 * View.sy, bottom = View.oy + y1 * View.sy;
  for (int py = std::max(0, int(top) - 1); py < std::min(ScreenH, int(bottom) + 1); py++)
    for (int px = std::max(0, int(left) - 1); px < std::min(ScreenW, int(right) + 1); px++) {
      float fx = px + 0.5f, fy = py + 0.5f;
      if (fx < left || fx >= right || fy < top || fy >= bottom) continue;
      float u = (fx - left) / (right - left), v = (fy - top) / (bottom - top);
      Rgba texel = Sample(src.img, src.s0 + u * (src.s1 - src.s0), src.t0 + v * (src.t1 - src.t0));
      if (texel.a > 0) BlendTexel(Screen, ScreenX + px, ScreenY + py, texel, 1);
    }
}

static void Text(const Image* atlas, float x, float y, const char* text, float size) {
  float w = size * GlyphUnits, advance = w * TextAdvance;
  for (const unsigned char* c = (const unsigned char*)text; *c; c++, x += advance)
    if (*c >= FontFirstChar && *c < FontFirstChar + FontChars) Box(GlyphSrc(atlas, *c), x, y, x + w, y + w);
}

static void TextRight(const Image* atlas, const char* text, float x, float y, float size) {
  Text(atlas, x - size * GlyphUnits * TextAdvance * (std::strlen(text) + 0.5f), y, text, size);
}

static void Panel(const Image* atlas, int set, float x, float y, float w, float h) {
  const float b = PanelBorder;
  float xs[4] = {x - b, x, x + w, x + w + b}, ys[4] = {y - b, y, y + h, y + h + b};
  for (int row = 0; row < 3; row++) {
    if (row == 1 && h <= 0) continue;
    for (int col = 0; col < 3; col++)
      Box(AtlasSrc(atlas, PanelPiece(set, row * 3 + col)), xs[col], ys[row], xs[col + 1], ys[row + 1]);
  }
}

static void ScreenOrtho() { View = {ScreenW * 0.5f, ScreenH * 0.5f, ScreenW / (800 * Aspect), ScreenH / 800.0f}; }
static void PixelOrtho() { View = {0, 0, 1, 1}; }

static void SmallText(const Image* dash, const char* text, int x, int y) {
  int pen = x - SmallAdvance / 2;
  for (const char* c = text; *c; c++, pen += SmallAdvance)
    if (*c >= FontFirstChar && *c < FontFirstChar + SmallChars)
      Box(DashSrc(dash, SmallCell(*c)), pen, y, pen + SmallCellSize, y + SmallCellSize);
}

static void Button(const Image* dash, const char* label, int cx, int y, bool hovered) {
  int left = cx - 150, top = y - 7, g = hovered ? 1 : 0;
  auto piece = [&](int c, int r, float x0, float y0, float x1, float y1) { Box(DashSrc(dash, ButtonPiece(g, c, r)), x0, y0, x1, y1); };
  piece(0, 0, left - 20, top - 20, left, top);
  piece(0, 2, left - 20, top + 15, left, top + 35);
  piece(2, 0, left + 300, top - 20, left + 320, top);
  piece(2, 2, left + 300, top + 15, left + 320, top + 35);
  for (int i = 0; i < 15; i++) {
    piece(1, 2, left + 20 * i, top + 15, left + 20 * i + 20, top + 35);
    piece(1, 0, left + 20 * i, top - 20, left + 20 * i + 20, top);
    piece(1, 1, left + 20 * i, top, left + 20 * i + 20, top + 15);
  }
  piece(2, 1, left + 300, top, left + 320, top + 15);
  piece(0, 1, left - 20, top, left, top + 15);
  SmallText(dash, label, cx - SmallAdvance / 2 * int(std::strlen(label)), y - 10);
}

static void Background(const Image* atlas) {
  ScreenOrtho();
  Quad(AtlasSrc(atlas, ArtBackground), 0, 0, 800 * Aspect, 800, 0);
}

// Menu rows: a panel thinner than the 25-unit bar, centred on it, as the game draws them.
const float RowPanelHeight = 1, RowPanelShift = 12;

static void TitleScreen(const Image* atlas) {
  Background(atlas);
  Quad(AtlasSrc(atlas, ArtTitle), 0, -300, 800, 200, 0);
  const char* labels[2] = {"Play", "Edit"};
  for (int i = 0; i < 2; i++) {
    float y = -140 + 70 * i;
    Panel(atlas, i == 0, -450, y + RowPanelShift, 900, RowPanelHeight);
    Text(atlas, -455, y - 7.5f, labels[i], 0.65f);
  }
}

static void LevelList(const Image* atlas) {
  static const char* titles[6] = {"First swing", "Spikes below", "Up is down", "Slick walls", "The long fall", "Ghost town"};
  Background(atlas);
  Quad(AtlasSrc(atlas, ArtTitle), 0, -300, 800, 200, 0);
  Text(atlas, -450, -217.5f, "Select a level to play", 0.6f);
  for (int i = 0; i < 6; i++) {
    float y = -140 + 70 * i;
    char label[64], score[16];
    std::snprintf(label, sizeof label, "Level %i - %s", i + 1, titles[i]);
    std::snprintf(score, sizeof score, "%i", i < 4 ? 287 - 41 * i : 0);
    Panel(atlas, i == 1, -450, y + RowPanelShift, 900, RowPanelHeight);
    Text(atlas, -455, y - 7.5f, label, 0.65f);
    TextRight(atlas, score, 455, y - 7.5f, 0.65f);
  }
  Text(atlas, -450, 272.5f, "9 more below", 0.6f);
  TextRight(atlas, "Press B to go back", 450, 272.5f, 0.6f);
}

static void GameScene(const Image* atlas) {
  static const char* map[13] = {
      "#################", "#.....####..NNN.#", "#...............#", "#..vv.......GG..#", "#..vv.......GG..#",
      "#...........GG..#", "#......>>.......#", "#......>>....####", "#HHH..........<<#", "#####.........<<#",
      "#####....^^..####", "#...HHHH.^^..#..#", "#################"};
  Background(atlas);
  const float unit = ScreenH / 12.5f;
  View = {0, 0, unit, unit};
  auto cells = [&](const char* kinds) {
    for (int x = 0; x < 17; x++)
      for (int y = 0; y < 13; y++) {
        char k = map[y][x];
        if (!std::strchr(kinds, k)) continue;
        ArtRect r = k == '#' ? ArtBlockNormal : k == 'H' ? ArtBlockHarmful : k == 'N' ? ArtBlockNoSwing
                  : k == 'G' ? ArtBlockGhost : k == 'v' ? ArtGravityDown : k == '<' ? ArtGravityLeft
                  : k == '^' ? ArtGravityUp : ArtGravityRight;
        Box(AtlasSrc(atlas, r), x, y, x + 1, y + 1);
      }
  };
  cells("Gv<^>");
  Quad(AtlasSrc(atlas, ArtFinish), 14.5f, 5.5f, 3.25f, 3.25f, 0);
  for (int i = 0; i < 8; i++) Quad(AtlasSrc(atlas, ArtParticle), 5.2f - 0.35f * i, 6.2f + 0.2f * i, 1.2f - 0.13f * i, 1.2f - 0.13f * i, 0);
  Quad(AtlasSrc(atlas, ArtExtraTime), 9.5f, 4.5f, 0.75f, 0.75f, 0);
  Quad(AtlasSrc(atlas, ArtExtraTime), 14.5f, 5.5f, 0.75f, 0.75f, 0);
  float bx = 5.6f, by = 5.8f, ax = 8.2f, ay = 2.0f;
  float angle = std::atan2(ay - by, ax - bx), ox = 0.2f * std::cos(angle), oy = 0.2f * std::sin(angle);
  Quad(AtlasSrc(atlas, ArtTetherBallEnd), bx - ox, by - oy, 0.4f, 0.4f, angle);
  Quad(AtlasSrc(atlas, ArtTether), (bx + ax) / 2, (by + ay) / 2, std::hypot(ax - bx, ay - by), 0.4f, angle);
  Quad(AtlasSrc(atlas, ArtTetherAnchorEnd), ax + ox, ay + oy, 0.4f, 0.4f, angle);
  Quad(AtlasSrc(atlas, ArtBall), bx, by, 1.41f, 1.41f, 0);
  cells("#HN");
  Quad(AtlasSrc(atlas, ArtPointer), 8.3f, 2.2f, 2.25f, 2.25f, 0);
  ScreenOrtho();
  Panel(atlas, 0, -450, -350, 900, 25);
  Text(atlas, -455, -357.5f, "Score 283", 0.65f);
}

static void PauseLayer(const Image* dash) {
  PixelOrtho();
  Box(DashSrc(dash, DashTopBarRect), 0, 0, ScreenW, 60);
  SmallText(dash, "Tetherorb 2", 20, 18);
  SmallText(dash, "v0.3", 20, 38);
  SmallText(dash, "Thu 12 Mar 2026", ScreenW - 20 - 150, 18);
  SmallText(dash, "21:47:05", ScreenW - 20 - 80, 38);
  Box(DashSrc(dash, DashBottomBarRect), 0, ScreenH - 60, ScreenW, ScreenH);
  SmallText(dash, "Swing, dash and beat the clock.", 20, ScreenH - 61 + 23);
  Button(dash, "Resume game", 400, 175, true);
  Button(dash, "Exit", 400, 225, false);
  Button(dash, "Save screenshot", 400, 275, false);
  ArtRect arrow = CursorFrame(0);
  Box(DashSrc(dash, arrow), 430 - CursorHotX, 180 - CursorHotY, 430 - CursorHotX + 40, 180 - CursorHotY + 60);
}

Image MakePreview(const Image* atlas, const Image* dash) {
  Canvas cv = NewCanvas(2 * ScreenW, 2 * ScreenH);
  FillSolid(&cv, [](float, float) { return -100.0f; }, Col(0, 0, 0));
  Screen = &cv;
  ScreenX = 0, ScreenY = 0;
  TitleScreen(atlas);
  ScreenX = ScreenW;
  LevelList(atlas);
  ScreenX = 0, ScreenY = ScreenH;
  GameScene(atlas);
  ScreenX = ScreenW;
  GameScene(atlas);
  PauseLayer(dash);
  Image img = NewImage(cv.w, cv.h);
  PlaceCanvas(&img, &cv, 0, 0, place_tile);
  return img;
}
