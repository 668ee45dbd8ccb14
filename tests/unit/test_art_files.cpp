// The committed pictures: formats, sizes, and the properties the drawing code
// relies on (glyph ink, clear sprite borders, opaque tiling blocks, seamless
// stretched pieces, the pointer's hot spot).
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Picture {
  unsigned w = 0, h = 0;
  std::vector<unsigned char> px;
  int Alpha(int x, int y) const { return px[(size_t(y) * w + x) * 4 + 3]; }
  int Channel(int x, int y, int c) const { return px[(size_t(y) * w + x) * 4 + c]; }
  bool Same(int x0, int y0, int x1, int y1, int tolerance) const {
    for (int c = 0; c < 4; c++)
      if (std::abs(Channel(x0, y0, c) - Channel(x1, y1, c)) > tolerance) return false;
    return true;
  }
};

struct Rect {
  int x, y, w, h;
};

// The committed picture, which must be 8-bit RGBA of the given size; a blank
// one of that size (and a failure) otherwise, so later checks stay in bounds.
Picture Load(const char* name, unsigned w, unsigned h) {
  Picture p;
  std::string path = std::string(REPO_ROOT) + "/Media/" + name;
  std::vector<unsigned char> png;
  lodepng::State state;
  EXPECT_EQ(lodepng::load_file(png, path), 0u) << path;
  EXPECT_EQ(lodepng::decode(p.px, p.w, p.h, state, png), 0u) << path;
  EXPECT_EQ(state.info_png.color.colortype, LCT_RGBA) << path;
  EXPECT_EQ(state.info_png.color.bitdepth, 8u) << path;
  EXPECT_TRUE(p.w == w && p.h == h) << path << " is " << p.w << " x " << p.h;
  if (p.w != w || p.h != h) {
    p.w = w;
    p.h = h;
    p.px.assign(size_t(w) * h * 4, 0);
  }
  return p;
}

Picture LoadAtlas() { return Load("tetherorb2texture.png", 1024, 1024); }
Picture LoadDashboard() { return Load("dashboard.png", 640, 256); }

// Ink is any texel at least half opaque.
int InkIn(const Picture& p, Rect r) {
  int n = 0;
  for (int y = r.y; y < r.y + r.h; y++)
    for (int x = r.x; x < r.x + r.w; x++) n += p.Alpha(x, y) >= 128;
  return n;
}

bool BorderClear(const Picture& p, Rect r, int depth) {
  for (int y = r.y; y < r.y + r.h; y++)
    for (int x = r.x; x < r.x + r.w; x++) {
      bool border = x < r.x + depth || y < r.y + depth || x >= r.x + r.w - depth || y >= r.y + r.h - depth;
      if (border && p.Alpha(x, y) != 0) return false;
    }
  return true;
}

double MeanBrightness(const Picture& p, Rect r) {
  double sum = 0;
  for (int y = r.y; y < r.y + r.h; y++)
    for (int x = r.x; x < r.x + r.w; x++) sum += p.Channel(x, y, 0) + p.Channel(x, y, 1) + p.Channel(x, y, 2);
  return sum / (3.0 * r.w * r.h);
}

// Every row of r the same along x (an edge stretched or tiled sideways).
bool ConstantAlongX(const Picture& p, Rect r, int tolerance) {
  for (int y = r.y; y < r.y + r.h; y++)
    for (int x = r.x + 1; x < r.x + r.w; x++)
      if (!p.Same(x, y, r.x, y, tolerance)) return false;
  return true;
}

bool ConstantAlongY(const Picture& p, Rect r, int tolerance) {
  for (int x = r.x; x < r.x + r.w; x++)
    for (int y = r.y + 1; y < r.y + r.h; y++)
      if (!p.Same(x, y, x, r.y, tolerance)) return false;
  return true;
}

const Rect Ball = {0, 128, 128, 128}, Particle = {128, 128, 128, 128}, ExtraTime = {256, 128, 128, 128};
const Rect Finish = {384, 128, 128, 128}, Title = {0, 0, 512, 128}, Pointer = {896, 768, 128, 128};
const Rect Spare = {896, 896, 128, 128};
const Rect GravityDown = {0, 256, 128, 128}, GravityLeft = {128, 256, 128, 128};
const Rect GravityUp = {256, 256, 128, 128}, GravityRight = {384, 256, 128, 128};
const Rect BlockNormal = {0, 384, 128, 128}, BlockHarmful = {128, 384, 128, 128};
const Rect BlockNoSwing = {256, 384, 128, 128}, BlockGhost = {384, 384, 128, 128};
const Rect Background = {0, 512, 512, 512};
const Rect TetherBallEnd = {512, 768, 64, 64}, Tether = {576, 768, 256, 64}, TetherAnchorEnd = {832, 768, 64, 64};

