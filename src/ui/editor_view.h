// editor_view: how much of the level the editor shows, and where. The zoom
// runs from cells at full size (EditorViewHeight, today's) out to the whole
// level in the paint area; the wheel and the zoom keys zoom around the
// pointer, the lists' home key shows the whole level and the cells key goes
// back to full size. A level larger than the view gets an overview map in
// the lower right corner with the view's rectangle; a click or drag on it
// moves the view there. Owns the editor's zoom; the Camera is the world's.
#pragma once

const float EditorZoomStep = 1.25f;       // view height factor of one wheel step or key press
const float EditorWholeMargin = 1.04f;    // the whole level leaves this much room round it
const float PictureBelowPixels = 12;      // cells smaller than this are drawn from the cell picture
const float GridBelowPixels = 6;          // and the grid is left out below this
const float OverviewRoom = 170;           // ScreenOrtho units of the overview's longer side
const float OverviewMargin = 10;          // from the window's right edge and the hint bar

extern float EditorZoomHeight;   // the view's height in cells, EditorViewHeight .. EditorWholeHeight()

// The view height that shows the whole level inside the paint area.
float EditorWholeHeight();

// Cells at full size again (a level just opened).
void ResetEditorView();

// The frame's zoom: wheel steps and zoom keys around the pointer, the whole
// level, cells at full size.
void EditorZoomKeys();

// Window pixels of one cell at the zoom in force.
float EditorCellPixels();

// True when ScreenOrtho point (x, y) is on the overview map, when it shows.
bool OverviewAt(float x, float y);

// A press on the overview map, held or dragged, moves the view there: true
// while the left button went down on it and is still held.
bool OverviewMouse(float x, float y);

// The level's cells for the view: from the cell picture when they are small.
bool EditorDrawsPicture();

// The overview map, when the level is larger than the view (ScreenOrtho in force).
void DrawOverview();
