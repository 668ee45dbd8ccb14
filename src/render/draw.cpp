// Pictures, text, panels and the tether from the atlas, one quad per draw call. Vertices
// go (left, bottom), (right, bottom), (right, top), (left, top), which is
// counter-clockwise on a y-down screen and so survives back-face culling.
#include "render/draw.h"

#include <cmath>
#include <stdio.h>
#include <string.h>

#include <GL/gl.h>

#include "game/base/utf8.h"
#include "render/text.h"

const float DegreesPerRadian = 57.2957795f;

static void DrawCorners(const float* st, float left, float top, float right, float bottom)
{
  float v[8] = { left, bottom, right, bottom, right, top, left, top };
  glVertexPointer(2, GL_FLOAT, 0, v);
  glTexCoordPointer(2, GL_FLOAT, 0, st);
  glDrawArrays(GL_QUADS, 0, 4);
}

void DrawQuad(const AtlasRect& rect, float x, float y, float w, float h, float angle)
{
  float hw = w * 0.5f;
  float hh = h * 0.5f;
  if (angle == 0) {
    DrawCorners(rect.st, x - hw, y - hh, x + hw, y + hh);
    return;
  }
  glPushMatrix();
  glTranslatef(x, y, 0);
  glRotatef(angle * DegreesPerRadian, 0, 0, 1);
  DrawCorners(rect.st, -hw, -hh, hw, hh);
  glPopMatrix();
}

void DrawRect(const AtlasRect& rect, float x, float y, float w, float h)
{
  DrawCorners(rect.st, x, y, x + w, y + h);
}

static double AdvanceOf(float size)
{
  return (double)size * (double)TextWidthFactor * (double)TextAdvanceFactor;
}

// Glyphs of the glyph set lie in their own texture: switched to only when a
// character needs it, and the atlas bound again at the end.
void DrawText(float x, float y, const char* text, float size)
{
  float w = size * TextWidthFactor;
  float h = size * TextHeightFactor;
  double advance = AdvanceOf(size);
  if (!text)
    return;
  unsigned bound = AtlasTexture;
  while (*text) {
    unsigned texture = bound;
    const AtlasRect* glyph = NextGlyph(&BigFont, &text, &texture);
    if (glyph) {
      if (texture != bound)
        glBindTexture(GL_TEXTURE_2D, bound = texture);
      DrawCorners(glyph->st, x, y, x + w, y + h);
    }
    x = (float)(x + advance);
  }
  if (bound != AtlasTexture)
    glBindTexture(GL_TEXTURE_2D, AtlasTexture);
}

float TextAdvance(float size)
{
  return (float)AdvanceOf(size);
}

float TextWidth(const char* text, float size)
{
  return Utf8Length(text) * TextAdvance(size);
}

float TextRightStart(int length, float x, float size)
{
  return (float)(x - AdvanceOf(size) * (length + 0.5));
}

void FitTextToWidth(char* text, float width, float size)
{
  static const char Ellipsis[] = "...";
  const int ellipsisLength = (int)sizeof(Ellipsis) - 1;
  double advance = AdvanceOf(size);
  if (!text || !(advance > 0))
    return;
  int length = Utf8Length(text);
  double cells = width > 0 ? width / advance : 0;   // NaN too
  if (cells >= length)
    return;
  int fits = (int)cells;
  int kept = fits - ellipsisLength;
  if (kept < 0)
    kept = 0;
  // The characters cut away take at least a byte each, so the dots fit where they were.
  int keptBytes = Utf8PrefixBytes(text, kept);
  snprintf(text + keptBytes, strlen(text) + 1 - keptBytes, "%.*s", fits - kept, Ellipsis);
}

void DrawTextRight(const char* text, float x, float y, float size)
{
  if (!text)
    return;
  DrawText(TextRightStart(Utf8Length(text), x, size), y, text, size);
}

void DrawPanel(int set, float x, float y, float w, float h)
{
  const float b = PanelBorder;
  const AtlasRect* p = &PanelSets[(set == AtlasPanelHighlight ? 1 : 0) * PanelPieces];
  DrawCorners(p[0].st, x - b, y - b, x, y);
  DrawCorners(p[1].st, x, y - b, x + w, y);
  DrawCorners(p[2].st, x + w, y - b, x + w + b, y);
  if (h > 0) {
    DrawCorners(p[3].st, x - b, y, x, y + h);
    DrawCorners(p[4].st, x, y, x + w, y + h);
    DrawCorners(p[5].st, x + w, y, x + w + b, y + h);
  }
  DrawCorners(p[6].st, x - b, y + h, x, y + h + b);
  DrawCorners(p[7].st, x, y + h, x + w, y + h + b);
  DrawCorners(p[8].st, x + w, y + h, x + w + b, y + h + b);
}

void DisableQuadDrawing()
{
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
}

void SetDrawTint(float r, float g, float b, float alpha)
{
  glColor4f(r, g, b, alpha);
}

void DrawPlainLines(const float* xy, int pairs, const float* rgba)
{
  glDisable(GL_TEXTURE_2D);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
  glVertexPointer(2, GL_FLOAT, 0, xy);
  glDrawArrays(GL_LINES, 0, pairs * 2);
  glColor4f(1, 1, 1, 1);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_TEXTURE_2D);
}

void DrawTether(float bx, float by, float ax, float ay)
{
  float dx = ax - bx, dy = ay - by;
  float theta = std::atan2(dy, dx);
  float ox = TetherEndOffset * std::cos(theta);
  float oy = TetherEndOffset * std::sin(theta);
  float length = std::sqrt(dx * dx + dy * dy);
  DrawQuad(AtlasTetherBallEnd, bx - ox, by - oy, TetherWidth, TetherWidth, theta);
  DrawQuad(AtlasTether, (bx + ax) / 2, (by + ay) / 2, length, TetherWidth, theta);
  DrawQuad(AtlasTetherAnchorEnd, ax + ox, ay + oy, TetherWidth, TetherWidth, theta);
}
