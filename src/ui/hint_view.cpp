// The level banner and the control hints, drawn over play.
#include "ui/hint_view.h"

#include <cstdio>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/utf8.h"
#include "game/files/level_files.h"
#include "game/play/hints.h"
#include "game/run/medals.h"
#include "game/settings/key_bindings.h"
#include "render/draw.h"
#include "ui/bars.h"
#include "ui/scene.h"

static const float HintBottomTop = 325;     // ScreenOrtho units, as the editor's hint bar
static const float HintTopTop = -255;       // below the score bar
static const float BannerTop = -190;        // the banner's panel, inner top
static const float BannerLowTop = 150;      // ... while the ball is behind the usual place
static const float BannerFrame = 12;        // the panel's frame beyond its inner rectangle
static const float BannerNumberSize = 0.55f;
static const float BannerTitleSize = 1.0f;
static const float BannerLineGap = 36;      // from the number's top to the title's
static const float BannerKeysGap = 88;      // from the number's top to the first line's below the title
static const float BannerHeight = 70;
static const float BannerLineStep = 38;     // ... taller by this for each line below the title
static const float GlyphCell = 62;          // a glyph's cell at size 1
static const int NameSize = 64;          // bytes: a key's name with Ctrl+ and Shift+, translated into two-byte letters
static const int HintTextSize = 320;   // bytes: room for a translated line in two-byte letters

static char HintLine[HintTextSize];
static char BannerNumber[32];
static char BannerTitle[TitleSlotSize + 8];
static char BannerKeys[HintTextSize];
static char BannerMedals[HintTextSize];

// "Left" or "Left or A" for a keyboard action, by its two bindings.
static void ActionKeys(int action, char* out, int size)
{
  char a[NameSize], b[NameSize];
  KeyLabel(Bindings.key[action][0], a, NameSize);
  KeyLabel(Bindings.key[action][1], b, NameSize);
  if (a[0] && b[0])
    snprintf(out, size, Tr("%s or %s"), a, b);
  else
    snprintf(out, size, "%s", a[0] ? a : b);
}

// "Left / Right or A / D": the two slots of the steering pair, a slot only
// when both of its keys are bound.
static void SteerKeys(char* out, int size)
{
  char l0[NameSize], r0[NameSize], l1[NameSize], r1[NameSize];
  KeyLabel(Bindings.key[bind_left][0], l0, NameSize);
  KeyLabel(Bindings.key[bind_right][0], r0, NameSize);
  KeyLabel(Bindings.key[bind_left][1], l1, NameSize);
  KeyLabel(Bindings.key[bind_right][1], r1, NameSize);
  bool first = l0[0] && r0[0], second = l1[0] && r1[0];
  if (first && second)
    snprintf(out, size, Tr("%s / %s or %s / %s"), l0, r0, l1, r1);
  else if (first || second)
    snprintf(out, size, "%s / %s", first ? l0 : l1, first ? r0 : r1);
  else
    snprintf(out, size, "%s", Tr("Steer"));
}

static const char* TetherHintLine(int kind)
{
  switch (kind) {
  case hint_tether: return Tr("Jump, hold the left button on a block above you, and let go as you swing up");
  case hint_corner: return Tr("Let go at the top of a swing and hook a block higher up");
  default: return Tr("Let go of the button to fly off the swing");
  }
}

void FormatBannerKeys(char* out, int size)
{
  char restart[2 * NameSize + 8], pause[2 * NameSize + 8];
  ActionKeys(bind_restart, restart, (int)sizeof restart);
  ActionKeys(bind_pause, pause, (int)sizeof pause);
  snprintf(out, size, Tr("%s restarts, %s pauses"), restart[0] ? restart : Tr("nothing"),
           pause[0] ? pause : Tr("nothing"));
}

