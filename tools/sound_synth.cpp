// sound_synth: oscillators, envelopes, noise, drums, echo and the file writers.
#include "sound_synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>

const double TwoPi = 6.283185307179586;
const double HarmonicCeiling = 16000;  // Hz; no partial above this
const int MaxHarmonics = 40;
const double VibratoRate = 5.5;        // Hz
const double VibratoDelay = 0.15;      // seconds before the vibrato sets in
const double MinAttack = 0.001;        // seconds: no note starts with a step
const double MinRelease = 0.004;       // seconds: no note ends with a step
const int EchoPasses = 6;              // passes that settle a wrapped echo
const long OggSerial = 0x7e70b2;       // fixed, so the files are the same on every run

Sound NewSound(double seconds, bool loop)
{
  Sound s;
  s.s.assign((size_t)std::lround(seconds * SampleRate), 0.0f);
  s.loop = loop;
  return s;
}

Sound NewLoop(long samples)
{
  Sound s;
  s.s.assign((size_t)samples, 0.0f);
  s.loop = true;
  return s;
}

double MidiHz(double note)
{
  return 440.0 * std::pow(2.0, (note - 69) / 12);
}

// Smooth quarter-sine rise from 0 to 1 as x goes from 0 to 1.
static double Rise(double x)
{
  if (x <= 0)
    return 0;
  if (x >= 1)
    return 1;
  double s = std::sin(x * TwoPi / 4);
  return s * s;
}

double EnvelopeAt(const Envelope& e, double t, double dur)
{
  double attack = std::max(e.attack, MinAttack);
  double release = std::max(e.release, MinRelease);
  double level = Rise(t / attack);
  if (t > attack && e.decay > 0)
    level *= e.sustain + (1 - e.sustain) * std::exp(-(t - attack) / e.decay);
  return level * Rise((dur - t) / release);
}

// The slot for sample index i, wrapped on a loop; -1 past the end of a one-shot.
static long Slot(const Sound& out, long i)
{
  long n = (long)out.s.size();
  if (out.loop)
    return ((i % n) + n) % n;
  return i >= 0 && i < n ? i : -1;
}

// One sample of the wave at phase ph (radians) and frequency f, band-limited
// by summing harmonics with the sin((k+1)x) = 2cos(x)sin(kx) - sin((k-1)x) recurrence.
static double WaveAt(Wave wave, double ph, double f, double bright)
{
  if (wave == wave_sine)
    return std::sin(ph);
  int count = std::min(MaxHarmonics, (int)(HarmonicCeiling / std::max(f, 1.0)));
  double c2 = 2 * std::cos(ph), prev = 0, cur = std::sin(ph), sum = 0, weight = 1;
  for (int k = 1; k <= count; k++) {
    double a = 0;
    if (wave == wave_saw)
      a = 1.0 / k;
    else if (k % 2 == 1)
      a = wave == wave_square ? 1.0 / k : ((k / 2) % 2 ? -1.0 : 1.0) / (k * k);
    sum += a * weight * cur;
    weight *= bright;
    double next = c2 * cur - prev;
    prev = cur;
    cur = next;
  }
  return wave == wave_triangle ? sum * 8 / 9.8696 : sum * 0.6;
}

void AddTone(Sound* out, const Tone& t)
{
  long first = std::lround(t.start * SampleRate);
  long count = std::lround(t.dur * SampleRate);
  double ph = 0;
  for (long i = 0; i < count; i++) {
    double time = (double)i / SampleRate;
    double f = t.f0 * std::pow(t.f1 / t.f0, time / t.dur);
    if (t.vibrato > 0 && time > VibratoDelay)
      f *= std::pow(2.0, t.vibrato * std::sin(TwoPi * VibratoRate * (time - VibratoDelay)) / 12);
    long slot = Slot(*out, first + i);
    if (slot >= 0)
      out->s[slot] += (float)(t.amp * EnvelopeAt(t.env, time, t.dur) * WaveAt(t.wave, ph, f, t.bright));
    ph += TwoPi * f / SampleRate;
    if (ph > TwoPi)
      ph -= TwoPi;
  }
}

// A fixed linear congruential generator: white noise in -1..1.
static double NextNoise(unsigned* state)
{
  *state = *state * 1664525u + 1013904223u;
  return (double)(*state >> 8) / (double)(1u << 23) - 1.0;
}

static double OnePole(double hz)
{
  return 1 - std::exp(-TwoPi * hz / SampleRate);
}

void AddNoise(Sound* out, const Noise& n, unsigned seed)
{
  long first = std::lround(n.start * SampleRate);
  long count = std::lround(n.dur * SampleRate);
  double lo = 0, lo2 = 0, hiState = 0;
  double hiCoef = OnePole(n.hi);
  for (long i = 0; i < count; i++) {
    double time = (double)i / SampleRate;
    double cutoff = n.lo0 * std::pow(n.lo1 / n.lo0, time / n.dur);
    double a = OnePole(cutoff);
    lo += a * (NextNoise(&seed) - lo);
    lo2 += a * (lo - lo2);                 // two poles: a softer slope
    hiState += hiCoef * (lo2 - hiState);
    double v = lo2 - hiState;
    long slot = Slot(*out, first + i);
    if (slot >= 0)
      out->s[slot] += (float)(n.amp * EnvelopeAt(n.env, time, n.dur) * v);
  }
}