Rect PanelPiece(int set, int piece) { return {512 + 192 * set + 64 * (piece % 3), 832 + 64 * (piece / 3), 64, 64}; }
Rect BigGlyph(int code) { return {512 + 64 * ((code - 32) % 8), 64 * ((code - 32) / 8), 64, 64}; }
Rect SmallGlyph(int code) { return {20 * ((code - 32) % 32), 20 * ((code - 32) / 32), 20, 20}; }
Rect ButtonPiece(int group, int c, int r) { return {60 * group + 20 * c, 60 + 20 * r, 20, 20}; }

}  // namespace

TEST(ArtFiles, PicturesAreEightBitRgbaOfTheRightSize) {
  LoadAtlas();
  LoadDashboard();
}

// Glyph quads overlap (the pen moves about half a cell), so every glyph must
// sit in the middle of its cell and leave the outer columns clear.
TEST(ArtFiles, EveryGlyphHoldsInkCentredInItsCellButTheSpace) {
  Picture atlas = LoadAtlas();
  Picture dash = LoadDashboard();
  const int bigClear = 15, smallClear = 4;  // columns each side the neighbours overlap
  for (int code = 32; code <= 127; code++) {
    Rect cell = BigGlyph(code);
    Rect inside = {cell.x + 1, cell.y + 1, 62, 62};
    if (code == ' ') {
      EXPECT_EQ(InkIn(atlas, cell), 0);
      continue;
    }
    EXPECT_GT(InkIn(atlas, inside), 20) << "big glyph " << code;
    EXPECT_EQ(InkIn(atlas, {cell.x, cell.y, bigClear, 64}), 0) << "big glyph " << code;
    EXPECT_EQ(InkIn(atlas, {cell.x + 64 - bigClear, cell.y, bigClear, 64}), 0) << "big glyph " << code;
    EXPECT_TRUE(BorderClear(atlas, cell, 1)) << "big glyph " << code;
  }
  for (int code = 32; code <= 126; code++) {
    Rect cell = SmallGlyph(code);
    if (code == ' ') {
      EXPECT_EQ(InkIn(dash, cell), 0);
      continue;
    }
    EXPECT_GT(InkIn(dash, cell), 2) << "small glyph " << code;
    EXPECT_EQ(InkIn(dash, {cell.x, cell.y, smallClear, 20}), 0) << "small glyph " << code;
    EXPECT_EQ(InkIn(dash, {cell.x + 20 - smallClear, cell.y, smallClear, 20}), 0) << "small glyph " << code;
  }
}

TEST(ArtFiles, SpritesAreClearAtTheirBordersAndBlocksOpaqueToTheirEdges) {
  Picture atlas = LoadAtlas();
  for (Rect r : {Ball, Particle, ExtraTime, Finish, Title, Pointer, Spare}) {
    EXPECT_TRUE(BorderClear(atlas, r, 2)) << r.x << "," << r.y;
    EXPECT_GT(InkIn(atlas, r), r.w * r.h / 20) << r.x << "," << r.y;
  }
  for (int set = 0; set < 2; set++) EXPECT_TRUE(BorderClear(atlas, {512 + 192 * set, 832, 192, 192}, 2));
  for (Rect r : {BlockNormal, BlockHarmful, BlockNoSwing, Background})
    for (int y = r.y; y < r.y + r.h; y++)
      for (int x = r.x; x < r.x + r.w; x++) ASSERT_EQ(atlas.Alpha(x, y), 255) << x << "," << y;
  // the ghost is see-through everywhere but still drawn
  for (int y = BlockGhost.y; y < BlockGhost.y + BlockGhost.h; y++)
    for (int x = BlockGhost.x; x < BlockGhost.x + BlockGhost.w; x++) {
      ASSERT_GT(atlas.Alpha(x, y), 0) << x << "," << y;
      ASSERT_LT(atlas.Alpha(x, y), 160) << x << "," << y;
    }
  // tiles repeat their edge texels into the margin, so walls show no seams
  for (Rect r : {BlockNormal, BlockHarmful, BlockNoSwing, BlockGhost, GravityDown, GravityLeft, GravityUp, GravityRight, Background})
    for (int i = 0; i < r.w; i++) {
      EXPECT_TRUE(atlas.Same(r.x + i, r.y, r.x + i, r.y + 1, 0)) << r.x << "," << r.y;
      EXPECT_TRUE(atlas.Same(r.x + i, r.y + r.h - 1, r.x + i, r.y + r.h - 2, 0)) << r.x << "," << r.y;
      EXPECT_TRUE(atlas.Same(r.x, r.y + i, r.x + 1, r.y + i, 0)) << r.x << "," << r.y;
      EXPECT_TRUE(atlas.Same(r.x + r.w - 1, r.y + i, r.x + r.w - 2, r.y + i, 0)) << r.x << "," << r.y;
    }
}

