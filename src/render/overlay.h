// overlay: the drawing layer in window pixels on top of everything else, with
// its own texture from "Media/dashboard.png": the mouse pointer, the small
// 20-pixel font, the framed buttons and bars of the pause screen. It also
// owns the ReadbackBuffer that holds the frozen frame.
#pragma once

#include "render/atlas.h"
#include "render/text.h"

const int DashGlyphCount = 95;        // character codes 32..126; the rest: render/text.h
const int DashFirstCode = 32;
const int ButtonGroups = 3;           // normal, hovered, filled but unused
const int ButtonGroupPieces = 9;      // column by column: index 3 x column + row
const int ButtonFramePieceCount = ButtonGroups * ButtonGroupPieces;
const int DashCursorFrames = 5;       // frame 0 is the pointer; 1..4 are unused
const int DashFrameCount = 7;         // cursor frames 0..4, top bar 5, bottom bar 6
const int DashTopBar = 5;
const int DashBottomBar = 6;

extern unsigned DashboardTexture;     // GL texture name of the 1024 x 256 overlay texture
extern AtlasRect DashGlyphs[DashGlyphCount];
extern AtlasRect ButtonFramePieces[ButtonFramePieceCount];
extern AtlasRect DashFrames[DashFrameCount];
extern const GlyphFont SmallFont;     // the dashboard font DrawSmallText uses
extern char FooterLines[2][256];      // drawn in the pause screen's bottom bar
extern const char* CreditText;
extern unsigned char* ReadbackBuffer; // ScreenWidth x ScreenHeight x 4 bytes, bottom row first
extern long ReadbackBytes;            // its size; 0 when the screen size was unusable

// Fills DashGlyphs, the extra glyph tables, ButtonFramePieces and DashFrames; needs no GL context.
void FillDashboardTables();

// Loads the picture into DashboardTexture (empty texture when it cannot be
// loaded), fills the tables, allocates ReadbackBuffer and sets FooterLines.
void SetUpDashboard();

// Overlay units per window pixel is 1, unless the window is narrower than the
// dashboard's texts need: then everything drawn in overlay units shrinks to fit.
const float OverlayNeededWidth = 800;   // window pixels the footer and clock lines need
float OverlayScale();                   // window pixels per overlay unit, 0 < scale <= 1
float OverlayWidth();                   // the window in overlay units
float OverlayHeight();

// DashboardTexture and SmallGlyphsTexture from their pictures (again, after the GL context was lost).
void LoadDashboardTexture();

// Grows ReadbackBuffer to the current window, keeping the frame it holds.
void FitReadbackBuffer();

// Overlay-unit projection (window pixels in a wide window) with y down, depth
// test off, DashboardTexture bound.
void BeginOverlay();

// The pointer picture with its hot spot at window pixel (x, y).
void DrawCursor(int x, int y);

const int SmallAdvance = 10;   // overlay units the pen moves per small glyph
const int ButtonFrameX = 150;  // a button body's left edge, units left of its centre; its label stays within

// The UTF-8 string in the small font, first glyph cell at (x - 5, y), one
// 10-pixel advance per character; missing glyphs draw as DrawText's do.
void DrawSmallText(const char* text, int x, int y);

// A 340 x 55 frame around the 300 x 15 body at (left, top); group 0 normal, 1 hovered.
void DrawButtonFrame(int left, int top, int group);

// True when (mouseX, mouseY) lies strictly inside the hit box of a button at (cx, y), all in overlay units.
bool OverlayButtonHovered(int cx, int y, int mouseX, int mouseY);

// Draws a button centred on (cx, y) in overlay units, lit when the pointer
// (Controls) is on it or lit is set; true when the left button went down on it this frame.
bool OverlayButton(const char* label, int cx, int y, bool lit = false);
