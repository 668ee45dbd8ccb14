// Set-up shared by the headless tests of play: an empty level with the ball at
// rest, an 800 x 600 window, no input, level 1 in play.
#pragma once

#include <cstring>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/play/world.h"
#include "game/run/update.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "test_support.h"

// An empty w x h level, no items, the ball released at rest at (x, y) with
// gravity Down, the camera on it at play height, the pointer centred, the
// timer full and GameState at play.
inline void ResetPlay(int w, int h, float x, float y)
{
  memset(MapGrid, 0, sizeof(MapGrid));
  LevelWidth = w;
  LevelHeight = h;
  ItemCount = 0;
  memset(&Ball, 0, sizeof(Ball));
  Ball.x = x;
  Ball.y = y;
  Ball.anchorX = Ball.anchorY = -10;
  Ball.gravity = GravityDown;
  memset(&InputState, 0, sizeof(InputState));
  memset(&Controls, 0, sizeof(Controls));
  ScreenWidth = 800;
  ScreenHeight = 600;
  AspectRatio = ScreenWidth / ScreenHeight;
  InputState.MouseX = 400;
  InputState.MouseY = 300;
  Camera.camX = x;
  Camera.camY = y;
  Camera.viewHeight = PlayViewHeight;
  Camera.leads = true;   // as a run's start leaves it
  Camera.leadX = Camera.leadY = 0;
  LevelTimer = LevelTimeAtStart;
  TrailTimer = 0;
  CurrentLevel = 1;
  ShowScreen(gamestate_playing);
}

// Solid blocks of the given type all round the edge of the level.
inline void WallIn(int type)
{
  for (int x = 0; x < LevelWidth; x++) {
    SetCell(x, 0, type);
    SetCell(x, LevelHeight - 1, type);
  }
  for (int y = 0; y < LevelHeight; y++) {
    SetCell(0, y, type);
    SetCell(LevelWidth - 1, y, type);
  }
}

// One frame of play as the game runs it: controls from InputState, then the
// step; a key or button pressed this frame is held in the next.
inline void StepPlay(float t)
{
  ReadControls(DefaultBindings);
  UpdateGame(t);
  AgeKeys();
  AgeButtons();
}