void FormatHintText(int kind, char* out, int size)
{
  char keys[HintTextSize], jump[2 * NameSize + 8], pad[NameSize];
  bool withPad = Controls.padPresent;
  switch (kind) {
  case hint_roll_jump:
    SteerKeys(keys, (int)sizeof keys);
    ActionKeys(bind_jump, jump, (int)sizeof jump);
    PadButtonLabel(Bindings.padButton[padbind_jump], pad, NameSize);
    if (withPad)
      snprintf(out, size, Tr("%s roll, %s jumps (pad: stick, %s)"), keys, jump[0] ? jump : Tr("nothing"), pad);
    else
      snprintf(out, size, Tr("%s roll, %s jumps"), keys, jump[0] ? jump : Tr("nothing"));
    return;
  case hint_held_jump:
    ActionKeys(bind_jump, jump, (int)sizeof jump);
    PadButtonLabel(Bindings.padButton[padbind_jump], pad, NameSize);
    if (withPad)
      snprintf(out, size, Tr("Hold %s to jump higher (pad: %s)"), jump[0] ? jump : Tr("the jump key"), pad);
    else
      snprintf(out, size, Tr("Hold %s to jump higher"), jump[0] ? jump : Tr("the jump key"));
    return;
  case hint_tether:
  case hint_corner:
  case hint_let_go:
    PadButtonLabel(Bindings.padButton[padbind_tether], pad, NameSize);
    if (withPad)
      snprintf(out, size, Tr("%s (pad: %s)"), TetherHintLine(kind), pad);
    else
      snprintf(out, size, "%s", TetherHintLine(kind));
    return;
  default:
    if (size > 0)
      out[0] = 0;
  }
}

// Text centred on x = 0 with its top at y: each glyph's ink is centred in
// its cell, which is wider than the pen's advance.
static void DrawCentred(const char* text, float y, float size)
{
  float cell = GlyphCell * size, advance = cell * TextAdvanceFactor;
  int n = Utf8Length(text);
  DrawText(-(n - 1) * advance / 2 - cell / 2, y, text, size);
}

// The banner's inner top: its usual place (a taller banner grows upwards, so
// it reaches no nearer the ball's usual rows), or lower while the ball is there.
static float BannerPlace(float height)
{
  float half = ScreenOrthoHalfHeight();
  float usual = BannerTop + BannerHeight - height;
  float top = (half + usual - BannerFrame) / (2 * half);
  float bottom = (half + usual + height + BannerFrame) / (2 * half);
  return BallInBand(top, bottom) ? BannerLowTop : usual;
}

static void DrawBanner(float alpha)
{
  snprintf(BannerNumber, sizeof BannerNumber, Tr("Level %d"), Hint.level);
  int slot = Hint.level - 1;
  const char* title = slot >= 0 && slot < MaxLevels ? LevelTitles[slot] : "";
  snprintf(BannerTitle, sizeof BannerTitle, "%.*s", (int)strcspn(title, "\r\n"), title);
  FitTextToWidth(BannerTitle, BannerMaxWidth, BannerTitleSize);
  BannerKeys[0] = 0;
  if (BannerNamesKeys()) {
    FormatBannerKeys(BannerKeys, HintTextSize);
    FitTextToWidth(BannerKeys, BannerMaxWidth, BannerKeysSize);
  }
  FormatMedalNeeds(slot >= 0 && slot < MaxLevels ? AuthorScore[slot] : 0, BannerMedals, HintTextSize);
  FitTextToWidth(BannerMedals, BannerMaxWidth, BannerKeysSize);
  const char* below[2] = {BannerMedals, BannerKeys};
  float width = MenuBarWidth / 2;
  if (TextWidth(BannerTitle, BannerTitleSize) > width)
    width = TextWidth(BannerTitle, BannerTitleSize);
  float height = BannerHeight;
  for (const char* line : below)
    if (line[0]) {
      height += BannerLineStep;
      if (TextWidth(line, BannerKeysSize) > width)
        width = TextWidth(line, BannerKeysSize);
    }
  float top = BannerPlace(height);
  SetDrawTint(1, 1, 1, alpha);
  DrawPanel(AtlasPanelNormal, -width / 2, top, width, height);
  DrawCentred(BannerNumber, top - MenuTextRaise, BannerNumberSize);
  DrawCentred(BannerTitle, top + BannerLineGap - MenuTextRaise, BannerTitleSize);
  float y = top + BannerKeysGap - MenuTextRaise;
  for (const char* line : below)
    if (line[0]) {
      DrawCentred(line, y, BannerKeysSize);
      y += BannerLineStep;
    }
  SetDrawTint(1, 1, 1, 1);
}

void DrawHints()
{
  float banner = BannerAlpha();
  if (banner > 0)
    DrawBanner(banner);
  float alpha = HintAlpha();
  int place = HintPlaceNow();
  if (alpha <= 0 || place == hintplace_hidden)
    return;
  FormatHintText(Hint.kind, HintLine, HintTextSize);
  SetDrawTint(1, 1, 1, alpha);
  DrawBar(place == hintplace_top ? HintTopTop : HintBottomTop, HintLine);
  SetDrawTint(1, 1, 1, 1);
}
