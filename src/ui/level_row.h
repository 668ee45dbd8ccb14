// level_row: a level's row in the play and edit lists: "Level n - title"
// cut short of its best score, the medal of that score and, in the play list,
// the ghost mark of a level with a best run and its assisted best.
//   DrawLevelRow(n, y, playList)   draws level n's row on the bar whose top is y
#pragma once

// Level n's row on the bar whose top is y; playList: the row is in the play list.
void DrawLevelRow(int n, float y, bool playList);
