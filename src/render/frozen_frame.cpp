// The frame captured when the pause layer opens, and the frozen picture drawn in its place.
#include "render/frozen_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "game/base/screen.h"
#include "game/run/pause_state.h"
#include "render/draw.h"
#include "render/overlay.h"

int FrozenWidth, FrozenHeight;

static GLuint FrozenTexture;   // the frame captured when the layer opened

static const int BytesPerPixel = 4;   // R, G, B, A in ReadbackBuffer

bool FrameFitsReadback(int w, int h)
{
  return ReadbackBuffer && w > 0 && h > 0 && (long)w * h * BytesPerPixel <= ReadbackBytes;
}

// Reads the frame into ReadbackBuffer and copies it into FrozenTexture.
static void CaptureFrame(int w, int h)
{
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, ReadbackBuffer);
  FrozenWidth = w;
  FrozenHeight = h;
  UploadFrozenFrame();
}

void UploadFrozenFrame()
{
  int w = FrozenWidth, h = FrozenHeight;
  if (!FrameFitsReadback(w, h))
    return;
  if (FrozenTexture && !glIsTexture(FrozenTexture))
    FrozenTexture = 0;   // a name from a GL context that is gone
  if (!FrozenTexture)
    glGenTextures(1, &FrozenTexture);
  glBindTexture(GL_TEXTURE_2D, FrozenTexture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, ReadbackBuffer);
}

// The captured frame over the whole window (stretched when the window was
// resized since), texel for pixel and unblended,
// with the bottom row first as glReadPixels gave it.
static void DrawFrozenFrame(int w, int h)
{
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, w, 0, h);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, FrozenTexture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  float x = (float)w, y = (float)h;
  float v[8] = { 0, 0, x, 0, x, y, 0, y };
  float st[8] = { 0, 0, 1, 0, 1, 1, 0, 1 };
  glVertexPointer(2, GL_FLOAT, 0, v);
  glTexCoordPointer(2, GL_FLOAT, 0, st);
  glDrawArrays(GL_QUADS, 0, 4);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  DisableQuadDrawing();
}

void StepPause(float speed, bool screenDrew)
{
  int w = (int)ScreenWidth, h = (int)ScreenHeight;
  float before = PauseLevel;
  bool capture = AdvancePause(speed);
  if (!FrameFitsReadback(w, h))
    return;
  if (capture && screenDrew)
    CaptureFrame(w, h);
  if (before != 0 && !screenDrew && FrozenTexture)
    DrawFrozenFrame(w, h);
}
