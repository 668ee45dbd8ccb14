// The program-wide screen-size record.
#include "game/screen.h"

float ScreenWidth;
float ScreenHeight;
float AspectRatio;
