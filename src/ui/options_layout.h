// options_layout: where the options screen's heading, rows, cells, column
// heads and foot line lie, and their text sizes, in ScreenOrtho units.
#pragma once

const int OptionLayoutColumns = 3;           // key, alternate key, pad button
const float HeadingBelowTop = 30;            // the heading's top below the window's top edge
const float ListBelowTop = 110;              // the first row's top below it
const float FootAboveBottom = 60;            // the foot line's top above the bottom edge
const float OptionRowStep = 44;              // from one row's top to the next
const float RowTextSize = 0.5f;
const float HeadingSize = 0.8f;
const float FootSize = 0.5f;
const float FootMinSize = 0.35f;              // a longer foot line shrinks to this size, then is cut
const float HeadSize = 0.4f;                 // the column heads
const float CellMinSize = 0.38f;             // a longer value shrinks to this size, then is cut
const float LabelLeft = -455;
const float ColumnCentre[OptionLayoutColumns] = {-10, 185, 370};
const float ColumnWidth = 180;               // a cell, and the room of its text and its head
const float LabelInset = 26;                 // the labels' left edge right of the heading's
const float FootWidth = 640;                 // the foot line, clear of "N more below"
// A row's name lies in a lit frame from here, clear of the first column's cell.
const float LabelFrameLeft = LabelLeft + LabelInset / 2;
const float LabelFrameWidth = ColumnCentre[0] - ColumnWidth / 2 - LabelLeft - 2 * LabelInset;
// The name's text, from LabelLeft + LabelInset to the frame's right edge.
const float LabelRoom = LabelFrameLeft + LabelFrameWidth - (LabelLeft + LabelInset);
