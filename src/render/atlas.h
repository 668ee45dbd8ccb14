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
const int FontGlyphCount = 96;      // character codes 32..127 (127 a box); the rest: render/text.h
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

const int PictureBytesPerPixel = 4;     // R, G, B, A
const int MaxPictureSide = 16384;       // pixels; larger pictures are refused

// Decodes a PNG file into w x h RGBA pixels, top row first (the caller frees
// them); null when the file is missing, not a PNG or too large.
unsigned char* LoadPicture(const char* path, int* w, int* h);

// A new GL texture from RGBA pixels with linear filtering and repeat wrap,
// and, when asked, every mip level down to 1 x 1 (2 x 2 means of the level above).
unsigned MakePictureTexture(const unsigned char* rgba, int w, int h, bool mipmaps);

// The picture of that name in the media folder as a texture; 0 when it cannot be loaded.
unsigned LoadMediaTexture(const char* name, bool mipmaps);

// Loads "Media/tetherorb2texture.png" into a texture (mipmapped when the setting
// asks); returns its name, or 0 when the picture cannot be loaded.
unsigned LoadAtlasTexture();

// Fills the 19 named rectangles and the 18 panel pieces; needs no GL context.
void FillAtlasRects();

// Fills FontGlyphs and sets both text size factors to 62; needs no GL context.
void FillFontGlyphs();