void AddKick(Sound* out, double start, double amp)
{
  AddTone(out, {start, 0.32, 150, 42, wave_sine, amp, {0.001, 0.11, 0, 0.02}});
  AddNoise(out, {start, 0.012, 4000, 2000, 300, amp * 0.6, {0.0005, 0.004, 0, 0.004}}, 7);
}

void AddSnare(Sound* out, double start, double amp, unsigned seed)
{
  AddNoise(out, {start, 0.2, 7000, 3500, 900, amp * 1.6, {0.001, 0.06, 0, 0.03}}, seed);
  AddTone(out, {start, 0.12, 210, 170, wave_triangle, amp * 0.5, {0.001, 0.04, 0, 0.02}});
}

void AddHat(Sound* out, double start, double amp, double length, unsigned seed)
{
  AddNoise(out, {start, length, 15000, 12000, 6500, amp * 3, {0.0008, length * 0.3, 0, length * 0.5}}, seed);
}

void AddEcho(Sound* out, double delay, double gain)
{
  long d = std::lround(delay * SampleRate);
  long n = (long)out->s.size();
  std::vector<float> dry = out->s;
  int passes = out->loop ? EchoPasses : 1;
  for (int p = 0; p < passes; p++)
    for (long i = 0; i < n; i++) {
      long from = Slot(*out, i - d);
      out->s[i] = dry[i] + (from >= 0 ? (float)gain * out->s[from] : 0.0f);
    }
}

void FadeOutEnd(Sound* out, double seconds)
{
  long n = (long)out->s.size(), count = std::min(n, std::lround(seconds * SampleRate));
  for (long i = 0; i < count; i++)
    out->s[n - 1 - i] *= (float)Rise((double)i / count);
}

double Normalize(Sound* out, double peak)
{
  float most = 0;
  for (float v : out->s)
    most = std::max(most, std::fabs(v));
  if (most == 0)
    return 1;
  double scale = peak / most;
  for (float& v : out->s)
    v = (float)(v * scale);
  return scale;
}

static void PutLittle(FILE* f, uint32_t v, int bytes)
{
  for (int i = 0; i < bytes; i++)
    fputc((int)((v >> (8 * i)) & 0xff), f);
}

bool WriteWav(const Sound& sound, const std::string& path)
{
  FILE* f = fopen(path.c_str(), "wb");
  if (!f)
    return false;
  uint32_t bytes = (uint32_t)sound.s.size() * 2;
  fputs("RIFF", f);
  PutLittle(f, 36 + bytes, 4);
  fputs("WAVEfmt ", f);
  PutLittle(f, 16, 4);
  PutLittle(f, 1, 2);                   // PCM
  PutLittle(f, 1, 2);                   // mono
  PutLittle(f, SampleRate, 4);
  PutLittle(f, SampleRate * 2, 4);      // bytes per second
  PutLittle(f, 2, 2);                   // bytes per frame
  PutLittle(f, 16, 2);                  // bits per sample
  fputs("data", f);
  PutLittle(f, bytes, 4);
  for (float v : sound.s) {
    long q = std::lround(std::max(-1.0f, std::min(1.0f, v)) * 32767);
    PutLittle(f, (uint32_t)(int16_t)q, 2);
  }
  return fclose(f) == 0;
}

static bool WritePages(ogg_stream_state* os, FILE* f, bool flush)
{
  ogg_page page;
  while (flush ? ogg_stream_flush(os, &page) : ogg_stream_pageout(os, &page)) {
    if (fwrite(page.header, 1, page.header_len, f) != (size_t)page.header_len ||
        fwrite(page.body, 1, page.body_len, f) != (size_t)page.body_len)
      return false;
  }
  return true;
}

bool WriteOgg(const Sound& sound, const std::string& path, float quality)
{
  const int Block = 1024;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f)
    return false;
  vorbis_info vi;
  vorbis_comment vc;
  vorbis_dsp_state vd;
  vorbis_block vb;
  ogg_stream_state os;
  ogg_packet op, header, comments, codebooks;
  vorbis_info_init(&vi);
  bool ok = vorbis_encode_init_vbr(&vi, 1, SampleRate, quality) == 0;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Tetherorb 2");
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_init(&os, OggSerial);
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ok = ok && WritePages(&os, f, true);
  size_t done = 0;
  bool ended = false;
  while (ok && !ended) {
    size_t count = std::min((size_t)Block, sound.s.size() - done);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&vd, (int)count);
      std::copy(sound.s.begin() + done, sound.s.begin() + done + count, buffer[0]);
      done += count;
    }
    vorbis_analysis_wrote(&vd, (int)count);  // 0 marks the end of the stream
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        ok = ok && WritePages(&os, f, false);
        ended = ended || op.e_o_s;
      }
    }
    if (count == 0 && !ended)
      ended = true;
  }
  ok = ok && WritePages(&os, f, true);
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return fclose(f) == 0 && ok;
}
