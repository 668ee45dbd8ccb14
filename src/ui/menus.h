// menus: the title screen ("Play", "Edit", "Options", "Quit") and the two level lists,
// all in one MenuFrame per frame: input first, then drawing. The keys move
// the highlight (a list also by a window with Page Up / Down, and to its ends
// with Home / End), the wheel scrolls a list; the mouse pointer lights the
// row it moves onto and a click chooses the row under it. The rows of a list
// are those of game/level_slots, with "New level" last in the edit list,
// where Delete deletes or restores a level (ui/list_delete). In the play list
// a small ghost ball marks the levels with a best run, and G watches the
// highlighted level's best run.
#pragma once

// A level list's lines of small text, in ScreenOrtho units: the heading with
// "12 more above" at its right, the footer's "Press B to go back" with
// "12 more below" at its left, and the watch hint under them.
const float HeadingX = -450;
const float MoreAboveRight = 450;
const float FooterRight = 450;
const float MoreBelowLeft = -450;
const float SmallTextSize = 0.6f;
const float WatchHintSize = 0.5f;

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
