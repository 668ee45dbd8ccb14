// collision: the geometry of a circle among unit-square cells. Pure functions
// of their arguments and MapGrid; a push changes only the position it is given.
#pragma once

// Euclidean distance, each step rounded to single precision.
float Distance(float ax, float ay, float bx, float by);

// Moves the circle out of the box along one axis when its centre lies beside a face.
void PushOutOfFace(float& X, float& Y, float r, float bx, float bw, float by, float bh);

// Moves the circle directly away from the box's nearest point when closer than r.
void PushOutOfCorner(float& X, float& Y, float r, float bx, float bw, float by, float bh);

// Pushes the circle out of the normal and noswing blocks of the 3 x 3 window around it.
void CollideSolid(float& X, float& Y, float r);

// CollideSolid, and then a centre it left inside a solid cell (a move longer
// than r, or the tether pulling into a wall) goes back out through the face
// the move from (fromX, fromY) came in by (else the nearest open face) and
// is pushed again.
void CollideSolidFrom(float& X, float& Y, float r, float fromX, float fromY);

// True when the circle overlaps a harmful block, by the same pushes; moves nothing.
bool TouchesHarmful(float X, float Y, float r);