// The bright chevrons' leading point lies on the cell's centre line and their
// trailing ends lie off it, so the leading point shows which way gravity pulls.
TEST(ArtFiles, GravityArrowsPointTheirWay) {
  Picture atlas = LoadAtlas();
  const struct {
    Rect r;
    int dx, dy;
  } cells[] = {{GravityDown, 0, 1}, {GravityLeft, -1, 0}, {GravityUp, 0, -1}, {GravityRight, 1, 0}};
  for (const auto& c : cells) {
    float lead = -1e9f, leadAcross = 0, trail = 1e9f, trailAcross = 0;
    for (int y = 0; y < c.r.h; y++)
      for (int x = 0; x < c.r.w; x++) {
        int X = c.r.x + x, Y = c.r.y + y;
        if (atlas.Alpha(X, Y) < 150 || atlas.Channel(X, Y, 0) < 180) continue;
        float along = (x - 63.5f) * c.dx + (y - 63.5f) * c.dy, across = std::fabs((x - 63.5f) * c.dy - (y - 63.5f) * c.dx);
        if (along > lead) lead = along, leadAcross = across;
        if (along < trail) trail = along, trailAcross = across;
      }
    ASSERT_GT(lead, trail) << c.r.x;
    EXPECT_LT(leadAcross, 6) << c.r.x;
    EXPECT_GT(trailAcross, 15) << c.r.x;
  }
}

// Stretched pieces must not change along the direction they are stretched,
// and the tether's three pieces must share one cross-section.
TEST(ArtFiles, StretchedPiecesStretchCleanlyAndJoin) {
  Picture atlas = LoadAtlas();
  Picture dash = LoadDashboard();
  for (int set = 0; set < 2; set++) {
    for (int piece : {1, 4, 7}) EXPECT_TRUE(ConstantAlongX(atlas, PanelPiece(set, piece), 1)) << set << " " << piece;
    for (int piece : {3, 4, 5}) EXPECT_TRUE(ConstantAlongY(atlas, PanelPiece(set, piece), 1)) << set << " " << piece;
  }
  EXPECT_GT(MeanBrightness(atlas, PanelPiece(1, 4)), MeanBrightness(atlas, PanelPiece(0, 4)) + 40);

  EXPECT_TRUE(ConstantAlongX(atlas, Tether, 0));
  for (int y = 0; y < 64; y++) {
    EXPECT_TRUE(atlas.Same(TetherBallEnd.x + 62, TetherBallEnd.y + y, Tether.x + 1, Tether.y + y, 2)) << y;
    EXPECT_TRUE(atlas.Same(TetherAnchorEnd.x + 1, TetherAnchorEnd.y + y, Tether.x + 254, Tether.y + y, 2)) << y;
  }
  EXPECT_GT(InkIn(atlas, Tether), 256 * 8);

  for (int g = 0; g < 3; g++) {
    EXPECT_TRUE(ConstantAlongX(dash, ButtonPiece(g, 1, 0), 1)) << g;
    EXPECT_TRUE(ConstantAlongX(dash, ButtonPiece(g, 1, 2), 1)) << g;
    EXPECT_TRUE(ConstantAlongY(dash, ButtonPiece(g, 0, 1), 1)) << g;
    EXPECT_TRUE(ConstantAlongY(dash, ButtonPiece(g, 2, 1), 1)) << g;
    EXPECT_TRUE(ConstantAlongY(dash, ButtonPiece(g, 1, 1), 1) && ConstantAlongX(dash, ButtonPiece(g, 1, 1), 1)) << g;
    EXPECT_EQ(InkIn(dash, ButtonPiece(g, 1, 1)), 400) << g;
  }
  EXPECT_GT(MeanBrightness(dash, ButtonPiece(1, 1, 1)), MeanBrightness(dash, ButtonPiece(0, 1, 1)) + 40);
  for (Rect bar : {Rect{0, 120, 640, 68}, Rect{0, 188, 640, 68}}) {
    EXPECT_TRUE(ConstantAlongX(dash, bar, 1));
    EXPECT_EQ(InkIn(dash, bar), 640 * 68);
  }
}

