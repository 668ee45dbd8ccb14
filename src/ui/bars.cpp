// The ScreenOrtho projection and the bars laid out in it.
#include "ui/bars.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "game/base/screen.h"
#include "render/draw.h"

const float BarsMargin = 8;             // units kept clear beside a bar in a narrow window
const float BarsHalfWidth = MenuBarWidth / 2 + PanelBorder + BarsMargin;

float ScreenOrthoHalfHeight()
{
  if (!(AspectRatio > 0) || ScreenHalfHeight * AspectRatio >= BarsHalfWidth)
    return ScreenHalfHeight;
  return BarsHalfWidth / AspectRatio;
}

void ScreenOrtho()
{
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  float half = ScreenOrthoHalfHeight();
  gluOrtho2D(-half * AspectRatio, half * AspectRatio, half, -half);
}

float BarTopInWindow(float top)
{
  // A narrow window's taller ScreenOrtho: the bar keeps its distance from its edge.
  float extra = ScreenOrthoHalfHeight() - ScreenHalfHeight;
  return top < 0 ? top - extra : top + extra;
}

void DrawBar(float top, const char* text, float textWidth)
{
  top = BarTopInWindow(top);
  float size = MenuTextSize;
  float advance = TextWidth(text, 1);
  if (advance * size > textWidth)
    size = textWidth / advance;
  DrawPanel(AtlasPanelNormal, MenuBarLeft, top, MenuBarWidth, MenuBarHeight);
  DrawText(MenuTextLeft, top - MenuTextRaise, text, size);
}
