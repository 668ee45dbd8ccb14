// sound_recipes: every sound of the game as a recipe for the synthesiser,
// with the file name the game loads it from (inside Media/sounds/).
#pragma once

#include "sound_synth.h"

struct SoundRecipe {
  const char* file;
  Sound (*make)();
};

extern const SoundRecipe EffectRecipes[];  // one-shot effects and the rolling loop, WAV
extern const int EffectRecipeCount;
extern const SoundRecipe ThemeRecipes[];   // the looping music themes, Ogg Vorbis
extern const int ThemeRecipeCount;
