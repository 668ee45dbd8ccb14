// The map types' pictures from the atlas.
#include "ui/cell_look.h"

#include "game/play/world.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "ui/scene.h"

// How each map type looks in the editor: a quad over its cell, a sprite of
// the given size centred on the cell, or nothing.
enum { look_none, look_cell, look_sprite };
struct CellLook {
  int kind;
  const AtlasRect* rect;
  float size;            // sprite width and height, world units
};
static const CellLook CellLooks[] = {
  {look_none, nullptr, 0},
  {look_cell, &AtlasBlockNormal, 1},
  {look_cell, &AtlasBlockHarmful, 1},
  {look_cell, &AtlasBlockNoSwing, 1},
  {look_cell, &AtlasBlockGhost, 1},
  {look_cell, &AtlasGravityDown, 1},
  {look_cell, &AtlasGravityLeft, 1},
  {look_cell, &AtlasGravityUp, 1},
  {look_cell, &AtlasGravityRight, 1},
  {look_sprite, &AtlasBall, BallDrawSize},
  {look_sprite, &AtlasExtraTime, ExtraTimeDrawSize},
  {look_sprite, &AtlasFinish, FinishDrawSize}
};
static_assert(sizeof CellLooks / sizeof CellLooks[0] == MapTypeCount, "one entry per MapTypeCount");

void DrawCellLook(int type, float x, float y, float size, bool fit)
{
  const CellLook& look = CellLooks[type];
  float s = fit && look.size > 1 ? size : look.size * size;
  if (look.kind == look_cell)
    DrawRect(*look.rect, x, y, size, size);
  else if (look.kind == look_sprite)
    DrawQuad(*look.rect, x + size * 0.5f, y + size * 0.5f, s, s, 0);
}

