// tetherorb2-art: draws the game's pictures, Media/tetherorb2texture.png,
// Media/dashboard.png and the two fonts' extra glyphs Media/bigglyphs.png and
// Media/smallglyphs.png, the medals Media/medals.png, and its desktop icons
// from code and Debian fonts.
//   tetherorb2-art [output-dir]           writes the five pictures (default Media)
//   tetherorb2-art --preview file.png     also writes mock screens that use them
//   tetherorb2-art --icons dir            also writes dir/tetherorb2-<size>.png
#include "art_pictures.h"
#include "render/medal_set.h"

#include <cstdio>
#include <cstring>

const char* SansFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* MonoFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

int main(int argc, char** argv) {
  std::string outDir = "Media", preview, iconDir;
  for (int i = 1; i < argc; i++) {
    if (!std::strcmp(argv[i], "--preview") && i + 1 < argc)
      preview = argv[++i];
    else if (!std::strcmp(argv[i], "--icons") && i + 1 < argc)
      iconDir = argv[++i];
    else
      outDir = argv[i];
  }
  if (!LoadFont(font_sans, SansFontPath) || !LoadFont(font_mono, MonoFontPath)) {
    std::fprintf(stderr, "tetherorb2-art: cannot load the DejaVu fonts (package fonts-dejavu-core)\n");
    return 1;
  }
  Image atlas = NewImage(AtlasPixels, AtlasPixels);
  Image dash = NewImage(DashboardW, DashboardH);
  Image bigGlyphs = NewImage(BigGlyphsSide, BigGlyphsSide);
  Image smallGlyphs = NewImage(SmallGlyphsW, SmallGlyphsH);
  Image medals = NewImage(MedalCellPixels * MedalPictureCount, MedalCellPixels);
  DrawAtlas(&atlas);
  DrawMedals(&medals);
  DrawDashboard(&dash);
  if (!DrawBigGlyphs(&bigGlyphs) || !DrawSmallGlyphs(&smallGlyphs))
    return 1;
  if (!SaveImage(&atlas, outDir + "/tetherorb2texture.png") || !SaveImage(&dash, outDir + "/dashboard.png") ||
      !SaveImage(&bigGlyphs, outDir + "/" + BigGlyphsFileName) ||
      !SaveImage(&smallGlyphs, outDir + "/" + SmallGlyphsFileName) ||
      !SaveImage(&medals, outDir + "/" + MedalsFileName)) {
    std::fprintf(stderr, "tetherorb2-art: cannot write the pictures into %s\n", outDir.c_str());
    return 1;
  }
  if (!preview.empty()) {
    Image shot = MakePreview(&atlas, &dash);
    if (!SaveImage(&shot, preview)) {
      std::fprintf(stderr, "tetherorb2-art: cannot write %s\n", preview.c_str());
      return 1;
    }
  }
  for (int i = 0; i < IconSizeCount && !iconDir.empty(); i++) {
    Image icon = NewImage(IconSizes[i], IconSizes[i]);
    DrawIcon(&icon);
    std::string path = iconDir + "/tetherorb2-" + std::to_string(IconSizes[i]) + ".png";
    if (!SaveImage(&icon, path)) {
      std::fprintf(stderr, "tetherorb2-art: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
