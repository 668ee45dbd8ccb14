// sound_effects: the recipes of the effects. Bright and short: every sound is
// over in well under a second, peaks stay below full scale, and the louder
// the event matters to the player the higher its peak.
#include "sound_recipes.h"

#include <cmath>

// Peaks: the most important cues loudest, interface clicks softest.
const double PeakOutcome = 0.72;
const double PeakAction = 0.6;
const double PeakInterface = 0.42;

static Sound Attach()
{
  Sound s = NewSound(0.13);
  AddNoise(&s, {0, 0.045, 9000, 3000, 1500, 0.6, {0.001, 0.012, 0, 0.01}}, 11);
  AddTone(&s, {0, 0.06, 700, 1500, wave_square, 0.35, {0.002, 0.03, 0, 0.02}, 0, 0.6});
  AddTone(&s, {0.025, 0.1, 1800, 1760, wave_sine, 0.3, {0.001, 0.03, 0, 0.03}});
  Normalize(&s, PeakAction);
  return s;
}

static Sound Release()
{
  Sound s = NewSound(0.1);
  AddTone(&s, {0, 0.1, 900, 380, wave_triangle, 0.5, {0.002, 0.04, 0, 0.03}});
  AddNoise(&s, {0, 0.03, 5000, 2000, 1000, 0.2, {0.001, 0.01, 0, 0.01}}, 12);
  Normalize(&s, PeakAction * 0.7);
  return s;
}

static Sound Jump()
{
  Sound s = NewSound(0.16);
  AddTone(&s, {0, 0.16, 260, 640, wave_square, 0.5, {0.003, 0.08, 0.3, 0.05}, 0, 0.55});
  AddTone(&s, {0, 0.16, 130, 320, wave_sine, 0.3, {0.003, 0.08, 0.3, 0.05}});
  Normalize(&s, PeakAction);
  return s;
}

static Sound Land()
{
  Sound s = NewSound(0.2);
  AddTone(&s, {0, 0.2, 140, 48, wave_sine, 1, {0.001, 0.06, 0, 0.06}});
  AddTone(&s, {0, 0.09, 95, 60, wave_triangle, 0.4, {0.001, 0.03, 0, 0.03}});
  AddNoise(&s, {0, 0.05, 1500, 300, 60, 0.9, {0.0005, 0.012, 0, 0.02}}, 13);
  Normalize(&s, PeakOutcome);
  return s;
}

static Sound Pickup()
{
  Sound s = NewSound(0.34);
  AddTone(&s, {0, 0.075, MidiHz(84), MidiHz(84), wave_square, 0.4, {0.001, 0.05, 0.4, 0.01}, 0, 0.5});
  AddTone(&s, {0.065, 0.27, MidiHz(91), MidiHz(91), wave_square, 0.4, {0.001, 0.09, 0, 0.1}, 0, 0.45});
  AddTone(&s, {0.065, 0.27, MidiHz(103), MidiHz(103), wave_sine, 0.12, {0.001, 0.06, 0, 0.1}});
  Normalize(&s, PeakAction);
  return s;
}

static Sound Harm()
{
  Sound s = NewSound(0.45);
  AddTone(&s, {0, 0.45, 520, 70, wave_saw, 0.6, {0.001, 0.15, 0, 0.1}, 0.6, 0.8});
  AddNoise(&s, {0, 0.32, 6000, 400, 100, 0.7, {0.001, 0.08, 0, 0.1}}, 14);
  Normalize(&s, PeakOutcome);
  return s;
}

static Sound Tick()
{
  Sound s = NewSound(0.06);
  AddTone(&s, {0, 0.06, 1760, 1760, wave_sine, 0.6, {0.0005, 0.012, 0, 0.02}});
  AddTone(&s, {0, 0.06, 880, 880, wave_triangle, 0.5, {0.0005, 0.02, 0, 0.02}});
  AddNoise(&s, {0, 0.01, 12000, 8000, 3000, 0.3, {0.0005, 0.003, 0, 0.004}}, 15);
  Normalize(&s, PeakInterface * 1.2);
  return s;
}

static Sound Timeout()
{
  Sound s = NewSound(0.75);
  AddTone(&s, {0, 0.24, MidiHz(71), MidiHz(70), wave_square, 0.5, {0.005, 0.2, 0.5, 0.05}, 0, 0.5});
  AddTone(&s, {0.26, 0.49, MidiHz(67), MidiHz(63), wave_square, 0.5, {0.005, 0.25, 0.4, 0.15}, 0.15, 0.5});
  AddTone(&s, {0.26, 0.49, MidiHz(55), MidiHz(51), wave_triangle, 0.35, {0.005, 0.25, 0.4, 0.15}});
  Normalize(&s, PeakOutcome);
  return s;
}

