// The ghost ball in play, while watching and in the play list.
#include "ui/ghost_view.h"

#include <GL/gl.h>

#include "game/files/ghost.h"
#include "game/play/world.h"
#include "game/settings/settings.h"
#include "render/draw.h"

void DrawGhost()
{
  float x, y, ax, ay;
  if (!Settings.ghost || GhostLevel != CurrentLevel || !GhostPositionAt(GhostClock, &x, &y))
    return;
  if (GhostAnchor(&ax, &ay)) {
    SetDrawTint(GhostTintRed, GhostTintGreen, GhostTintBlue, GhostTetherAlpha);
    DrawTether(x, y, ax, ay);
  }
  DrawGhostBall(x, y);
}

// A soft cool glow added as light, then the ball's picture faint over it, so
// the ghost reads as a pale orb over dark and light cells alike.
void DrawGhostBall(float x, float y, float size)
{
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  SetDrawTint(GhostGlowRed, GhostGlowGreen, GhostGlowBlue, GhostGlowAlpha);
  DrawQuad(AtlasParticle, x, y, size * GhostGlowScale, size * GhostGlowScale, 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  SetDrawTint(GhostTintRed, GhostTintGreen, GhostTintBlue, GhostAlpha);
  DrawQuad(AtlasBall, x, y, size, size, 0);
  SetDrawTint(1, 1, 1, 1);
}
