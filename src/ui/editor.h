// editor: pan over a level, pick a brush and paint cells, save with B.
#pragma once

#include "game/world.h"

extern int EditorBrush;                         // MapType that painting writes, 0..11
extern const char* BrushLabels[MapTypeCount];   // "maptype_nothing" .. "maptype_finish"
extern bool EditorSaveFailed;                   // the last B could not write the file

// Pan, aim, brush change, painting and save-and-leave, scaled by timeScale.
void EditorUpdate(float timeScale);

// The level in one pass, the aim marker, the brush bar and the hint bar.
void DrawEditor();
