// The game scene: the level seen through the camera, and the score bar.
#include "ui/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/play/world.h"
#include "game/settings/settings.h"
#include "render/draw.h"
#include "ui/bars.h"
#include "ui/ghost_view.h"

const int CullMarginCells = 1;         // extra cells kept around the view against rounding

// Cell images of the pass under the items and the ball, and of the pass over them.
static const AtlasRect* const UnderImages[] = {
  nullptr, nullptr, nullptr, nullptr,
  &AtlasBlockGhost, &AtlasGravityDown, &AtlasGravityLeft, &AtlasGravityUp, &AtlasGravityRight,
  nullptr, nullptr, nullptr,
};
static_assert(sizeof UnderImages / sizeof UnderImages[0] == MapTypeCount, "one entry per MapTypeCount");
static const AtlasRect* const OverImages[] = {
  nullptr, &AtlasBlockNormal, &AtlasBlockHarmful, &AtlasBlockNoSwing,
  nullptr, nullptr, nullptr, nullptr, nullptr,
  nullptr, nullptr, nullptr,
};
static_assert(sizeof OverImages / sizeof OverImages[0] == MapTypeCount, "one entry per MapTypeCount");

static char ScoreText[64];

ViewRect CameraView()
{
  ViewRect v;
  float halfWidth = Camera.viewHeight * AspectRatio / 2;
  float halfHeight = Camera.viewHeight / 2;
  v.left = Camera.camX - halfWidth;
  v.right = Camera.camX + halfWidth;
  v.top = Camera.camY - halfHeight;
  v.bottom = Camera.camY + halfHeight;
  return v;
}

void WorldOrtho()
{
  ViewRect v = CameraView();
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(v.left, v.right, v.bottom, v.top);
}

void DrawViewBackground()
{
  ViewRect v = CameraView();
  DrawRect(AtlasBackground, v.left, v.top, v.right - v.left, v.bottom - v.top);
}

// A cell index bound clamped to 0..limit; NaN and huge values never reach the cast.
static int ClampCell(double v, int limit)
{
  if (!(v > 0))
    return 0;
  if (v > limit)
    return limit;
  return (int)v;
}

CellRange ViewCellRange()
{
  ViewRect v = CameraView();
  CellRange r;
  r.x0 = ClampCell(std::floor((double)v.left) - CullMarginCells, LevelWidth);
  r.x1 = ClampCell(std::floor((double)v.right) + 1 + CullMarginCells, LevelWidth);
  r.y0 = ClampCell(std::floor((double)v.top) - CullMarginCells, LevelHeight);
  r.y1 = ClampCell(std::floor((double)v.bottom) + 1 + CullMarginCells, LevelHeight);
  return r;
}

int ScoreShown(float levelTimer)
{
  return (int)(float)std::ceil((double)levelTimer);
}

static void DrawCellPass(const AtlasRect* const* images, const CellRange& r)
{
  for (int x = r.x0; x < r.x1; x++) {
    const MapCell* column = &MapGrid[x * MapSize];
    for (int y = r.y0; y < r.y1; y++) {
      int type = column[y];
      if (type < 0 || type >= MapTypeCount || !images[type])
        continue;
      DrawRect(*images[type], (float)x, (float)y, 1, 1);
    }
  }
}

// With "Reduce flashing" one particle in ParticleThinning is drawn, picked by
// its velocity, which it keeps for life, so none blinks on and off; the
// run's own particles stay as they are, so replays are unchanged.
static const uint32_t ParticleThinning = 3;

static bool ParticleThinnedOut(const LevelItem& item)
{
  uint32_t bits;
  memcpy(&bits, &item.vx, sizeof bits);
  return Settings.reduceFlashing && bits % ParticleThinning != 0;
}

static void DrawItems(int type, const AtlasRect& image, float size)
{
  for (int i = 0; i < ItemCount; i++) {
    const LevelItem& item = ItemTable[i];
    if (item.type != type || (type == itemtype_particle && ParticleThinnedOut(item)))
      continue;
    float s = type == itemtype_particle ? item.life : size;
    DrawQuad(image, item.x, item.y, s, s, 0);
  }
}

void DrawPlayfield(bool watching)
{
  WorldOrtho();
  DrawViewBackground();

  CellRange cells = ViewCellRange();
  DrawCellPass(UnderImages, cells);

  DrawItems(itemtype_finish, AtlasFinish, FinishDrawSize);
  DrawItems(itemtype_particle, AtlasParticle, 0);
  DrawItems(itemtype_extratime, AtlasExtraTime, ExtraTimeDrawSize);

  if (!watching)
    DrawGhost();
  if (Ball.attached)
    DrawTether(Ball.x, Ball.y, Ball.anchorX, Ball.anchorY);
  if (watching)
    DrawGhostBall(Ball.x, Ball.y);
  else
    DrawQuad(AtlasBall, Ball.x, Ball.y, BallDrawSize, BallDrawSize, 0);

  DrawCellPass(OverImages, cells);

  if (!watching)
    DrawQuad(AtlasPointer, AimPoint.aimX, AimPoint.aimY, PointerDrawSize, PointerDrawSize, 0);
}

void DrawGameScene()
{
  DrawPlayfield(false);
  ScreenOrtho();
  snprintf(ScoreText, sizeof(ScoreText), Tr("Score %i"), ScoreShown(LevelTimer));
  DrawBar(TopBarTop, ScoreText);
}
