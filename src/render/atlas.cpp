// The atlas texture and its coordinate tables. Every rectangle is inset from
// its cell so that linear filtering never reaches a neighbour's texels.
#include "render/atlas.h"

#include <stdlib.h>
#include <string.h>

#include <SDL.h>
#include <SDL_image.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "app/settings.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif

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

static const char AtlasFileName[] = "Media/tetherorb2texture.png";

const float AtlasInset = 1.5f;          // pixels kept clear on each side of a picture
const float GlyphInset = 1;             // pixels kept clear on each side of a glyph cell
const float GlyphCell = 64;             // pixels of one font cell, square
const int GlyphColumns = 8;             // font cells per atlas row
const float FontLeft = 512;             // pixel x of the font grid's left edge
const float PanelPieceSize = 64;        // pixels of one panel piece, square
const float PanelTop = 832;             // pixel y of the panel pieces' top row
const float PanelSetLeft[PanelSetCount] = { 512, 704 }; // pixel x of each set's left column
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

void BuildFontGlyphs()
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

// 0 for a layout GL cannot take as it is: anything but 8-bit R, G, B (and A)
// channels in byte order RGB(A) or BGR(A).
static unsigned SurfaceFormat(const SDL_PixelFormat* f)
{
  int bytes = f->BytesPerPixel;
  if (bytes != 3 && bytes != 4)
    return 0;
  if (bytes == 4 && f->Amask != 0xFF000000u)
    return 0;
  if (f->Rmask == 0x000000FFu && f->Gmask == 0x0000FF00u && f->Bmask == 0x00FF0000u)
    return bytes == 4 ? GL_RGBA : GL_RGB;
  if (f->Rmask == 0x00FF0000u && f->Gmask == 0x0000FF00u && f->Bmask == 0x000000FFu)
    return bytes == 4 ? GL_BGRA_EXT : GL_BGR_EXT;
  return 0;
}

// A copy of the surface as 32-bit RGBA, for palette, grey, 16-bit and other layouts.
static SDL_Surface* ConvertToRGBA(SDL_Surface* surface)
{
  SDL_PixelFormat rgba;
  memset(&rgba, 0, sizeof(rgba));
  rgba.BitsPerPixel = 32;
  rgba.BytesPerPixel = 4;
  rgba.Rmask = 0x000000FFu; rgba.Rshift = 0;
  rgba.Gmask = 0x0000FF00u; rgba.Gshift = 8;
  rgba.Bmask = 0x00FF0000u; rgba.Bshift = 16;
  rgba.Amask = 0xFF000000u; rgba.Ashift = 24;
  rgba.alpha = SDL_ALPHA_OPAQUE;
  return SDL_ConvertSurface(surface, &rgba, SDL_SWSURFACE);
}

unsigned MakeSurfaceTexture(SDL_Surface* surface, bool mipmaps)
{
  SDL_Surface* converted = NULL;
  unsigned format = SurfaceFormat(surface->format);
  if (!format) {
    converted = ConvertToRGBA(surface);
    if (!converted)
      return 0;
    surface = converted;
    format = GL_RGBA;
  }
  int bytes = surface->format->BytesPerPixel;
  int rowBytes = surface->w * bytes;

  // GL reads rows back to back, so a padded surface is packed first.
  unsigned char* packed = NULL;
  const void* pixels = surface->pixels;
  if (SDL_MUSTLOCK(surface))
    SDL_LockSurface(surface);
  if (surface->pitch != rowBytes) {
    packed = (unsigned char*)malloc((size_t)rowBytes * surface->h);
    if (packed) {
      for (int row = 0; row < surface->h; row++)
        memcpy(packed + (size_t)row * rowBytes,
               (const unsigned char*)surface->pixels + (size_t)row * surface->pitch, rowBytes);
    }
    pixels = packed;
  }

  GLuint name = 0;
  if (pixels) {
    GLint oldAlignment;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (mipmaps) {
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
      gluBuild2DMipmaps(GL_TEXTURE_2D, bytes, surface->w, surface->h, format,
                        GL_UNSIGNED_BYTE, pixels);
    } else {
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      glTexImage2D(GL_TEXTURE_2D, 0, bytes, surface->w, surface->h, 0, format,
                   GL_UNSIGNED_BYTE, pixels);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
  }

  if (SDL_MUSTLOCK(surface))
    SDL_UnlockSurface(surface);
  free(packed);
  if (converted)
    SDL_FreeSurface(converted);
  return name;
}

unsigned LoadAtlasTexture()
{
  SDL_Surface* surface = IMG_Load(AtlasFileName);
  if (!surface)
    return 0;
  unsigned name = MakeSurfaceTexture(surface, Settings.mipmapping);
  SDL_FreeSurface(surface);
  return name;
}

void BuildAtlas()
{
  AtlasTexture = LoadAtlasTexture();
  FillAtlasRects();
}
