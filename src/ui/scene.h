// scene: one frame of play on screen: background, cells, items, the best
// run's ghost, tether, ball, aim marker and the score bar. Reads the world;
// changes nothing in it.
// The editor draws its view with the same projection, sizes and bars (bars.h).
#pragma once

// Drawn sizes in world units, square.
const float FinishDrawSize = 3.25f;
const float ExtraTimeDrawSize = 0.75f;
const float BallDrawSize = 1.41f;      // a little larger than the 1.2 the ball collides with
const float PointerDrawSize = 2.25f;   // the aim marker

// The camera's view in world units: viewHeight tall, viewHeight x AspectRatio wide.
struct ViewRect {
  float left, right, top, bottom;
};
ViewRect CameraView();

// Projection of the camera's view: viewHeight tall, centred on the camera, y down.
void WorldOrtho();

// AtlasBackground over the whole camera view.
void DrawViewBackground();

// The level through the camera: background, cells, items, the ball and its
// tether over the best run's ghost, the aim marker. While watching a run the
// ball is drawn as the ghost, with its tether, and there is no aim marker.
// Leaves WorldOrtho in force.
void DrawPlayfield(bool watching);

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
