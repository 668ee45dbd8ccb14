// draw: the immediate drawing operations through which menus, the game scene
// and the editor put atlas pictures, text and framed panels on screen, in
// whatever units the caller's projection gives. Expects texturing, blending,
// alpha test, both client arrays and the atlas texture, as RunGameState sets.
#pragma once

#include "render/atlas.h"

const float PanelBorder = 32;        // units of frame around a panel's inner rectangle
const float TextAdvanceFactor = 0.525f; // pen advance per glyph, as a share of its width

// One picture of w x h centred on (x, y), turned by angle radians.
void DrawQuad(const AtlasRect& rect, float x, float y, float w, float h, float angle);

// One picture stretched over the rectangle from (x, y) to (x + w, y + h), upright.
void DrawRect(const AtlasRect& rect, float x, float y, float w, float h);

// Text is UTF-8 and every character (code point) takes one advance cell.

// The UTF-8 string with its first glyph's top-left at (x, y). Control
// characters draw nothing; a character the fonts lack, or a malformed byte,
// draws the placeholder box; each still advances the pen one cell.
void DrawText(float x, float y, const char* text, float size);

// The string placed so that its last advance cell ends half an advance before x.
void DrawTextRight(const char* text, float x, float y, float size);

// The pen advance of one character, and the advance cells of a whole string.
float TextAdvance(float size);
float TextWidth(const char* text, float size);

// The x where DrawTextRight starts a text of the given length in characters.
float TextRightStart(int length, float x, float size);

// Cuts text in place so that its advance cells span at most width: a text
// that is too long keeps what fits of its start, never a part of a
// character, and ends in "...".
void FitTextToWidth(char* text, float width, float size);

// A framed panel of set 0 or 1 around the inner rectangle (x, y)-(x + w, y + h);
// six pieces when h is not positive.
void DrawPanel(int set, float x, float y, float w, float h);

// Turns off the vertex and texture-coordinate arrays, texturing, blending and
// alpha testing, in that order: the state every quad-drawing step leaves behind.
void DisableQuadDrawing();

// Multiplies what the drawing operations draw next by this colour and alpha;
// SetDrawTint(1, 1, 1, 1) draws pictures as they are.
void SetDrawTint(float r, float g, float b, float alpha);

// Untextured lines between point pairs xy[0..4 * pairs) in the colour rgba;
// leaves texturing on as it found it.
void DrawPlainLines(const float* xy, int pairs, const float* rgba);

const float TetherWidth = 0.4f;        // world units: the band, and each square end piece
const float TetherEndOffset = 0.2f;    // end pieces sit this far beyond ball and anchor

// The tether's band and end pieces from the ball at (bx, by) to the anchor
// at (ax, ay), in the tint in force.
void DrawTether(float bx, float by, float ax, float ay);
