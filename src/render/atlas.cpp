// The atlas texture and its coordinate tables. Every rectangle is inset from
// its cell so that linear filtering never reaches a neighbour's texels.
#include "render/atlas.h"

#include <stdlib.h>
#include <string.h>

#include <GL/gl.h>
#include <lodepng.h>

#include "game/base/places.h"
#include "game/settings/settings.h"

unsigned AtlasTexture;

AtlasRect AtlasTitle, AtlasBall, AtlasParticle, AtlasExtraTime, AtlasFinish;
AtlasRect AtlasGravityDown, AtlasGravityLeft, AtlasGravityUp, AtlasGravityRight;
AtlasRect AtlasBlockNormal, AtlasBlockHarmful, AtlasBlockNoSwing, AtlasBlockGhost;
AtlasRect AtlasBackground, AtlasPointer, AtlasSpare;
AtlasRect AtlasTetherBallEnd, AtlasTether, AtlasTetherAnchorEnd;
AtlasRect PanelSets[PanelSetCount * PanelPieces];

AtlasRect FontGlyphs[FontGlyphCount];
float TextWidthFactor;
float TextHeightFactor;

static const char AtlasFileName[] = "tetherorb2texture.png";   // in the media folder

const float AtlasInset = 1.5f;          // pixels kept clear on each side of a picture
const float GlyphInset = 1;             // pixels kept clear on each side of a glyph cell
const float GlyphCell = 64;             // pixels of one font cell, square
const int GlyphColumns = 8;             // font cells per atlas row
const float FontLeft = 512;             // pixel x of the font grid's left edge
const float PanelPieceSize = 64;        // pixels of one panel piece, square
const float PanelTop = 832;             // pixel y of the panel pieces' top row
const float PanelSetLeft[] = { 512, 704 }; // pixel x of each set's left column
static_assert(sizeof PanelSetLeft / sizeof PanelSetLeft[0] == PanelSetCount, "one entry per PanelSetCount");
const float TextSizeFactor = 62;        // glyph quad size per unit of text size

struct AtlasPlace {
  AtlasRect* rect;
  float x, y, w, h;                     // pixels, top-left corner and size
};

static const AtlasPlace AtlasLayout[] = {
  { &AtlasTitle,           0,   0,   512, 128 },
  { &AtlasBall,            0,   128, 128, 128 },
  { &AtlasParticle,        128, 128, 128, 128 },
  { &AtlasExtraTime,       256, 128, 128, 128 },
  { &AtlasFinish,          384, 128, 128, 128 },
  { &AtlasGravityDown,     0,   256, 128, 128 },
  { &AtlasGravityLeft,     128, 256, 128, 128 },
  { &AtlasGravityUp,       256, 256, 128, 128 },
  { &AtlasGravityRight,    384, 256, 128, 128 },
  { &AtlasBlockNormal,     0,   384, 128, 128 },
  { &AtlasBlockHarmful,    128, 384, 128, 128 },
  { &AtlasBlockNoSwing,    256, 384, 128, 128 },
  { &AtlasBlockGhost,      384, 384, 128, 128 },
  { &AtlasBackground,      0,   512, 512, 512 },
  { &AtlasPointer,         896, 768, 128, 128 },
  { &AtlasSpare,           896, 896, 128, 128 },
  { &AtlasTetherBallEnd,   512, 768, 64,  64 },
  { &AtlasTether,          576, 768, 256, 64 },
  { &AtlasTetherAnchorEnd, 832, 768, 64,  64 },
};
static const int AtlasLayoutCount = sizeof(AtlasLayout) / sizeof(AtlasLayout[0]);

void SetAtlasCorners(AtlasRect* rect, float left, float top, float right, float bottom)
{
  float* st = rect->st;
  st[0] = left;  st[1] = bottom;
  st[2] = right; st[3] = bottom;
  st[4] = right; st[5] = top;
  st[6] = left;  st[7] = top;
}

void MakeAtlasRect(AtlasRect* rect, float w, float h, float x, float y, float texW, float texH)
{
  float left = (x + AtlasInset) / texW;
  float top = (y + AtlasInset) / texH;
  float right = left + (w - 2 * AtlasInset) / texW;
  float bottom = top + (h - 2 * AtlasInset) / texH;
  SetAtlasCorners(rect, left, top, right, bottom);
}

