// The window-pixel overlay: its texture, its tables and the pause screen's
// read-back buffer. Dashboard rectangles have no inset; the picture keeps its
// own margins.
#include "render/overlay.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/base/utf8.h"
#include "render/draw.h"
#include "render/text.h"

unsigned DashboardTexture;
AtlasRect DashGlyphs[DashGlyphCount];
AtlasRect ButtonFramePieces[ButtonFramePieceCount];
AtlasRect DashFrames[DashFrameCount];
char FooterLines[2][256];
const GlyphFont SmallFont = {
  DashGlyphs, DashFirstCode, DashFirstCode + DashGlyphCount - 1, &DashboardTexture,
  SmallExtraGlyphs, &SmallGlyphsTexture,
};
const char* CreditText = N_("Swing on, race the clock. Made with SDL and OpenGL.");
unsigned char* ReadbackBuffer;
long ReadbackBytes;

static const char DashboardFileName[] = "dashboard.png";   // in the media folder

const int DashTextureW = 1024;        // pixels of the overlay texture
const int DashTextureH = 256;
const int SmallGlyph = 20;            // pixels of a small-font cell and quad
const int SmallPenOffset = 5;         // pixels the first glyph starts left of x
const int SmallGlyphsPerRow = 32;
const int PieceSize = 20;             // pixels of a button frame piece in the picture
const int PieceTop = 60;              // pixel y of the button pieces
const int PieceGroupWidth = 60;       // pixels between the picture's piece groups
const int CursorLeft = 440;           // pixel x of cursor frame 0
const int CursorTop = 60;             // pixel y of the cursor frames
const int CursorW = 40, CursorH = 60; // pixels of one cursor frame
const int CursorHotX = 12;            // hot spot, pixels right of the frame's left edge
const int CursorHotY = 10;            // hot spot, pixels below the frame's top edge
const int BarW = 640, BarH = 68;      // pixels of each bar picture
const int TopBarY = 120, BottomBarY = 188;
const int ButtonBorder = 20;          // pixels of frame around a button body
const int ButtonBodyW = 300;          // pixels of a button body
const int ButtonBodyH = 15;
const int ButtonTiles = ButtonBodyW / PieceSize;
const int ButtonHitLeft = 164;        // hit box: cx - 164 < x < cx + 163
const int ButtonHitRight = 163;
const int ButtonHitHalfH = 21;        // hit box: y - 21 < y < y + 21
const int ButtonFrameY = 7;           // body's top edge, pixels above the centre
const int ButtonLabelY = 10;          // label's top, pixels above the centre
const int MaxReadbackSide = 16384;    // pixels; no GL frame buffer is larger

static void MakeDashRect(AtlasRect* rect, int x, int y, int w, int h)
{
  const float toS = 0.0009765625f;    // 1 / 1024
  const float toT = 0.00390625f;      // 1 / 256
  SetAtlasCorners(rect, x * toS, y * toT, (x + w) * toS, (y + h) * toT);
}

void FillDashboardTables()
{
  for (int i = 0; i < DashCursorFrames; i++)
    MakeDashRect(&DashFrames[i], CursorLeft + CursorW * i, CursorTop, CursorW, CursorH);
  FillExtraGlyphTables();
  for (int i = 0; i < DashGlyphCount; i++)
    MakeDashRect(&DashGlyphs[i], SmallGlyph * (i % SmallGlyphsPerRow),
                 SmallGlyph * (i / SmallGlyphsPerRow), SmallGlyph, SmallGlyph);
  for (int g = 0; g < ButtonGroups; g++)
    for (int c = 0; c < 3; c++)
      for (int r = 0; r < 3; r++)
        MakeDashRect(&ButtonFramePieces[ButtonGroupPieces * g + 3 * c + r],
                     PieceGroupWidth * g + PieceSize * c, PieceTop + PieceSize * r,
                     PieceSize, PieceSize);
  MakeDashRect(&DashFrames[DashTopBar], 0, TopBarY, BarW, BarH);
  MakeDashRect(&DashFrames[DashBottomBar], 0, BottomBarY, BarW, BarH);
}

// The dashboard picture copied, unblended, to the top-left of a transparent
// 1024 x 256 RGBA canvas (the caller frees it); the canvas stays transparent
// when the picture is missing or broken. Null when out of memory.
static unsigned char* MakeDashboardCanvas()
{
  size_t rowBytes = (size_t)DashTextureW * PictureBytesPerPixel;
  unsigned char* canvas = (unsigned char*)calloc(rowBytes * DashTextureH, 1);
  int w, h;
  PathBuffer path;
  unsigned char* picture = PlacePath(path, Places.media, DashboardFileName) ? LoadPicture(path, &w, &h) : nullptr;
  if (canvas && picture) {
    size_t copyBytes = (size_t)(w < DashTextureW ? w : DashTextureW) * PictureBytesPerPixel;
    for (int row = 0; row < h && row < DashTextureH; row++)
      memcpy(canvas + row * rowBytes, picture + (size_t)row * w * PictureBytesPerPixel, copyBytes);
  }
  free(picture);
  return canvas;
}

static void AllocateReadbackBuffer()
{
  long w = ScreenWidth >= 1 && ScreenWidth <= MaxReadbackSide ? (long)ScreenWidth : 0;
  long h = ScreenHeight >= 1 && ScreenHeight <= MaxReadbackSide ? (long)ScreenHeight : 0;
  ReadbackBytes = w * h * 4;
  // Never null, so a frame read of a zero-sized screen still has a place to go.
  ReadbackBuffer = (unsigned char*)calloc(ReadbackBytes > 0 ? ReadbackBytes : 4, 1);
  if (!ReadbackBuffer)
    ReadbackBytes = 0;
}

