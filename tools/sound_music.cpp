// sound_music: the two themes. Each is eight bars in C major, rendered into a
// loop buffer a whole number of sixteenth notes long; notes and echoes that
// run past the end wrap to the start, so the theme loops without a seam.
#include "sound_recipes.h"

const int StepsPerBar = 16;        // sixteenth notes
const int Bars = 8;
const double ThemePeak = 0.6;

struct Chord {
  int bass;       // MIDI note of the bass root
  int tones[4];   // MIDI notes of the chord, low to high
};

struct Note {
  int bar, step, length;  // position and length in sixteenths
  int midi;
};

struct Theme {
  long step;      // samples per sixteenth note
  Sound mix;
  double At(int bar, int step) const { return (double)((bar * StepsPerBar + step) * this->step) / SampleRate; }
  double Steps(double n) const { return n * step / SampleRate; }
};

static Theme NewTheme(long samplesPerStep)
{
  Theme t;
  t.step = samplesPerStep;
  t.mix = NewLoop(samplesPerStep * StepsPerBar * Bars);
  return t;
}

static void AddInto(Sound* to, const Sound& from, double gain)
{
  for (size_t i = 0; i < to->s.size(); i++)
    to->s[i] += (float)(gain * from.s[i]);
}

// ---- play: 126 beats a minute, a sixteenth is exactly 5250 samples ----------

static const Chord PlayChords[] = {
  {36, {60, 64, 67, 72}}, {31, {59, 62, 67, 71}}, {33, {60, 64, 69, 72}}, {29, {60, 65, 69, 72}},
  {36, {60, 64, 67, 72}}, {31, {59, 62, 67, 71}}, {29, {60, 65, 69, 72}}, {31, {59, 62, 67, 74}},
};
static_assert(sizeof PlayChords / sizeof PlayChords[0] == Bars, "one entry per Bars");

static const Note PlayMelody[] = {
  {0, 0, 2, 76}, {0, 2, 2, 79}, {0, 4, 4, 84}, {0, 8, 2, 83}, {0, 10, 2, 79}, {0, 12, 4, 76},
  {1, 0, 2, 74}, {1, 2, 2, 79}, {1, 4, 4, 83}, {1, 8, 2, 81}, {1, 10, 2, 79}, {1, 12, 4, 74},
  {2, 0, 2, 72}, {2, 2, 2, 76}, {2, 4, 4, 81}, {2, 8, 2, 79}, {2, 10, 2, 76}, {2, 12, 2, 72}, {2, 14, 2, 76},
  {3, 0, 4, 77}, {3, 4, 2, 81}, {3, 6, 6, 84}, {3, 12, 4, 81},
  {4, 0, 2, 79}, {4, 2, 2, 76}, {4, 4, 2, 79}, {4, 6, 2, 84}, {4, 8, 4, 88}, {4, 12, 4, 86},
  {5, 0, 2, 86}, {5, 2, 2, 83}, {5, 4, 4, 79}, {5, 8, 2, 83}, {5, 10, 2, 86}, {5, 12, 4, 91},
  {6, 0, 2, 81}, {6, 2, 2, 84}, {6, 4, 4, 89}, {6, 8, 2, 88}, {6, 10, 2, 86}, {6, 12, 4, 84},
  {7, 0, 4, 83}, {7, 4, 4, 86}, {7, 8, 4, 86}, {7, 12, 4, 83},
};

static void PlayDrums(Theme* t)
{
  for (int bar = 0; bar < Bars; bar++)
    for (int step = 0; step < StepsPerBar; step++) {
      double at = t->At(bar, step);
      unsigned seed = (unsigned)(bar * StepsPerBar + step + 1);
      if (step % 4 == 0)
        AddKick(&t->mix, at, 0.9);
      if (step == 4 || step == 12)
        AddSnare(&t->mix, at, 0.45, seed);
      if (bar == Bars - 1 && step == 14)
        AddSnare(&t->mix, at, 0.3, seed + 500);
      AddHat(&t->mix, at, step % 4 == 2 ? 0.16 : 0.07, step % 4 == 2 ? 0.09 : 0.04, seed + 1000);
    }
}

static void PlayHarmony(Theme* t)
{
  static const int BassOffsets[8] = {0, 12, 0, 12, 0, 12, 7, 12};
  for (int bar = 0; bar < Bars; bar++) {
    const Chord& c = PlayChords[bar];
    for (int i = 0; i < 8; i++) {
      double f = MidiHz(c.bass + BassOffsets[i]);
      AddTone(&t->mix, {t->At(bar, 2 * i), t->Steps(1.8), f, f, wave_triangle, 0.55, {0.004, 0.12, 0.3, 0.03}});
      AddTone(&t->mix, {t->At(bar, 2 * i), t->Steps(1.8), f, f, wave_square, 0.12, {0.004, 0.06, 0.2, 0.03}, 0, 0.4});
    }
    for (int stab = 2; stab < StepsPerBar; stab += 4)
      for (int k = 0; k < 3; k++) {
        double f = MidiHz(c.tones[k + 1]);
        AddTone(&t->mix, {t->At(bar, stab), t->Steps(1.5), f, f, wave_square, 0.09, {0.003, 0.07, 0, 0.03}, 0, 0.45});
      }
    for (int k = 0; k < 4; k++)
      for (double detune : {-0.06, 0.06}) {
        double f = MidiHz(c.tones[k] + detune);
        AddTone(&t->mix, {t->At(bar, 0), t->Steps(17), f, f, wave_saw, 0.035, {0.08, 0.6, 0.6, 0.15}, 0, 0.35});
      }
  }
}

