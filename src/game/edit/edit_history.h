// edit_history: undo and redo of editor steps. A step is one stroke, fill,
// resize, title change or region operation (game/edit/edit_region): the level's
// size and title before and after, the one type its cells were changed to,
// and the old type of each changed cell (a mixed step, whose cells become
// different types, keeps old type XOR new type instead, which takes a cell
// either way and lets it change more than once),
// written compactly as the changes come (a stretch of neighbouring cells that
// held one type takes one word, six neighbours of mixed types one word, a
// lone cell one word). The words of all steps share one ring, which starts
// small and doubles as the steps need it, up to EditBudgetBytes; when it is
// that large and full, or the step table is full, the oldest steps are
// forgotten without moving the rest, so forgetting costs no time.
#pragma once

#include "game/files/level_files.h"

const int MaxEditSteps = 256;                  // steps that can be undone at most
const int EditBudgetBytes = 16 * 1024 * 1024;  // the ring of change words at its largest

const int TitleMaxLength = TitleSlotSize - 2;  // bytes of whole UTF-8 characters a title holds

extern char EditTitle[TitleSlotSize];          // title being edited, no line feed
extern long HistoryChangeCount;                // cells changed through HistorySet so far

// Forgets every step and gives back the ring's memory.
void HistoryClear();
// Opens a step: notes the current size and title. A step still open is closed
// first, as a step of its own.
void HistoryBegin();
// Opens a mixed step: until HistoryEnd, HistorySet writes any types into it.
void HistoryBeginMixed();
// Sets cell (x, y) inside MapGrid to type, noting the change in the open step
// (opened here when none is). A step changes cells to one type only: a change
// to another type closes the open step and goes into the next.
void HistorySet(int x, int y, int type);
// Closes the open step; a step that changed nothing is dropped.
void HistoryEnd();
// True between HistoryBegin (or a HistorySet that opened a step) and HistoryEnd.
bool HistoryStepOpen();
// Closes an open step, then takes back the last step / puts back the last
// undone one; false when none.
bool HistoryUndo();
bool HistoryRedo();
// Steps that can be undone now.
int HistoryUndoCount();
// Names the level's present state: the same again after undoing or redoing
// back to it, new after any other step or a HistoryClear.
long HistoryVersion();
