// atlas: the one 1024 x 1024 texture that holds every picture of the world,
// the menus and the main font, and the read-only tables of texture
// coordinates through which everything else addresses it.
#pragma once

// Texture coordinates of a picture's corners, in the order (left, bottom),
// (right, bottom), (right, top), (left, top); t grows downwards in the image.
const int AtlasRectFloats = 8;      // four (s, t) corners
struct AtlasRect {
  float st[AtlasRectFloats];
};

const float AtlasSize = 1024;       // pixels along each side of the atlas picture
const int PanelPieces = 9;          // pieces of one framed panel, row by row
const int PanelSetCount = 2;        // normal and highlighted
const int FontGlyphCount = 96;      // character codes 32..127
const int FontFirstCode = 32;

extern unsigned AtlasTexture;       // GL texture name; 0 when the picture failed to load

extern AtlasRect AtlasTitle, AtlasBall, AtlasParticle, AtlasExtraTime, AtlasFinish;
extern AtlasRect AtlasGravityDown, AtlasGravityLeft, AtlasGravityUp, AtlasGravityRight;
extern AtlasRect AtlasBlockNormal, AtlasBlockHarmful, AtlasBlockNoSwing, AtlasBlockGhost;
extern AtlasRect AtlasBackground, AtlasPointer, AtlasSpare;
extern AtlasRect AtlasTetherBallEnd, AtlasTether, AtlasTetherAnchorEnd;

// Two panel sets one after the other: set x 9 + piece. Set 0 normal, set 1 highlighted.
enum { AtlasPanelNormal = 0, AtlasPanelHighlight = 1 };
extern AtlasRect PanelSets[PanelSetCount * PanelPieces];

extern AtlasRect FontGlyphs[FontGlyphCount];  // entry k is character code 32 + k
extern float TextWidthFactor;                 // glyph quad width per unit of text size
extern float TextHeightFactor;                // glyph quad height per unit of text size

// Stores the four corners of a picture's texture edges in AtlasRect order.
void SetAtlasCorners(AtlasRect* rect, float left, float top, float right, float bottom);

// Fills rect from a pixel rectangle, inset by 1.5 pixels on every side.
void MakeAtlasRect(AtlasRect* rect, float w, float h, float x, float y, float texW, float texH);

struct SDL_Surface;

// A new GL texture from a surface with linear filtering and repeat wrap, all
// mip levels when asked; surfaces that are not 24-bit RGB/BGR or 32-bit
// RGBA/BGRA are converted to RGBA first. Returns 0 when that fails.
unsigned MakeSurfaceTexture(SDL_Surface* surface, bool mipmaps);

// Loads "Media/tetherorb2texture.png" into a texture (mipmapped when the setting
// asks); returns its name, or 0 when the picture cannot be loaded.
unsigned LoadAtlasTexture();

// Fills the 19 named rectangles and the 18 panel pieces; needs no GL context.
void FillAtlasRects();

// LoadAtlasTexture into AtlasTexture, then FillAtlasRects.
void BuildAtlas();

// Fills FontGlyphs and sets both text size factors to 62.
void BuildFontGlyphs();
