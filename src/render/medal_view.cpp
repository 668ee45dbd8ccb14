// The medals' texture and their quads; the atlas is bound again after each.
#include "render/medal_view.h"

#include <GL/gl.h>

#include "game/run/medals.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "render/medal_set.h"

static unsigned MedalTexture;
static AtlasRect MedalRects[MedalPictureCount];

void LoadMedalPictures()
{
  MedalTexture = LoadMediaTexture(MedalsFileName, false);
  float width = (float)(MedalCellPixels * MedalPictureCount), height = (float)MedalCellPixels;
  for (int i = 0; i < MedalPictureCount; i++)
    MakeAtlasRect(&MedalRects[i], MedalCellPixels, MedalCellPixels, (float)(i * MedalCellPixels), 0, width, height);
}

void DrawMedal(int medal, float x, float y, float size)
{
  if (!MedalTexture || medal < medal_bronze || medal > medal_author)
    return;
  glBindTexture(GL_TEXTURE_2D, MedalTexture);
  DrawQuad(MedalRects[medal - medal_bronze], x, y, size, size, 0);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
}
