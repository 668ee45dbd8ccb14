// menus: the title screen ("Play", "Edit", "Quit") and the two level lists,
// all in one MenuFrame per frame: input first, then drawing. The keys move
// the highlight (a list also by a window with Page Up / Down, and to its ends
// with Home / End), the wheel scrolls a list; the mouse pointer lights the
// row it moves onto and a click chooses the row under it. The rows of a list
// are those of game/level_slots, with "New level" last in the edit list,
// where Delete deletes or restores a level (ui/list_delete). In the play list
// a small ghost ball marks the levels with a best run, and G watches the
// highlighted level's best run.
// Also the ScreenOrtho projection and the layout of the 900 x 25 bars that
// the menus, the score bar and the editor share.
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

// The input step of a menu frame: cursor, scrolling, state changes, StartLevel,
// StartWatch.
void MenuInput();

// The drawing step for the screen the frame began on (frameState 0, 1 or 2).
void DrawMenu(int frameState);

// MenuCursor and MenuFirstRow for a screen just opened: the title's first
// entry; in a level list the row of the level last played or edited
// (CurrentLevel), scrolled as little as needed to show it. The list's note goes.
void PlaceMenuCursor();

// MenuInput, then DrawMenu for the state the frame began in.
void MenuFrame();