// Grows ReadbackBuffer for a larger window, keeping the frame it holds.
void FitReadbackBuffer()
{
  long w = ScreenWidth >= 1 && ScreenWidth <= MaxReadbackSide ? (long)ScreenWidth : 0;
  long h = ScreenHeight >= 1 && ScreenHeight <= MaxReadbackSide ? (long)ScreenHeight : 0;
  long bytes = w * h * 4;
  if (bytes <= ReadbackBytes)
    return;
  unsigned char* grown = (unsigned char*)realloc(ReadbackBuffer, bytes);
  if (!grown)
    return;
  memset(grown + ReadbackBytes, 0, bytes - ReadbackBytes);
  ReadbackBuffer = grown;
  ReadbackBytes = bytes;
}

void LoadDashboardTexture()
{
  unsigned char* canvas = MakeDashboardCanvas();
  DashboardTexture = canvas ? MakePictureTexture(canvas, DashTextureW, DashTextureH, false) : 0;
  free(canvas);
  SmallGlyphsTexture = LoadMediaTexture(SmallGlyphsFileName, false);
}

void SetUpDashboard()
{
  LoadDashboardTexture();
  FillDashboardTables();
  AllocateReadbackBuffer();
  snprintf(FooterLines[0], sizeof(FooterLines[0]), "%s", "");
  snprintf(FooterLines[1], sizeof(FooterLines[1]), "%s", CreditText);
}

float OverlayScale()
{
  if (!(ScreenWidth > 0) || ScreenWidth >= OverlayNeededWidth)
    return 1;
  return ScreenWidth / OverlayNeededWidth;
}

float OverlayWidth()
{
  return ScreenWidth / OverlayScale();
}

float OverlayHeight()
{
  return ScreenHeight / OverlayScale();
}

void BeginOverlay()
{
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, OverlayWidth(), OverlayHeight(), 0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glBindTexture(GL_TEXTURE_2D, DashboardTexture);
}

static void DrawPixelQuad(const AtlasRect& rect, int left, int top, int right, int bottom)
{
  float v[8] = { (float)left, (float)bottom, (float)right, (float)bottom,
                 (float)right, (float)top, (float)left, (float)top };
  glVertexPointer(2, GL_FLOAT, 0, v);
  glTexCoordPointer(2, GL_FLOAT, 0, rect.st);
  glDrawArrays(GL_QUADS, 0, 4);
}

void DrawCursor(int pixelX, int pixelY)
{
  float scale = OverlayScale();
  int x = (int)(pixelX / scale), y = (int)(pixelY / scale);
  BeginOverlay();
  DrawPixelQuad(DashFrames[0], x - CursorHotX, y - CursorHotY,
                x - CursorHotX + CursorW, y - CursorHotY + CursorH);
  DisableQuadDrawing();
}

void DrawSmallText(const char* text, int x, int y)
{
  BeginOverlay();
  int pen = x - SmallPenOffset;
  unsigned bound = DashboardTexture;
  while (text && *text) {
    unsigned texture = bound;
    const AtlasRect* glyph = NextGlyph(&SmallFont, &text, &texture);
    if (glyph) {
      if (texture != bound)
        glBindTexture(GL_TEXTURE_2D, bound = texture);
      DrawPixelQuad(*glyph, pen, y, pen + SmallGlyph, y + SmallGlyph);
    }
    pen += SmallAdvance;
  }
  if (bound != DashboardTexture)
    glBindTexture(GL_TEXTURE_2D, DashboardTexture);
  DisableQuadDrawing();
}

void DrawButtonFrame(int left, int top, int group)
{
  if (group < 0 || group >= ButtonGroups)
    group = 0;
  const AtlasRect* p = &ButtonFramePieces[ButtonGroupPieces * group];
  const int b = ButtonBorder;
  const int right = left + ButtonBodyW;
  const int bottom = top + ButtonBodyH;
  BeginOverlay();
  DrawPixelQuad(p[0], left - b, top - b, left, top);
  DrawPixelQuad(p[2], left - b, bottom, left, bottom + b);
  DrawPixelQuad(p[6], right, top - b, right + b, top);
  DrawPixelQuad(p[8], right, bottom, right + b, bottom + b);
  for (int i = 0; i < ButtonTiles; i++)
    DrawPixelQuad(p[5], left + PieceSize * i, bottom, left + PieceSize * (i + 1), bottom + b);
  for (int i = 0; i < ButtonTiles; i++)
    DrawPixelQuad(p[3], left + PieceSize * i, top - b, left + PieceSize * (i + 1), top);
  DrawPixelQuad(p[7], right, top, right + b, bottom);
  DrawPixelQuad(p[1], left - b, top, left, bottom);
  for (int i = 0; i < ButtonTiles; i++)
    DrawPixelQuad(p[4], left + PieceSize * i, top, left + PieceSize * (i + 1), bottom);
  DisableQuadDrawing();
}

bool OverlayButtonHovered(int cx, int y, int mouseX, int mouseY)
{
  return mouseX > cx - ButtonHitLeft && mouseY > y - ButtonHitHalfH &&
         mouseX < cx + ButtonHitRight && mouseY < y + ButtonHitHalfH;
}

bool OverlayButton(const char* label, int cx, int y, bool lit)
{
  float scale = OverlayScale();
  bool hovered = OverlayButtonHovered(cx, y, (int)(Controls.pointerX / scale), (int)(Controls.pointerY / scale));
  bool clicked = hovered && Controls.pointerClick;
  DrawButtonFrame(cx - ButtonFrameX, y - ButtonFrameY, hovered || lit ? 1 : 0);
  int length = Utf8Length(label);
  DrawSmallText(label, cx - SmallAdvance / 2 * length, y - ButtonLabelY);
  return clicked;
}
