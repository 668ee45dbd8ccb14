// scene: one frame of play on screen: background, cells, items, tether, ball,
// aim marker and the score bar. Reads the world; changes nothing in it.
#pragma once

// Projection of the camera's view: viewHeight tall, centred on the camera, y down.
void WorldOrtho();

// Draws the game scene and the HUD; leaves ScreenOrtho in force.
void DrawGameScene();
