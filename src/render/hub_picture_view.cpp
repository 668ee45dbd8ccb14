// The hub pictures' textures.
#include "render/hub_picture_view.h"

#include <GL/gl.h>
#include <cstdlib>
#include <lodepng.h>

#include "game/online/online_pictures.h"
#include "render/atlas.h"
#include "render/draw.h"

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

static unsigned Textures[HubPictureSlots];   // 0 until the slot's first picture
static AtlasRect Rects[HubPictureSlots];     // the picture's part of its texture

static int PowerOfTwoAtLeast(int n)
{
  int p = 1;
  while (p < n)
    p *= 2;
  return p;
}

// The slot's PNG into its texture; the slot has none to show when it cannot be decoded.
static void Decode(int slot)
{
  HubPicture& p = HubPictures[slot];
  unsigned char* rgba = nullptr;
  unsigned w = 0, h = 0;
  bool read = lodepng_decode32(&rgba, &w, &h, (const unsigned char*)p.png.data(), p.png.size()) == 0 && rgba &&
              w == (unsigned)p.width && h == (unsigned)p.height;
  p.png = std::string();   // its memory given back, not only emptied
  p.state = read ? hubpicture_shown : hubpicture_missing;
  if (read) {
    if (!Textures[slot]) {
      glGenTextures(1, &Textures[slot]);
      glBindTexture(GL_TEXTURE_2D, Textures[slot]);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    int tw = PowerOfTwoAtLeast((int)w), th = PowerOfTwoAtLeast((int)h);
    glBindTexture(GL_TEXTURE_2D, Textures[slot]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, (int)w, (int)h, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glBindTexture(GL_TEXTURE_2D, AtlasTexture);
    const float HalfTexel = 0.5f;   // the edge texels' centres: no neighbour blended in
    SetAtlasCorners(&Rects[slot], HalfTexel / tw, HalfTexel / th, (w - HalfTexel) / tw, (h - HalfTexel) / th);
  }
  free(rgba);
}

void StepHubPictureViews()
{
  StepHubPictures();
  for (int slot = 0; slot < HubPictureSlots; slot++)
    if (HubPictures[slot].state == hubpicture_bytes) {
      Decode(slot);
      return;
    }
}

bool DrawHubPicture(int slot, float x, float y, float w, float h)
{
  if (slot < 0 || slot >= HubPictureSlots || HubPictures[slot].state != hubpicture_shown || !Textures[slot])
    return false;
  const HubPicture& p = HubPictures[slot];
  float scale = w / p.width < h / p.height ? w / p.width : h / p.height;
  float pw = p.width * scale, ph = p.height * scale;
  glBindTexture(GL_TEXTURE_2D, Textures[slot]);
  DrawRect(Rects[slot], x + (w - pw) / 2, y + (h - ph) / 2, pw, ph);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
  return true;
}
