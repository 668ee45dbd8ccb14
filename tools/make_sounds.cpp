// tetherorb2-sounds: synthesises every sound of the game into Media/sounds/:
// the effects as 16-bit WAV, the two themes as Ogg Vorbis. The output is the
// same on every run, and the committed files are its output.
//   tetherorb2-sounds [output-dir]        (default Media/sounds)
//   tetherorb2-sounds --wav output-dir    also writes the themes as WAV, for listening and measuring
#include "sound_recipes.h"

#include <cstdio>
#include <cstring>
#include <string>

const float ThemeQuality = 0.25f;  // Vorbis quality: about 70 kbit/s for these themes
const double EndFade = 0.01;       // seconds at the end of every one-shot effect

int main(int argc, char** argv)
{
  std::string outDir = "Media/sounds";
  bool themeWavs = false;
  for (int i = 1; i < argc; i++) {
    if (!std::strcmp(argv[i], "--wav"))
      themeWavs = true;
    else
      outDir = argv[i];
  }
  for (int i = 0; i < EffectRecipeCount; i++) {
    std::string path = outDir + "/" + EffectRecipes[i].file;
    Sound effect = EffectRecipes[i].make();
    if (!effect.loop)
      FadeOutEnd(&effect, EndFade);
    if (!WriteWav(effect, path)) {
      std::fprintf(stderr, "tetherorb2-sounds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  for (int i = 0; i < ThemeRecipeCount; i++) {
    std::string path = outDir + "/" + ThemeRecipes[i].file;
    Sound theme = ThemeRecipes[i].make();
    bool written = WriteOgg(theme, path, ThemeQuality);
    if (written && themeWavs)
      written = WriteWav(theme, path.substr(0, path.size() - 4) + ".wav");
    if (!written) {
      std::fprintf(stderr, "tetherorb2-sounds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
