// editor_layout: where the editor's parts lie on screen and how much of the
// level it shows at full size; the editor's modules share these.
#pragma once

#include "game/play/world.h"

const float EditorViewHeight = 12.5f;  // world units shown from top to bottom
const float EditorPanSpeed = 0.1f;     // cells per 60 Hz frame

// Palette of the twelve cell pictures under the top bar, ScreenOrtho units
// of an 800-unit-tall screen (BarTopInWindow moves them in a narrow window).
const float PaletteTop = -240;
const float PaletteCell = 40;          // width and height of one picture
const float PaletteGap = 8;
const float PaletteLeft = -(MapTypeCount * (PaletteCell + PaletteGap) - PaletteGap) * 0.5f;
const float PaintAreaTop = PaletteTop + PaletteCell + 32; // above it (palette frame) clicks never paint
const float PaintAreaBottom = 290;                         // below it the hint bar
