// The program-wide screen record and the requests that change it.
#include "game/base/screen.h"

int GameState;
int ScreenRequest = NoScreenRequest;
int MenuCursor;
int MenuFirstRow;
bool QuitRequested;

float ScreenWidth;
float ScreenHeight;
float AspectRatio;
int ScreenDepth;

void RequestScreen(int screen)
{
  ScreenRequest = screen;
}

int NextScreen()
{
  return ScreenRequest != NoScreenRequest ? ScreenRequest : GameState;
}

bool ApplyScreenRequest()
{
  if (ScreenRequest == NoScreenRequest)
    return false;
  bool changed = ScreenRequest != GameState;
  GameState = ScreenRequest;
  ScreenRequest = NoScreenRequest;
  return changed;
}

void ShowScreen(int screen)
{
  GameState = screen;
  ScreenRequest = NoScreenRequest;
}
