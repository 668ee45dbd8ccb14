// bars: the ScreenOrtho projection and the layout of the 900 x 25 bars that
// the menus, the score bar, a watched run's bar, the hints and the editor
// share, and the drawing of one such bar with its text.
#pragma once

// A bar or menu row in ScreenOrtho units: the inner rectangle of its panel,
// and its text, which starts a little left of the panel's inside.
const float MenuBarLeft = -450;
const float MenuBarWidth = 900;
const float MenuBarHeight = 25;
const float MenuTextLeft = -455;
const float MenuTextRaise = 7.5f;   // text top above the bar's inner top
const float MenuTextSize = 0.65f;

const float ScreenHalfHeight = 400;   // ScreenOrtho units from the centre to the top edge in a wide window

// Projection centred on the screen, y down, depth test off: 800 units tall,
// or taller when the window is too narrow for a whole bar, so every bar fits
// the width.
void ScreenOrtho();

// Units from the centre to the top edge in ScreenOrtho: 400, or more in a narrow window.
float ScreenOrthoHalfHeight();

const float TopBarTop = -350;          // the score and brush bars across the top, ScreenOrtho units

// Where something laid out at top for an 800-unit-tall ScreenOrtho goes in
// this window: above the centre as far from the top edge, below it as far
// from the bottom edge.
float BarTopInWindow(float top);

// A normal panel bar across the screen with its inner top at top (ScreenOrtho),
// and the text in it at the menus' size, smaller when longer than textWidth.
// In a narrow window a bar above the centre stays as far from the top edge
// as in an 800-unit-tall screen, one below as far from the bottom edge.
void DrawBar(float top, const char* text, float textWidth = MenuBarWidth);
