// editor: pan over a level, pick a brush and paint cells, save with B.
// The editor changes only MapGrid cells, the Camera, the AimPoint and the
// brush; spawns, pickups and finishes are plain cells until the level starts.
#pragma once

#include "game/world.h"

extern int EditorBrush;                         // MapType that painting writes, 0..11
extern const char* const BrushLabels[MapTypeCount]; // "maptype_nothing" .. "maptype_finish"
extern bool EditorSaveFailed;                   // the last B could not write the file

const float EditorViewHeight = 12.5f;  // world units shown from top to bottom
const float EditorPanSpeed = 0.1f;     // cells per 60 Hz frame

// Pan, aim, brush change, painting and save-and-leave, scaled by timeScale.
void EditorUpdate(float timeScale);

// The level in one pass, the aim marker, the brush bar and the hint bar.
void DrawEditor();

// The brush value brought into 0..11 modulo 12, for any int.
int WrapBrush(int brush);

// The first and last cell index, inside 0..count - 1, whose cell or sprite can
// reach into the view span lo..hi along one axis; false when none can.
bool EditorCellRange(float lo, float hi, int count, int* first, int* last);

// The hint bar's text: the save hint, or the failure note after a failed save.
const char* EditorHintText();
