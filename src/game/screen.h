// screen: the size of the drawing surface as the game sees it. The video
// module writes it when the window opens, is resized or changes mode (and a
// replay writes its recorded size); play, menus, editor and pause only read it.
#pragma once

extern float ScreenWidth;    // pixels
extern float ScreenHeight;   // pixels
extern float AspectRatio;    // ScreenWidth / ScreenHeight
