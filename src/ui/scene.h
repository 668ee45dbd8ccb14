// scene: one frame of play on screen: background, cells, items, tether, ball,
// aim marker and the score bar. Reads the world; changes nothing in it.
#pragma once

// Projection of the camera's view: viewHeight tall, centred on the camera, y down.
void WorldOrtho();

// Draws the game scene and the HUD; leaves ScreenOrtho in force.
void DrawGameScene();

// A block of cells: columns x0..x1-1 and rows y0..y1-1.
struct CellRange {
  int x0, x1;
  int y0, y1;
};

// The cells of the level that the camera's view can show: every cell that
// intersects the view is inside, and the range never leaves the level.
CellRange ViewCellRange();

// The score shown for a time left: the ceiling of LevelTimer, as a whole number.
int ScoreShown(float levelTimer);
