// The assisted runs' sign.
#include "ui/assist_sign.h"

#include "game/base/lang.h"
#include "render/draw.h"

static const float SignTextSize = 0.45f;
static const float SignTextRaise = 2;    // the letter's box top above the frame's
static const float SignTextShift = 5;    // the letter's box left of centre: its glyph is wider than its advance
static const float SignColour[4] = {0.55f, 0.85f, 1.0f, 1};

void DrawAssistSign(float x, float y)
{
  float r = x + AssistSignSize, b = y + AssistSignSize;
  const float frame[] = {x, y, r, y, r, y, r, b, r, b, x, b, x, b, x, y};
  DrawPlainLines(frame, 4, SignColour);
  const char* letter = Tr(N_("A"));   // the first letter of "Assisted" in the language shown
  float width = TextWidth(letter, SignTextSize);
  DrawText(x + (AssistSignSize - width) / 2 - SignTextShift, y - SignTextRaise, letter, SignTextSize);
}
