// sound_synth: the small offline synthesiser behind the sound generator.
// Sounds are mixed into float buffers (mono, 44100 Hz, -1..1) from tones with
// pitch glides and envelopes, filtered noise and simple drums, then written as
// 16-bit WAV files or handed to the Vorbis encoder. Everything is
// deterministic: the noise comes from a fixed generator, never the clock.
#pragma once

#include <string>
#include <vector>

const int SampleRate = 44100;

// A mono float buffer. Loop buffers wrap: a note running past the end
// continues at the start, so the ends join without a seam.
struct Sound {
  std::vector<float> s;
  bool loop = false;
};

enum Wave { wave_sine, wave_triangle, wave_square, wave_saw };

// How a note's loudness moves: rises in attack seconds, then falls by
// exp(-t / decay) toward sustain (a share of the peak), and fades out over
// release seconds at the note's end. Every note starts and ends at zero.
struct Envelope {
  double attack, decay, sustain, release;
};

// A tone from start (seconds) lasting dur: the pitch glides exponentially
// from f0 to f1 Hz, harmonics stay below 16 kHz, vibrato depth is in
// semitones at 5.5 Hz after the first 0.15 s.
struct Tone {
  double start, dur;
  double f0, f1;
  Wave wave;
  double amp;
  Envelope env;
  double vibrato = 0;
  double bright = 1;  // 0..1: how strong the upper harmonics are
};

// Noise from start lasting dur through a resonant-free band: one-pole
// low-pass at lo0 -> lo1 Hz and high-pass at hi Hz.
struct Noise {
  double start, dur;
  double lo0, lo1, hi;
  double amp;
  Envelope env;
};

Sound NewSound(double seconds, bool loop = false);
Sound NewLoop(long samples);
double MidiHz(double note);
double EnvelopeAt(const Envelope& e, double t, double dur);
void AddTone(Sound* out, const Tone& t);
void AddNoise(Sound* out, const Noise& n, unsigned seed);

// Drum voices at start seconds, peak amp.
void AddKick(Sound* out, double start, double amp);
void AddSnare(Sound* out, double start, double amp, unsigned seed);
void AddHat(Sound* out, double start, double amp, double length, unsigned seed);

// Feedback echo (delay seconds, gain per repeat); on a loop it wraps round.
void AddEcho(Sound* out, double delay, double gain);

// Fades the last seconds of a one-shot smoothly to silence (echo tails end there).
void FadeOutEnd(Sound* out, double seconds);

// Scales so the largest sample is peak; returns the scale used.
double Normalize(Sound* out, double peak);

// 16-bit PCM mono WAV at SampleRate; false when the file cannot be written.
bool WriteWav(const Sound& sound, const std::string& path);

// Ogg Vorbis, mono, variable bit rate at the given quality (-0.1..1), with a
// fixed stream serial so the bytes are the same on every run.
bool WriteOgg(const Sound& sound, const std::string& path, float quality);
