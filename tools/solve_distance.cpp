// solve_distance: the path distance from each cell to the nearest finish.
#include "solve_distance.h"

#include "game/play/world.h"

#include <cmath>
#include <queue>
#include <vector>

static const float DiagonalCost = 1.41421356f;

static std::vector<float> DistanceField;   // by x * LevelHeight + y

static bool BallCanEnter(int x, int y) {
  int c = CellAt(x, y);
  return c != maptype_blocknormal && c != maptype_blocknoswing && c != maptype_blockharmful;
}

// Dijkstra over the cells the ball may occupy, from every finish cell.
void BuildDistanceField() {
  int w = LevelWidth, h = LevelHeight;
  DistanceField.assign((size_t)w * h, Unreachable);
  typedef std::pair<float, int> Step;
  std::priority_queue<Step, std::vector<Step>, std::greater<Step>> open;
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h; y++)
      if (CellAt(x, y) == maptype_finish) {
        DistanceField[x * h + y] = 0;
        open.push(Step(0, x * h + y));
      }
  while (!open.empty()) {
    Step s = open.top();
    open.pop();
    int x = s.second / h, y = s.second % h;
    if (s.first > DistanceField[s.second])
      continue;
    for (int dx = -1; dx <= 1; dx++)
      for (int dy = -1; dy <= 1; dy++) {
        int nx = x + dx, ny = y + dy;
        if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= w || ny >= h || !BallCanEnter(nx, ny))
          continue;
        if (dx != 0 && dy != 0 && (!BallCanEnter(x + dx, y) || !BallCanEnter(x, y + dy)))
          continue;
        float d = s.first + (dx != 0 && dy != 0 ? DiagonalCost : 1);
        if (d < DistanceField[nx * h + ny]) {
          DistanceField[nx * h + ny] = d;
          open.push(Step(d, nx * h + ny));
        }
      }
  }
}

float DistanceAt(float px, float py) {
  int x = (int)floorf(px), y = (int)floorf(py);
  if (x < 0 || y < 0 || x >= LevelWidth || y >= LevelHeight)
    return Unreachable;
  return DistanceField[x * LevelHeight + y];
}
