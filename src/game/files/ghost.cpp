// ghost: recording a run, the ghost file, and the best run's place in time.
#include "game/files/ghost.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "game/base/file_save.h"
#include "game/play/world.h"

GhostPath GhostTake;
GhostPath GhostBest;
int GhostLevel;
float GhostClock;
bool GhostRecording;
bool LevelHasGhost[MaxLevels];

static const unsigned char GhostMagic[4] = {'T', '2', 'G', 'H'};
static const float GhostMinTimeScale = 0.2f;
static const float GhostMaxTimeScale = 2.0f;

static std::vector<unsigned char> GhostFileBytes;  // the file being saved, sized with GhostTake

// Where GhostPositionAt stands in GhostBest: the last frame at or before the
// clock it was asked about (-1 before the first) and that frame's game time.
static int Cursor = -1;
static float CursorTime = 0;

static void ResetCursor()
{
  Cursor = -1;
  CursorTime = 0;
}

static uint32_t GetWord(const unsigned char* p)
{
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void PutWord(unsigned char* p, uint32_t v)
{
  for (int i = 0; i < 4; i++)
    p[i] = (unsigned char)(v >> (8 * i));
}

static float GetFloat(const unsigned char* p)
{
  uint32_t bits = GetWord(p);
  float v;
  memcpy(&v, &bits, sizeof v);
  return v;
}

static void PutFloat(unsigned char* p, float v)
{
  uint32_t bits;
  memcpy(&bits, &v, sizeof bits);
  PutWord(p, bits);
}

static short GetShort(const unsigned char* p)
{
  return (short)(uint16_t)(p[0] | p[1] << 8);
}

static void PutShort(unsigned char* p, short v)
{
  p[0] = (unsigned char)((uint16_t)v & 0xff);
  p[1] = (unsigned char)((uint16_t)v >> 8);
}

// A world coordinate of the anchor in 1/32 cells, kept off GhostNoAnchor.
static short AnchorSteps(float v)
{
  const float limit = SHRT_MAX;
  float steps = v * GhostAnchorSteps;
  if (!(steps > -limit))
    return (short)-limit;
  return (short)lroundf(steps < limit ? steps : limit);
}

int GhostFramesFor(int pickups)
{
  int covered = pickups < GhostPickupsCovered ? pickups : GhostPickupsCovered;
  return GhostSlowestFramesPerTenth * (int)(LevelTimeAtStart + (float)covered * PickupTime);
}

// Room for exactly frames frames, keeping those of the path that fit.
static void SizeGhost(GhostPath* path, int frames)
{
  if ((int)path->frames.size() == frames)
    return;
  std::vector<GhostFrame> room(frames);
  int keep = std::min(path->frameCount, frames);
  std::copy(path->frames.begin(), path->frames.begin() + keep, room.begin());
  path->frames.swap(room);
  path->frameCount = keep;
}

bool ReadGhostStream(FILE* f, GhostPath* out)
{
  unsigned char bytes[GhostHeaderBytes];
  out->frameCount = 0;
  if (fread(bytes, 1, GhostHeaderBytes, f) != (size_t)GhostHeaderBytes)
    return false;
  uint32_t version = GetWord(bytes + 4);
  uint32_t count = GetWord(bytes + 8);
  if (memcmp(bytes, GhostMagic, sizeof GhostMagic) != 0 ||
      (version != (uint32_t)GhostVersion && version != (uint32_t)GhostVersionUntethered) || count < 1 ||
      count > (uint32_t)MaxGhostFrames)
    return false;
  bool tethered = version == (uint32_t)GhostVersion;
  if (out->frames.size() < count)
    SizeGhost(out, (int)count);
  size_t frameBytes = tethered ? GhostFrameBytes : GhostUntetheredFrameBytes;
  for (uint32_t i = 0; i < count; i++) {
    unsigned char frame[GhostFrameBytes];
    if (fread(frame, 1, frameBytes, f) != frameBytes)
      return false;
    GhostFrame* g = &out->frames[i];
    g->timeScale = GetFloat(frame);
    g->x = GetFloat(frame + 4);
    g->y = GetFloat(frame + 8);
    g->anchorX = tethered ? GetShort(frame + 12) : GhostNoAnchor;
    g->anchorY = tethered ? GetShort(frame + 14) : GhostNoAnchor;
    if (!(g->timeScale >= GhostMinTimeScale && g->timeScale <= GhostMaxTimeScale) || !std::isfinite(g->x) ||
        !std::isfinite(g->y) || (g->anchorX == GhostNoAnchor) != (g->anchorY == GhostNoAnchor))
      return false;
  }
  if (getc(f) != EOF)
    return false;
  out->frameCount = (int)count;
  return true;
}

size_t EncodeGhost(const GhostPath* path, unsigned char* out)
{
  int count = path->frameCount;
  if (count < 1 || count > MaxGhostFrames)
    return 0;
  memcpy(out, GhostMagic, sizeof GhostMagic);
  PutWord(out + 4, (uint32_t)GhostVersion);
  PutWord(out + 8, (uint32_t)count);
  unsigned char* p = out + GhostHeaderBytes;
  for (int i = 0; i < count; i++, p += GhostFrameBytes) {
    PutFloat(p, path->frames[i].timeScale);
    PutFloat(p + 4, path->frames[i].x);
    PutFloat(p + 8, path->frames[i].y);
    PutShort(p + 12, path->frames[i].anchorX);
    PutShort(p + 14, path->frames[i].anchorY);
  }
  return (size_t)(p - out);
}

bool LoadGhost(int n, GhostPath* out)
{
  PathBuffer path;
  out->frameCount = 0;
  FILE* f = GhostFileName(path, n) ? fopen(path, "rb") : nullptr;
  if (!f)
    return false;
  bool ok = ReadGhostStream(f, out);
  fclose(f);
  return ok;
}

void ScanGhostFiles()
{
  for (int n = 1; n <= MaxLevels; n++)
    LevelHasGhost[n - 1] = LevelSlotShown(n) && LoadGhost(n, &GhostBest);
  GhostBest.frameCount = 0;
  GhostLevel = 0;
  ResetCursor();
}

void BeginGhostRun(int n, int frames)
{
  GhostTake.frameCount = 0;
  SizeGhost(&GhostTake, frames);
  size_t fileBytes = GhostHeaderBytes + (size_t)GhostFrameBytes * frames;
  if (GhostFileBytes.size() != fileBytes)
    std::vector<unsigned char>(fileBytes).swap(GhostFileBytes);
  GhostClock = 0;
  GhostRecording = true;
  ResetCursor();
  if (GhostLevel != n) {
    GhostLevel = n;
    bool found = n >= 1 && n <= MaxLevels && LoadGhost(n, &GhostBest);
    if (n >= 1 && n <= MaxLevels)
      LevelHasGhost[n - 1] = found;
  }
  SizeGhost(&GhostBest, std::max(frames, GhostBest.frameCount));
}

void RecordGhostFrame(float t)
{
  GhostClock += t;
  if (!GhostRecording || GhostTake.frameCount >= (int)GhostTake.frames.size())
    return;
  GhostFrame* g = &GhostTake.frames[GhostTake.frameCount++];
  g->timeScale = t;
  g->x = Ball.x;
  g->y = Ball.y;
  g->anchorX = Ball.attached ? AnchorSteps(Ball.anchorX) : GhostNoAnchor;
  g->anchorY = Ball.attached ? AnchorSteps(Ball.anchorY) : GhostNoAnchor;
}

bool SaveGhost(int n)
{
  if (n < 1 || n > MaxLevels || GhostTake.frameCount < 1)
    return false;
  PathBuffer path;
  size_t size = EncodeGhost(&GhostTake, GhostFileBytes.data());
  bool saved = GhostFileName(path, n) ? SaveFileBytes(path, GhostFileBytes.data(), size) : SavePathTooLong();
  KeepGhost(n);
  if (saved)
    LevelHasGhost[n - 1] = true;
  return saved;
}

void KeepGhost(int n)
{
  if (GhostBest.frames.size() < GhostTake.frames.size())
    SizeGhost(&GhostBest, (int)GhostTake.frames.size());
  std::copy(GhostTake.frames.begin(), GhostTake.frames.begin() + GhostTake.frameCount, GhostBest.frames.begin());
  GhostBest.frameCount = GhostTake.frameCount;
  GhostLevel = n;
  ResetCursor();
}

void ForgetGhost(int n)
{
  if (GhostLevel == n)
    GhostLevel = 0;
}

bool GhostPositionAt(float clock, float* x, float* y)
{
  const GhostPath& g = GhostBest;
  if (g.frameCount < 1)
    return false;
  if (clock < CursorTime)
    ResetCursor();
  while (Cursor + 1 < g.frameCount && CursorTime + g.frames[Cursor + 1].timeScale <= clock) {
    Cursor++;
    CursorTime += g.frames[Cursor].timeScale;
  }
  if (Cursor < 0) {
    *x = g.frames[0].x;
    *y = g.frames[0].y;
    return true;
  }
  const GhostFrame& a = g.frames[Cursor];
  if (Cursor + 1 == g.frameCount) {
    *x = a.x;
    *y = a.y;
    return clock <= CursorTime;
  }
  const GhostFrame& b = g.frames[Cursor + 1];
  float share = (clock - CursorTime) / b.timeScale;
  *x = a.x + (b.x - a.x) * share;
  *y = a.y + (b.y - a.y) * share;
  return true;
}

bool GhostAnchor(float* x, float* y)
{
  if (GhostBest.frameCount < 1)
    return false;
  const GhostFrame& g = GhostBest.frames[Cursor < 0 ? 0 : Cursor];
  *x = g.anchorX / GhostAnchorSteps;
  *y = g.anchorY / GhostAnchorSteps;
  return g.anchorX != GhostNoAnchor;
}
