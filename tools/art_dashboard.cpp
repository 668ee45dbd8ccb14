// The dashboard picture: small font, button frames, pointer frames and the
// two pause-screen bars. Its rectangles are addressed with no inset.
#include "art_pictures.h"

#include <algorithm>

const Rgba DashInk = Col(6, 10, 24);

ArtRect ButtonPiece(int group, int column, int row) {
  return {ButtonGroupWidth * group + ButtonPieceSize * column, ButtonGroupTop + ButtonPieceSize * row, ButtonPieceSize, ButtonPieceSize};
}

ArtRect CursorFrame(int i) { return {CursorLeft + CursorFrameW * i, CursorTop, CursorFrameW, CursorFrameH}; }

// A group is one 60 x 60 rounded frame cut into 3 x 3 pieces. Its shading
// depends only on the distance to the edge, so the edge pieces tile along the
// button and the side pieces survive being squeezed to 15 pixels.
static void DrawButtonGroup(Image* dash, int group) {
  static const Rgba fills[] = {Col(24, 36, 70, 0.9f), Col(46, 120, 190, 0.95f), Col(40, 40, 48, 0.92f)};
  static_assert(sizeof fills / sizeof fills[0] == ButtonGroups, "one entry per ButtonGroups");
  static const Rgba rims[] = {Col(130, 165, 220), Col(255, 214, 100), Col(230, 130, 60)};
  static_assert(sizeof rims / sizeof rims[0] == ButtonGroups, "one entry per ButtonGroups");
  const float half = ButtonGroupWidth * 0.5f, margin = 2, radius = 10, rim = 2.5f;
  Canvas cv = NewCanvas(ButtonGroupWidth, ButtonGroupWidth);
  auto frame = [&](float x, float y) { return SdRoundBox(x, y, half, half, half - margin, half - margin, radius); };
  FillShape(&cv, [&](float x, float y) { return frame(x, y) - margin + 0.5f; }, [&](float x, float y) {
    float glow = SmoothStep(margin, 0, frame(x, y));
    return group == 1 ? WithAlpha(rims[1], 0.5f * glow) : WithAlpha(DashInk, 0.4f * glow);
  });
  FillShape(&cv, frame, [&](float x, float y) {
    float d = -frame(x, y);
    if (d < rim) return rims[group];
    return Mix(Mix(fills[group], rims[group], 0.25f), fills[group], SmoothStep(rim, rim + 6, d));
  });
  ArtRect topLeft = ButtonPiece(group, 0, 0);
  PlaceCanvas(dash, &cv, topLeft.x, topLeft.y, place_sprite);
}

// Draws a pointer shape with a dark rim and a light body into a frame.
static void DrawCursorShape(Image* dash, int frame, const float* points, int n) {
  Canvas cv = NewCanvas(CursorFrameW, CursorFrameH);
  FillSolid(&cv, [&](float x, float y) { return SdPolygon(x, y, points, n) - 1.6f; }, DashInk);
  FillShape(&cv, [&](float x, float y) { return SdPolygon(x, y, points, n); },
            [](float, float y) { return Mix(Col(255, 255, 255), Col(205, 220, 240), (y - 10) / 34); });
  ArtRect r = CursorFrame(frame);
  PlaceCanvas(dash, &cv, r.x, r.y, place_sprite);
}

static void DrawCursors(Image* dash) {
  const float x = CursorHotX, y = CursorHotY;
  const float arrow[] = {x, y, x, y + 29, x + 7.5f, y + 22.5f, x + 12.5f, y + 33.5f, x + 16.5f, y + 32,
                         x + 11.5f, y + 21, x + 20.5f, y + 21};
  DrawCursorShape(dash, 0, arrow, 7);
  const float hand[] = {16, 10, 20, 10, 20, 24, 29, 25, 31, 28, 31, 40, 26, 46, 16, 46, 9, 34, 10, 31, 16, 34};
  DrawCursorShape(dash, 1, hand, 11);
  const float beam[] = {14, 10, 26, 10, 26, 13, 22, 13, 22, 43, 26, 43, 26, 46, 14, 46, 14, 43, 18, 43, 18, 13, 14, 13};
  DrawCursorShape(dash, 2, beam, 12);
  const float cross[] = {18, 12, 22, 12, 22, 26, 34, 26, 34, 30, 22, 30, 22, 44, 18, 44, 18, 30, 6, 30, 6, 26, 18, 26};
  DrawCursorShape(dash, 3, cross, 12);
  const float glass[] = {9, 10, 31, 10, 31, 14, 22, 28, 31, 42, 31, 46, 9, 46, 9, 42, 18, 28, 9, 14};
  DrawCursorShape(dash, 4, glass, 10);
}

// The bars are stretched to the window's width at 60 pixels high, so they
// are constant along x; the edge facing the screen carries a thin light line.
static void DrawBar(Image* dash, ArtRect r, bool top) {
  Canvas cv = NewCanvas(r.w, r.h);
  FillShape(&cv, [](float, float) { return -100.0f; }, [&](float, float y) {
    float fromEdge = top ? r.h - y : y;  // distance from the edge facing the screen
    Rgba c = Mix(Col(30, 42, 78, 0.93f), Col(14, 20, 42, 0.93f), fromEdge / r.h);
    if (fromEdge < 4) return Mix(Col(10, 14, 30, 0.9f), c, fromEdge / 4);
    if (fromEdge < 6.5f) return Col(110, 160, 235);
    return c;
  });
  PlaceCanvas(dash, &cv, r.x, r.y, place_tile);
}

void DrawDashboard(Image* dash) {
  DrawSmallFont(dash);
  for (int g = 0; g < ButtonGroups; g++) DrawButtonGroup(dash, g);
  DrawCursors(dash);
  DrawBar(dash, DashTopBarRect, true);
  DrawBar(dash, DashBottomBarRect, false);
}
