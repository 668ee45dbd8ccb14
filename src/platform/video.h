// video: SDL's video start, the window with its OpenGL context, and the
// OpenGL state that all drawing starts from. After SetUpVideo the screen
// records hold the real size of the drawing surface.
#pragma once

#include "game/base/screen.h"   // ScreenWidth, ScreenHeight, ScreenDepth, AspectRatio: from the settings, then the real mode

extern float FieldOfView;    // degrees, always 45
extern int DesktopWidth;     // pixels of the screen the game started on; 0 when unknown
extern int DesktopHeight;
extern bool FullScreen;      // the game fills the screen instead of a window

// Process exit codes of a failed video set-up.
const int ExitVideoInitFailed = 1;
const int ExitVideoModeFailed = 3;

// Opens the window and sets the GL state; ends the process with 1 or 3 on failure.
void SetUpVideo();

// A new size or mode while the game runs: the screen records, viewport,
// projection and fixed GL state follow. When the new mode cannot be had, the
// old one is asked for again and false comes back. The GL context may be new
// afterwards (textures lost), on platforms that drop it.
bool ChangeVideoMode(int width, int height, bool fullScreen);
