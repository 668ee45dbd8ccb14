// art_pictures: the artwork of the game's two pictures and a preview of
// them in use. The layouts are those the game's atlas and dashboard tables
// address; every picture is drawn procedurally, so the output is the same on
// every run.
#pragma once

#include "art_raster.h"
#include "render/glyph_set.h"

// Font slots loaded by the generator before drawing.
enum { font_sans = 0, font_mono = 1 };

const int AtlasPixels = 1024;   // atlas picture, square
const int DashboardW = 640;     // dashboard picture
const int DashboardH = 256;

// One picture of the atlas: its pixel rectangle.
struct ArtRect {
  int x, y, w, h;
};

// The named pictures of the atlas.
const ArtRect ArtTitle = {0, 0, 512, 128};
const ArtRect ArtBall = {0, 128, 128, 128};
const ArtRect ArtParticle = {128, 128, 128, 128};
const ArtRect ArtExtraTime = {256, 128, 128, 128};
const ArtRect ArtFinish = {384, 128, 128, 128};
const ArtRect ArtGravityDown = {0, 256, 128, 128};
const ArtRect ArtGravityLeft = {128, 256, 128, 128};
const ArtRect ArtGravityUp = {256, 256, 128, 128};
const ArtRect ArtGravityRight = {384, 256, 128, 128};
const ArtRect ArtBlockNormal = {0, 384, 128, 128};
const ArtRect ArtBlockHarmful = {128, 384, 128, 128};
const ArtRect ArtBlockNoSwing = {256, 384, 128, 128};
const ArtRect ArtBlockGhost = {384, 384, 128, 128};
const ArtRect ArtBackground = {0, 512, 512, 512};
const ArtRect ArtPointer = {896, 768, 128, 128};
const ArtRect ArtSpare = {896, 896, 128, 128};
const ArtRect ArtTetherBallEnd = {512, 768, 64, 64};
const ArtRect ArtTether = {576, 768, 256, 64};
const ArtRect ArtTetherAnchorEnd = {832, 768, 64, 64};

// Framed panels: 3 x 3 pieces of 64 x 64 from (x0, 832), normal and highlighted.
const int PanelPieceSize = 64;
const int PanelTop = 832;
const int PanelNormalX = 512;
const int PanelHighlightX = 704;
ArtRect PanelPiece(int set, int piece);

// Dashboard: button frames (3 groups of 3 x 3 pieces of 20) and the two bars.
const int ButtonGroups = 3;
const int ButtonPieceSize = 20;
const int ButtonGroupWidth = 3 * ButtonPieceSize;
const int ButtonGroupTop = 60;
ArtRect ButtonPiece(int group, int column, int row);
const ArtRect DashTopBarRect = {0, 120, 640, 68};
const ArtRect DashBottomBarRect = {0, 188, 640, 68};

// Big font: 96 cells of 64 x 64 for codes 32..127, 8 per row from (512, 0).
const int FontLeft = 512;
const int FontColumns = 8;
const int FontCellSize = 64;
const int FontFirstChar = 32;
const int FontChars = 96;
ArtRect FontCell(int code);

// Small font: 95 cells of 20 x 20 for codes 32..126, 32 per row from (0, 0).
const int SmallCellSize = 20;
const int SmallColumns = 32;
const int SmallChars = 95;
ArtRect SmallCell(int code);

// Cursor frame i (0..4) of the dashboard, side by side from (440, 60);
// frame 0's tip is at (12, 10) within it.
const int CursorFrames = 5;
const int CursorLeft = 440;
const int CursorTop = 60;
const int CursorFrameW = 40;
const int CursorFrameH = 60;
ArtRect CursorFrame(int i);
const int CursorHotX = 12;
const int CursorHotY = 10;

// One glyph of each font in a cell of its own size: the box for 127 (big
// font) and the placeholder, nothing for the spaces.
const unsigned NoBreakSpace = 0xA0;
const unsigned PlaceholderCode = 0xFFFD;
Canvas BigGlyphCanvas(unsigned code);
Canvas SmallGlyphCanvas(unsigned code);
// The extra glyph pictures: every character of ExtraGlyphCodes, in order.
// False (with the character named) when the font lacks one.
bool DrawBigGlyphs(Image* glyphs);
bool DrawSmallGlyphs(Image* glyphs);

// Draws every picture of the 1024 x 1024 atlas.
void DrawAtlas(Image* atlas);
// Draws the map cells and the background into the atlas.
void DrawAtlasCells(Image* atlas);
// Draws the big font into the atlas.
void DrawAtlasFont(Image* atlas);
// Draws the small font into the dashboard.
void DrawSmallFont(Image* dash);
// Draws every picture of the 640 x 256 dashboard.
void DrawDashboard(Image* dash);
// Composites a mock menu, game scene and pause screen from both pictures.
Image MakePreview(const Image* atlas, const Image* dash);

// The lit orb colour at (x, y) of a sphere of radius r centred at (cx, cy).
Rgba SpherePaint(float x, float y, float cx, float cy, float r);

// The medals, one row of cells (render/medal_set.h).
void DrawMedals(Image* medals);

// The desktop icon, square, at the sizes the install ships.
const int IconSizes[] = {64, 128, 256};
const int IconSizeCount = 3;
void DrawIcon(Image* icon);
