// menus: the title screen ("Play", "Edit") and the two level lists, all in
// one keyboard-driven MenuFrame per frame: input first, then drawing.
#pragma once

// Projection centred on the screen, 800 units tall, y down; depth test off.
void ScreenOrtho();

// The input step of a menu frame: cursor, scrolling, state changes, StartLevel.
void MenuInput();

// The drawing step for the screen the frame began on (frameState 0, 1 or 2).
void DrawMenu(int frameState);

// MenuInput, then DrawMenu for the state the frame began in.
void MenuFrame();