void FillAtlasRects()
{
  for (int i = 0; i < AtlasLayoutCount; i++) {
    const AtlasPlace* p = &AtlasLayout[i];
    MakeAtlasRect(p->rect, p->w, p->h, p->x, p->y, AtlasSize, AtlasSize);
  }
  for (int set = 0; set < PanelSetCount; set++)
    for (int k = 0; k < PanelPieces; k++)
      MakeAtlasRect(&PanelSets[set * PanelPieces + k], PanelPieceSize, PanelPieceSize,
                    PanelSetLeft[set] + PanelPieceSize * (k % 3),
                    PanelTop + PanelPieceSize * (k / 3), AtlasSize, AtlasSize);
}

void FillFontGlyphs()
{
  const float toTexture = 0.0009765625f;  // 1 / 1024
  for (int k = 0; k < FontGlyphCount; k++) {
    float x = FontLeft + GlyphCell * (k % GlyphColumns);
    float y = GlyphCell * (k / GlyphColumns);
    SetAtlasCorners(&FontGlyphs[k], x + GlyphInset, y + GlyphInset,
                    x + GlyphCell - GlyphInset, y + GlyphCell - GlyphInset);
    for (int i = 0; i < AtlasRectFloats; i++)
      FontGlyphs[k].st[i] *= toTexture;
  }
  TextWidthFactor = TextSizeFactor;
  TextHeightFactor = TextSizeFactor;
}

unsigned char* LoadPicture(const char* path, int* w, int* h)
{
  unsigned char* rgba = nullptr;
  unsigned width = 0, height = 0;
  if (lodepng_decode32_file(&rgba, &width, &height, path) != 0 || !rgba ||
      width == 0 || height == 0 || width > MaxPictureSide || height > MaxPictureSide) {
    free(rgba);
    return nullptr;
  }
  *w = (int)width;
  *h = (int)height;
  return rgba;
}

// The next mip level of a w x h RGBA picture: each texel the rounded mean of
// a 2 x 2 block, a side of 1 staying 1 (the box filter GLU uses for
// power-of-two pictures). The caller frees it; null when out of memory.
static unsigned char* HalvePicture(const unsigned char* rgba, int w, int h)
{
  int hw = w > 1 ? w / 2 : 1, hh = h > 1 ? h / 2 : 1;
  unsigned char* half = (unsigned char*)malloc((size_t)hw * hh * PictureBytesPerPixel);
  if (!half)
    return nullptr;
  for (int y = 0; y < hh; y++) {
    int y0 = h > 1 ? 2 * y : 0, y1 = h > 1 ? 2 * y + 1 : 0;
    for (int x = 0; x < hw; x++) {
      int x0 = w > 1 ? 2 * x : 0, x1 = w > 1 ? 2 * x + 1 : 0;
      for (int c = 0; c < PictureBytesPerPixel; c++) {
        int sum = rgba[((size_t)y0 * w + x0) * PictureBytesPerPixel + c] +
                  rgba[((size_t)y0 * w + x1) * PictureBytesPerPixel + c] +
                  rgba[((size_t)y1 * w + x0) * PictureBytesPerPixel + c] +
                  rgba[((size_t)y1 * w + x1) * PictureBytesPerPixel + c];
        half[((size_t)y * hw + x) * PictureBytesPerPixel + c] = (unsigned char)((sum + 2) / 4);
      }
    }
  }
  return half;
}

// Levels 1, 2, ... of the bound texture down to 1 x 1; false when memory ran out.
static bool UploadMipLevels(const unsigned char* rgba, int w, int h)
{
  const unsigned char* above = rgba;
  bool ok = true;
  for (int level = 1; ok && (w > 1 || h > 1); level++) {
    unsigned char* half = HalvePicture(above, w, h);
    ok = half != nullptr;
    if (ok) {
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
      glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, half);
    }
    if (above != rgba)
      free((void*)above);
    above = half;
  }
  if (above != rgba)
    free((void*)above);
  return ok;
}

unsigned MakePictureTexture(const unsigned char* rgba, int w, int h, bool mipmaps)
{
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // The filter goes in before level 0: Mesa sizes a texture's storage when
  // level 0 arrives. Set after the levels, it gave level 0 storage of its own
  // and then a second store for the whole chain, and kept both until the
  // first draw: 4 MB more for a 1024 x 1024 picture, in heap it never gave back.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  if (mipmaps && !UploadMipLevels(rgba, w, h))
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  return name;
}

unsigned LoadMediaTexture(const char* name, bool mipmaps)
{
  int w, h;
  PathBuffer path;
  unsigned char* rgba = PlacePath(path, Places.media, name) ? LoadPicture(path, &w, &h) : nullptr;
  if (!rgba)
    return 0;
  unsigned texture = MakePictureTexture(rgba, w, h, mipmaps);
  free(rgba);
  return texture;
}

unsigned LoadAtlasTexture()
{
  return LoadMediaTexture(AtlasFileName, Settings.mipmapping);
}