static Sound Finish()
{
  Sound s = NewSound(1.0);
  const int notes[] = {72, 76, 79, 84};
  for (int i = 0; i < 4; i++) {
    bool last = i == 3;
    double start = 0.07 * i, dur = last ? 0.55 : 0.13;
    Envelope env = last ? Envelope{0.002, 0.25, 0.3, 0.22} : Envelope{0.002, 0.1, 0.25, 0.05};
    AddTone(&s, {start, dur, MidiHz(notes[i]), MidiHz(notes[i]), wave_square, 0.4, env, last ? 0.12 : 0, 0.55});
    AddTone(&s, {start, dur, MidiHz(notes[i] + 12), MidiHz(notes[i] + 12), wave_sine, 0.15, env});
  }
  AddEcho(&s, 0.09, 0.25);
  Normalize(&s, PeakOutcome * 0.9);
  return s;
}

// Enters after the finish arpeggio has climbed, in the same key, so the two
// sound as one fanfare.
static Sound Best()
{
  Sound s = NewSound(1.45);
  const double entry = 0.34, step = 0.085;
  for (int i = 0; i < 3; i++)
    AddTone(&s, {entry + step * i, 0.08, MidiHz(79), MidiHz(79), wave_saw, 0.35, {0.006, 0.05, 0.5, 0.02}, 0, 0.6});
  const int chord[] = {72, 76, 79, 84};
  for (int n : chord)
    AddTone(&s, {entry + step * 3, 0.85, MidiHz(n), MidiHz(n), wave_saw, 0.25, {0.02, 0.4, 0.45, 0.3}, 0.18, 0.65});
  const int sparkle[] = {91, 96, 100, 103};
  for (int i = 0; i < 4; i++)
    AddTone(&s, {entry + step * 3 + 0.05 * i, 0.3, MidiHz(sparkle[i]), MidiHz(sparkle[i]), wave_sine, 0.12, {0.001, 0.08, 0, 0.1}});
  AddEcho(&s, 0.11, 0.2);
  Normalize(&s, PeakAction);
  return s;
}

static Sound MenuMove()
{
  Sound s = NewSound(0.045);
  AddTone(&s, {0, 0.045, 1320, 1320, wave_sine, 0.6, {0.001, 0.015, 0, 0.015}});
  AddTone(&s, {0, 0.045, 2640, 2640, wave_sine, 0.12, {0.001, 0.008, 0, 0.015}});
  Normalize(&s, PeakInterface);
  return s;
}

// Two quick notes: up for a choice, down for going back.
static Sound TwoNotes(double first, double second, double peak)
{
  Sound s = NewSound(0.15);
  AddTone(&s, {0, 0.055, first, first, wave_square, 0.4, {0.001, 0.03, 0.3, 0.01}, 0, 0.5});
  AddTone(&s, {0.045, 0.105, second, second, wave_square, 0.4, {0.001, 0.045, 0, 0.04}, 0, 0.5});
  Normalize(&s, peak);
  return s;
}

static Sound MenuChoose() { return TwoNotes(MidiHz(76), MidiHz(83), PeakInterface * 1.15); }
static Sound MenuBack() { return TwoNotes(MidiHz(83), MidiHz(76), PeakInterface); }

// A breath of filtered noise with a gliding note: down as the game stops, up as it goes on.
static Sound Whoosh(double lo0, double lo1, double f0, double f1)
{
  Sound s = NewSound(0.24);
  AddNoise(&s, {0, 0.24, lo0, lo1, 200, 0.8, {0.03, 0.12, 0.3, 0.08}}, 16);
  AddTone(&s, {0, 0.22, f0, f1, wave_triangle, 0.3, {0.01, 0.1, 0.3, 0.08}});
  Normalize(&s, PeakInterface * 1.1);
  return s;
}

static Sound PauseOpen() { return Whoosh(6000, 600, MidiHz(72), MidiHz(67)); }
static Sound PauseClose() { return Whoosh(600, 6000, MidiHz(67), MidiHz(72)); }

static Sound Screenshot()
{
  Sound s = NewSound(0.16);
  AddNoise(&s, {0, 0.02, 9000, 6000, 2000, 0.8, {0.0005, 0.005, 0, 0.01}}, 17);
  AddNoise(&s, {0.07, 0.03, 7000, 4000, 1500, 0.7, {0.0005, 0.008, 0, 0.015}}, 18);
  AddTone(&s, {0.07, 0.09, 2000, 2000, wave_sine, 0.15, {0.001, 0.03, 0, 0.03}});
  Normalize(&s, PeakAction * 0.9);
  return s;
}

