// menus: the title screen ("Play", "Edit", "Options", "Quit") and the two level lists,
// all in one MenuFrame per frame: input first, then drawing. The keys move
// the highlight (a list also by a window with Page Up / Down, and to its ends
// with Home / End), the wheel scrolls a list; the mouse pointer lights the
// row it moves onto and a click chooses the row under it. The rows of a list
// are those of game/files/level_slots, with "New level" last in the edit list,
// where Delete deletes or restores a level (ui/list_delete). In the play list
// a small ghost ball marks the levels with a best run, and G watches the
// highlighted level's best run.
#pragma once

// The game's logo across the top of the menus.
void DrawTitleLogo();

// A menu row's panel, thinner than its bar and centred on it; lit for the highlight.
void DrawRowPanel(bool lit, float y);

// "N more above" and "N more below" a list of rows scrolled to MenuFirstRow.
void DrawMoreRows(int rows);

// The input step of a menu frame: cursor, scrolling, state changes, StartLevel,
// StartWatch.
void MenuInput();

// The drawing step for the screen the frame began on (frameState 0, 1 or 2).
void DrawMenu(int frameState);

// MenuCursor and MenuFirstRow for a screen just opened: the title's first
// entry; in a level list the row of the level last played or edited
// (CurrentLevel), scrolled as little as needed to show it. The list's note goes.
void PlaceMenuCursor();

// The keys and the wheel move MenuCursor over a list of rows as in the level
// lists (a row, a window, to either end), keeping it in sight.
void MoveListCursor(int step, int rows);

// The visible row of a list of rows under the mouse pointer, from the window's top; -1 for none.
int PointerListRow(int rows);

// MenuInput, then DrawMenu for the state the frame began in.
void MenuFrame();