// The game draws the pointer frame with its top-left 12 pixels left of and
// 10 above the mouse, so the arrow's tip must be at (12, 10) of frame 0.
TEST(ArtFiles, PointerTipIsAtTheHotSpot) {
  Picture dash = LoadDashboard();
  const int fx = 440, fy = 60, hotX = 12, hotY = 10, rim = 2;
  EXPECT_GT(dash.Alpha(fx + hotX, fy + hotY), 0);
  EXPECT_GT(InkIn(dash, {fx + hotX, fy + hotY, 12, 24}), 100);
  EXPECT_EQ(InkIn(dash, {fx, fy, 40, hotY - rim}), 0);
  EXPECT_EQ(InkIn(dash, {fx, fy, hotX - rim, 60}), 0);
  for (int frame = 1; frame < 5; frame++) EXPECT_GT(InkIn(dash, {fx + 40 * frame, fy, 40, 60}), 50) << frame;
}

// The twelve cell pictures must stay apart for players who see no colour or
// confuse some: each is drawn over the background's mean colour and averaged
// over 8 x 8 blocks; under greyscale and Machado et al.'s (2009)
// full-severity protanopia, deuteranopia and tritanopia (linear RGB), every
// pair must differ by a mean CIELAB distance over the blocks of at least 10.
TEST(ArtFiles, CellPicturesStayApartWithoutColour) {
  Picture atlas = LoadAtlas();
  auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  double under[3] = {0, 0, 0};
  for (int i = 0; i < 512 * 512 * 3; i++)
    under[i % 3] += atlas.Channel(Background.x + i / 3 % 512, Background.y + i / 3 / 512, i % 3) / 255.0 / (512 * 512);
  const Rect cells[] = {{0, 0, 0, 0}, BlockNormal, BlockHarmful, BlockNoSwing, BlockGhost, GravityDown,
                        GravityLeft, GravityUp, GravityRight, Ball, ExtraTime, Finish};
  const int count = 12, grid = 8, side = 128 / grid;
  double seen[count][grid * grid][3] = {};   // linear RGB; the empty cell is the background's mean
  for (int i = 0; i < count; i++)
    for (int y = 0; y < 128; y++)
      for (int x = 0; x < 128; x++)
        for (int c = 0; c < 3; c++) {
          double a = i ? atlas.Alpha(cells[i].x + x, cells[i].y + y) / 255.0 : 0;
          double v = i ? a * atlas.Channel(cells[i].x + x, cells[i].y + y, c) / 255.0 : 0;
          seen[i][(y / side) * grid + x / side][c] += linear(v + (1 - a) * under[c]) / (side * side);
        }
  const double visions[4][3][3] = {
      {{0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}},
      {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
      {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
      {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};
  auto lab = [](const double rgb[3], const double (*m)[3], double out[3]) {  // CIELAB, D65
    const double toXyz[3][3] = {{0.4124, 0.3576, 0.1805}, {0.2126, 0.7152, 0.0722}, {0.0193, 0.1192, 0.9505}};
    const double white[3] = {0.9505, 1.0, 1.089};
    double s[3], f[3];
    for (int i = 0; i < 3; i++) s[i] = std::min(1.0, std::max(0.0, m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2]));
    for (int i = 0; i < 3; i++) {
      double t = (toXyz[i][0] * s[0] + toXyz[i][1] * s[1] + toXyz[i][2] * s[2]) / white[i];
      f[i] = t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116;
    }
    out[0] = 116 * f[1] - 16, out[1] = 500 * (f[0] - f[1]), out[2] = 200 * (f[1] - f[2]);
  };
  for (int v = 0; v < 4; v++)
    for (int i = 0; i < count; i++)
      for (int j = i + 1; j < count; j++) {
        double sum = 0, p[3], q[3];
        for (int k = 0; k < grid * grid; k++) {
          lab(seen[i][k], visions[v], p);
          lab(seen[j][k], visions[v], q);
          sum += std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) + (p[2] - q[2]) * (p[2] - q[2]));
        }
        EXPECT_GE(sum / (grid * grid), 10) << "vision " << v << ", cells " << i << " and " << j;
      }
}
