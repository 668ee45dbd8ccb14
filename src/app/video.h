// video: SDL's video start, the window with its OpenGL context, and the
// OpenGL state that all drawing starts from. After SetUpVideo the screen
// records hold the real size of the drawing surface.
#pragma once

extern float ScreenWidth;    // pixels; from the settings, then from the real mode
extern float ScreenHeight;   // pixels
extern int ScreenDepth;      // bits per pixel
extern float AspectRatio;    // ScreenWidth / ScreenHeight
extern float FieldOfView;    // degrees, always 45

// Process exit codes of a failed video set-up.
const int ExitVideoInitFailed = 1;
const int ExitVideoModeFailed = 3;

// Opens the window and sets the GL state; ends the process with 1 or 3 on failure.
void SetUpVideo();
