// random_play: segments of steady input chosen at random, mostly swings.
#include "random_play.h"

static const int PlayWidth = ReplayScreenWidth;     // pixels the aim is chosen in
static const int PlayHeight = ReplayScreenHeight;
static const int SwingShare = 55;                   // percent of segments that shoot the tether
static const int SwingMinFrames = 30, SwingMaxFrames = 240;
static const int LooseMinFrames = 8, LooseMaxFrames = 80;
static const int UpwardShare = 80;                  // percent of shots into the upper half, where ceilings are
static const int StickShare = 20;                   // percent of segments steered part way, as a stick does
static const int JumpShareSwinging = 10;            // percent of segments holding jump
static const int JumpShareLoose = 40;

static unsigned Next(RandomPlay* p)
{
  unsigned long long x = p->state;
  x ^= x << 13;
  x ^= x >> 7;
  x ^= x << 17;
  p->state = x;
  return (unsigned)(x >> 32);
}

// A whole number in lo..hi.
static int Between(RandomPlay* p, int lo, int hi)
{
  return lo + (int)(Next(p) % (unsigned)(hi - lo + 1));
}

static bool Chance(RandomPlay* p, int percent)
{
  return Between(p, 0, 99) < percent;
}

// A full step either way or none, or part of one.
static float SteerAxis(RandomPlay* p, bool stick)
{
  if (stick)
    return (float)Between(p, -1000, 1000) / 1000;
  return (float)Between(p, -1, 1);
}

void StartRandomPlay(RandomPlay* p, unsigned seed)
{
  p->state = 0x9E3779B97F4A7C15ull ^ ((unsigned long long)seed << 1);
  if (p->state == 0)
    p->state = 1;
  p->segmentLeft = 0;
  p->held = PlayControls();
}

// The next segment: a swing (shot now, held throughout) or loose play.
static void ChooseSegment(RandomPlay* p)
{
  PlayControls& c = p->held;
  bool swing = Chance(p, SwingShare);
  bool stick = Chance(p, StickShare);
  c.steerX = SteerAxis(p, stick);
  c.steerY = swing ? SteerAxis(p, stick) : 0;
  c.tether = swing;
  c.tetherShot = swing;
  c.jump = Chance(p, swing ? JumpShareSwinging : JumpShareLoose);
  if (swing) {
    c.aimX = (float)Between(p, 0, PlayWidth - 1);
    c.aimY = (float)Between(p, 0, Chance(p, UpwardShare) ? PlayHeight / 2 : PlayHeight - 1);
  }
  p->segmentLeft = swing ? Between(p, SwingMinFrames, SwingMaxFrames) : Between(p, LooseMinFrames, LooseMaxFrames);
}

float NextRandomFrame(RandomPlay* p, PlayControls* c)
{
  if (p->segmentLeft <= 0)
    ChooseSegment(p);
  *c = p->held;
  p->held.tetherShot = false;   // shot in the segment's first frame only
  p->segmentLeft--;
  return FrameTimeScale(Between(p, MinFrameMs, MaxFrameMs));
}

