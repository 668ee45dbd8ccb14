// edit_history: undo and redo of editor steps. A step is one stroke, fill,
// resize or title change; it keeps only the cells it changed (old and new
// type packed in one word) plus the level's size and title before and after.
// The change words share one fixed buffer; when it or the step table is full
// the oldest steps are forgotten, so memory never grows past EditBudgetBytes.
#pragma once

#include "game/level_files.h"

const int MaxEditSteps = 256;                  // steps that can be undone at most
const int EditBudgetBytes = 24 * 1024 * 1024;  // buffer of changed cells

extern char EditTitle[TitleSlotSize];          // title being edited, no line feed
extern long HistoryChangeCount;                // cells changed through HistorySet so far

// Forgets every step.
void HistoryClear();
// Opens a step: notes the current size and title.
void HistoryBegin();
// Sets cell (x, y) inside MapGrid to type, noting the change in the open step.
void HistorySet(int x, int y, int type);
// Closes the open step; a step that changed nothing is dropped.
void HistoryEnd();
// Takes back the last step / puts back the last undone one; false when none.
bool HistoryUndo();
bool HistoryRedo();
// Steps that can be undone now.
int HistoryUndoCount();
// Names the level's present state: the same again after undoing or redoing
// back to it, new after any other step or a HistoryClear.
long HistoryVersion();