static Sound Brush()
{
  Sound s = NewSound(0.04);
  AddTone(&s, {0, 0.04, 900, 1300, wave_sine, 0.6, {0.001, 0.012, 0, 0.012}});
  Normalize(&s, PeakInterface * 0.85);
  return s;
}

static Sound Paint()
{
  Sound s = NewSound(0.035);
  AddNoise(&s, {0, 0.035, 3000, 1500, 400, 0.8, {0.001, 0.008, 0, 0.012}}, 19);
  AddTone(&s, {0, 0.03, 520, 480, wave_sine, 0.25, {0.001, 0.008, 0, 0.01}});
  Normalize(&s, PeakInterface * 0.7);
  return s;
}

static Sound Save()
{
  Sound s = NewSound(0.42);
  AddTone(&s, {0, 0.2, MidiHz(88), MidiHz(88), wave_sine, 0.5, {0.001, 0.08, 0, 0.06}});
  AddTone(&s, {0, 0.2, MidiHz(100), MidiHz(100), wave_sine, 0.1, {0.001, 0.04, 0, 0.06}});
  AddTone(&s, {0.08, 0.34, MidiHz(95), MidiHz(95), wave_sine, 0.5, {0.001, 0.12, 0, 0.12}});
  AddTone(&s, {0.08, 0.34, MidiHz(107), MidiHz(107), wave_sine, 0.1, {0.001, 0.06, 0, 0.1}});
  Normalize(&s, PeakAction * 0.85);
  return s;
}

static Sound SaveFailed()
{
  Sound s = NewSound(0.27);
  for (int i = 0; i < 2; i++)
    AddTone(&s, {0.15 * i, 0.11, 150, 146, wave_square, 0.5, {0.003, 0.06, 0.5, 0.02}, 0, 0.6});
  Normalize(&s, PeakAction * 0.85);
  return s;
}

// Two soft bell notes, rising: the card is ready for a key.
static Sound Results()
{
  Sound s = NewSound(0.36);
  AddTone(&s, {0, 0.16, MidiHz(79), MidiHz(79), wave_sine, 0.5, {0.002, 0.07, 0, 0.06}});
  AddTone(&s, {0, 0.16, MidiHz(91), MidiHz(91), wave_triangle, 0.12, {0.002, 0.04, 0, 0.05}});
  AddTone(&s, {0.09, 0.27, MidiHz(84), MidiHz(84), wave_sine, 0.5, {0.002, 0.1, 0, 0.1}});
  AddTone(&s, {0.09, 0.27, MidiHz(96), MidiHz(96), wave_triangle, 0.12, {0.002, 0.05, 0, 0.08}});
  Normalize(&s, PeakInterface);
  return s;
}

// A bumpy low rumble, one second long, that loops sample for sample: the
// noise runs twice round the buffer with a cross-fade, and the bumps repeat
// a whole number of times.
static Sound Roll()
{
  const double length = 1.0, bumps = 9;
  Sound s = NewLoop((long)(length * SampleRate));
  AddNoise(&s, {0, 2 * length, 320, 320, 45, 1.0, {length, 0, 1, length}}, 20);
  AddNoise(&s, {0, 2 * length, 1400, 1400, 500, 0.25, {length, 0, 1, length}}, 21);
  for (size_t i = 0; i < s.s.size(); i++) {
    double phase = bumps * (double)i / s.s.size();
    s.s[i] *= (float)(0.75 + 0.25 * std::sin(6.283185307179586 * phase));
  }
  Normalize(&s, PeakAction);
  return s;
}

const SoundRecipe EffectRecipes[] = {
  {"attach.wav", Attach},         {"release.wav", Release},
  {"jump.wav", Jump},             {"land.wav", Land},
  {"pickup.wav", Pickup},         {"harm.wav", Harm},
  {"tick.wav", Tick},             {"timeout.wav", Timeout},
  {"finish.wav", Finish},         {"best.wav", Best},
  {"menu_move.wav", MenuMove},    {"menu_choose.wav", MenuChoose},
  {"menu_back.wav", MenuBack},    {"pause_open.wav", PauseOpen},
  {"pause_close.wav", PauseClose},{"screenshot.wav", Screenshot},
  {"brush.wav", Brush},           {"paint.wav", Paint},
  {"save.wav", Save},             {"save_failed.wav", SaveFailed},
  {"results.wav", Results},
  {"roll.wav", Roll},
};
const int EffectRecipeCount = sizeof(EffectRecipes) / sizeof(EffectRecipes[0]);
