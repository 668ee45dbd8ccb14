// solve_distance: the search's guide, the path distance from each cell of the
// level to the nearest finish over the cells the ball may occupy (a diagonal
// step only between two open cells).
//   Unreachable                  the distance of a cell no finish can be reached from
//   BuildDistanceField()         measures every cell of the level in play (Dijkstra from every finish)
//   DistanceAt(px, py)           the distance of the cell at world point (px, py); Unreachable outside
#pragma once

const float Unreachable = 1e6f;      // distance of a cell no finish can be reached from

void BuildDistanceField();
float DistanceAt(float px, float py);
