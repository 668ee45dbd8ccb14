// bench_editor: the benchmark's editor cases.
//   EditorCase(level)             the camera sweeping the whole of a generated level
//   TimeWholeLevelFills()         a flood and a rectangle fill of the whole largest level
//   TimeFillsWithFullHistory()    whole-level fills with the undo history full
//   EditorFillCase()              the editor flood-filling the largest level every frame
//   ZoomedOutEditorCases(smallest)   the whole largest level in the window, still and
//                                 painting, against the editor on the smallest
#pragma once

#include "bench_case.h"

CaseResult EditorCase(int level);
void TimeWholeLevelFills();
void TimeFillsWithFullHistory();
void EditorFillCase();
void ZoomedOutEditorCases(const CaseResult& smallest);
