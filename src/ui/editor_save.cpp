// Saving from the editor, and its bottom bar's notes.
#include "ui/editor_save.h"

#include <cstdio>
#include <cstring>

#include "game/edit_history.h"
#include "game/file_save.h"
#include "game/hub_queue.h"
#include "game/hub_share.h"
#include "game/lang.h"
#include "game/replay_record.h"
#include "game/level_check.h"
#include "game/level_files.h"
#include "game/level_slots.h"
#include "game/medals.h"
#include "game/run_end.h"
#include "game/screen.h"
#include "game/sound_events.h"
#include "game/world.h"
#include "ui/editor_share.h"
#include "ui/scene.h"

bool EditorSaveFailed;
const char* EditorNote;

static const char* SaveShareHint = N_("Press B to save and go back, P to share");
static const float SavedBeatSeconds = 0.75f;  // "Saved" shows this long before the title

static long SavedVersion;       // HistoryVersion when the level was opened or last saved
static float LeaveAfter;        // seconds until a saved editor gives way to the title; 0: staying
static bool SavedStaying;       // Ctrl + S saved: "Saved" shows while the level is as saved
static const int BarLineSize = 256;   // bytes: room for a translated line in two-byte letters
static char SaveFailedHint[BarLineSize];
static char NoteLine[BarLineSize];     // the check note as the bar says it
static char RunEndLine[BarLineSize];   // how the last test run ended
static bool RunEndShown;

void ClearEditorNotes()
{
  EditorNote = nullptr;
  SavedStaying = false;
  RunEndShown = false;
  if (HubShare.state == hubshare_said)
    HubShare.state = hubshare_idle;   // an edit or a save: the share's outcome is old news
}

void ResetEditorSave()
{
  SavedVersion = HistoryVersion();
  EditorSaveFailed = false;
  LeaveAfter = 0;
  ClearEditorNotes();
}

bool EditorLevelSaved()
{
  return HistoryVersion() == SavedVersion && !HistoryStepOpen();
}

bool SavedBeat(float seconds)
{
  if (LeaveAfter <= 0)
    return false;
  LeaveAfter -= seconds;
  if (LeaveAfter <= 0)
    RequestScreen(gamestate_title);
  return true;
}

void SaveEditedLevel(bool leave)
{
  char* slot = LevelTitles[CurrentLevel - 1];
  size_t length = strnlen(EditTitle, TitleMaxLength);
  memcpy(slot, EditTitle, length);
  slot[length] = '\n';
  slot[length + 1] = 0;
  EditorSaveFailed = !SaveLevel();
  PushSound(EditorSaveFailed ? sound_save_failed : sound_save);
  if (EditorSaveFailed) {
    snprintf(SaveFailedHint, sizeof SaveFailedHint, Tr("Could not save: %s - press B to try again"),
             SaveFailureReason(LastSaveError));
    return;
  }
  NoteLevelSaved(CurrentLevel);
  SavedVersion = HistoryVersion();
  if (HasAuthorRun(SavedVersion))
    KeepAuthorRun(CurrentLevel, HubShare.replay, HubShare.score);
  else
    DropAuthorRun(CurrentLevel);
  const char* note = LevelCheckNote(CheckLevel());
  bool again = note && note == EditorNote;   // B with the note already shown leaves
  ClearEditorNotes();
  if (note && !(leave && again))
    EditorNote = note;
  else if (leave)
    LeaveAfter = SavedBeatSeconds;
  else
    SavedStaying = true;
}

void NoteTestRunEnd()
{
  ClearEditorNotes();
  RunEndShown = true;
  const char* outcome = OutcomeText(RunEnd.outcome);
  int tenths = ScoreShown(RunEnd.timeLeft);
  if (RunEnd.outcome == runend_finished)
    snprintf(RunEndLine, sizeof RunEndLine, Tr("%s, %i.%i s left"), outcome, tenths / 10, tenths % 10);
  else
    snprintf(RunEndLine, sizeof RunEndLine, "%s", outcome);
  // A run with an assist on is no author run: the level is shared, and its
  // medals set, only by a finish made without help.
  NoteAuthorRun(RunEnd.outcome == runend_finished && !RunEnd.assisted, HistoryVersion(), RecordedReplayText(), tenths);
}

bool TestRunRefused()
{
  if (CheckLevel().spawns > 0)
    return false;
  ClearEditorNotes();
  RunEndShown = true;
  snprintf(RunEndLine, sizeof RunEndLine, "%s", Tr("No spawn to start from - place one to test"));
  return true;
}

const char* EditorHintText()
{
  if (EditorSaveFailed)
    return SaveFailedHint;
  const char* share = EditorShareText();
  if (share[0])
    return share;
  if (LeaveAfter > 0 || (SavedStaying && EditorLevelSaved()))
    return Tr("Saved");
  if (EditorNote) {
    snprintf(NoteLine, sizeof NoteLine, Tr("%s - saved anyway; press B to go back"), Tr(EditorNote));
    return NoteLine;
  }
  return RunEndShown ? RunEndLine : HubAddress[0] ? Tr(SaveShareHint) : Tr("Press B to save and go back");
}
