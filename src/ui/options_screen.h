// options_screen: the options screen, opened by the title's "Options" (its
// own screen) or the pause layer's (over the frozen frame, the layer coming
// back when it closes). A scrolled list of the rows of game/settings/options.h: Up and
// Down (keys, D-pad, stick, wheel, Page Up / Down, Home / End) light a row,
// Left and Right change a value or light a column of a control row, the
// choose key (or the pad's A, or a click) flips a switch or waits for the
// key or button to bind, B (or the pad's B) goes back; over the pause layer
// Escape goes back too. The pointer lights the cell it moves onto; a click on
// the left half of a value turns it down, on the right half up. A line at
// the foot says what is waited for, why a change was not kept, or that every
// option is back to its default.
#pragma once

// The input step: moves, changes and the key chosen for a binding.
void OptionsInput();

// The foot line's text: what is waited for, why a change was not kept, that
// the defaults are back, or how to go back.
void OptionsFootText(char* out, int size);

// The list, its heading and its foot line.
void DrawOptions();

// OptionsInput, then DrawOptions: a frame of the options screen.
void OptionsFrame();