static Sound PlayTheme()
{
  Theme t = NewTheme(5250);
  PlayDrums(&t);
  PlayHarmony(&t);
  Sound lead = NewLoop((long)t.mix.s.size());
  for (const Note& n : PlayMelody) {
    double f = MidiHz(n.midi);
    AddTone(&lead, {t.At(n.bar, n.step), t.Steps(n.length - 0.2), f, f, wave_square, 0.22,
                    {0.005, 0.2, 0.55, 0.04}, 0.1, 0.5});
    AddTone(&lead, {t.At(n.bar, n.step), t.Steps(n.length - 0.2), f * 2, f * 2, wave_sine, 0.05,
                    {0.005, 0.1, 0.3, 0.04}});
  }
  AddEcho(&lead, t.Steps(3), 0.25);
  AddInto(&t.mix, lead, 1);
  Normalize(&t.mix, ThemePeak);
  return t.mix;
}

// ---- menu: 98 beats a minute, a sixteenth is exactly 6750 samples -----------

static const Chord MenuChords[] = {
  {41, {57, 60, 64, 65}}, {40, {55, 59, 62, 64}}, {38, {57, 60, 62, 65}}, {43, {55, 59, 62, 67}},
  {41, {57, 60, 64, 65}}, {40, {55, 59, 62, 64}}, {38, {57, 60, 62, 65}}, {36, {55, 60, 64, 67}},
};
static_assert(sizeof MenuChords / sizeof MenuChords[0] == Bars, "one entry per Bars");

static const Note MenuMelody[] = {
  {0, 0, 6, 76}, {0, 6, 2, 72}, {0, 8, 8, 81},
  {1, 0, 6, 79}, {1, 6, 2, 76}, {1, 8, 8, 74},
  {2, 0, 6, 77}, {2, 6, 2, 74}, {2, 8, 4, 72}, {2, 12, 4, 74},
  {3, 0, 8, 71}, {3, 8, 8, 74},
  {4, 0, 4, 76}, {4, 4, 4, 79}, {4, 8, 8, 84},
  {5, 0, 6, 83}, {5, 6, 2, 79}, {5, 8, 8, 76},
  {6, 0, 4, 77}, {6, 4, 4, 81}, {6, 8, 4, 79}, {6, 12, 4, 77},
  {7, 0, 12, 76},
};

static Sound MenuTheme()
{
  Theme t = NewTheme(6750);
  Sound arp = NewLoop((long)t.mix.s.size());
  static const int ArpOrder[8] = {0, 1, 2, 3, 2, 1, 2, 3};
  for (int bar = 0; bar < Bars; bar++) {
    const Chord& c = MenuChords[bar];
    for (int k = 0; k < 4; k++)
      for (double detune : {-0.07, 0.07}) {
        double f = MidiHz(c.tones[k] + detune);
        AddTone(&t.mix, {t.At(bar, 0), t.Steps(18), f, f, wave_saw, 0.05, {0.3, 1.2, 0.6, 0.4}, 0, 0.3});
      }
    double low = MidiHz(c.bass);
    AddTone(&t.mix, {t.At(bar, 0), t.Steps(7.5), low, low, wave_triangle, 0.5, {0.01, 0.5, 0.5, 0.1}});
    AddTone(&t.mix, {t.At(bar, 8), t.Steps(7.5), low, low, wave_triangle, 0.4, {0.01, 0.5, 0.5, 0.1}});
    for (int step = 0; step < StepsPerBar; step++) {
      double f = MidiHz(c.tones[ArpOrder[step % 8]] + 12);
      double accent = step % 4 == 0 ? 1.0 : 0.7;
      AddTone(&arp, {t.At(bar, step), t.Steps(2.5), f, f, wave_triangle, 0.16 * accent, {0.002, 0.1, 0, 0.06}});
      if (step % 2 == 0)
        AddHat(&t.mix, t.At(bar, step), step % 4 == 2 ? 0.05 : 0.025, 0.05, (unsigned)(bar * 16 + step + 7));
    }
    AddKick(&t.mix, t.At(bar, 0), 0.35);
    AddKick(&t.mix, t.At(bar, 10), 0.2);
  }
  AddEcho(&arp, t.Steps(3), 0.3);
  AddInto(&t.mix, arp, 1);
  for (const Note& n : MenuMelody) {
    double f = MidiHz(n.midi);
    AddTone(&t.mix, {t.At(n.bar, n.step), t.Steps(n.length + 2), f, f, wave_sine, 0.2, {0.003, 0.5, 0.15, 0.3}});
    AddTone(&t.mix, {t.At(n.bar, n.step), t.Steps(n.length), f * 3, f * 3, wave_sine, 0.04, {0.002, 0.15, 0, 0.1}});
  }
  Normalize(&t.mix, ThemePeak);
  return t.mix;
}

const SoundRecipe ThemeRecipes[] = {
  {"theme_menu.ogg", MenuTheme},
  {"theme_play.ogg", PlayTheme},
};
const int ThemeRecipeCount = sizeof(ThemeRecipes) / sizeof(ThemeRecipes[0]);
