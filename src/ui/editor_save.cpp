// Saving from the editor, and its bottom bar's notes.
#include "ui/editor_save.h"

#include <cstdio>
#include <cstring>

#include "game/base/file_save.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/edit/edit_history.h"
#include "game/files/level_check.h"
#include "game/files/level_files.h"
#include "game/files/level_slots.h"
#include "game/files/replay_record.h"
#include "game/lobby/online_share.h"
#include "game/online/online_queue.h"
#include "game/play/world.h"
#include "game/run/medals.h"
#include "game/run/run_end.h"
#include "game/run/test_run.h"
#include "game/settings/key_bindings.h"
#include "ui/editor_share.h"
#include "ui/scene.h"

bool EditorSaveFailed;
const char* EditorNote;

static const char* SaveShareHint = N_("Press B to save and go back, P to share");
static const float SavedBeatSeconds = 0.75f;  // "Saved" shows this long before the title
static const int KeyLabelSize = 48;           // bytes of a key's name as the bar shows it

static long SavedVersion;       // HistoryVersion when the level was opened or last saved
static float LeaveAfter;        // seconds until a saved editor gives way to the title; 0: staying
static bool SavedStaying;       // Ctrl + S saved: "Saved" shows while the level is as saved
static const int BarLineSize = 256;   // bytes: room for a translated line in two-byte letters
static char BarLine[BarLineSize];     // the bar's line, put in words as it is shown
static int SaveError;                 // LastSaveError of the failed save
// How the last test run ended, in the language of the moment it is shown.
enum { testrun_none = 0, testrun_ended, testrun_refused };
static int TestRunNote;
static int TestRunOutcome;            // runend_* of the run that ended
static int TestRunTenths;             // its time left, tenths of a second
static const char* PlainNote;         // NoteEditorLine's line, English; null when none

void ClearEditorNotes()
{
  EditorNote = nullptr;
  SavedStaying = false;
  TestRunNote = testrun_none;
  PlainNote = nullptr;
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
    SaveError = LastSaveError;
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
  TestRunNote = testrun_ended;
  TestRunOutcome = RunEnd.outcome;
  TestRunTenths = ScoreShown(RunEnd.timeLeft);
  // A run with an assist on is no author run: the level is shared, and its
  // medals set, only by a finish made without help. A run from a chosen
  // cell leaves the author run as it was.
  if (!TestRunFromHere)
    NoteAuthorRun(RunEnd.outcome == runend_finished && !RunEnd.assisted, HistoryVersion(), RecordedReplayText(),
                  TestRunTenths);
}

bool TestRunRefused()
{
  if (CheckLevel().spawns > 0)
    return false;
  ClearEditorNotes();
  TestRunNote = testrun_refused;
  return true;
}

void NoteEditorLine(const char* english)
{
  ClearEditorNotes();
  PlainNote = english;
}

// The end of the last test run, or why none started.
static const char* TestRunLine()
{
  if (TestRunNote == testrun_refused)
    return Tr("No spawn to start from - place one to test");
  const char* outcome = OutcomeText(TestRunOutcome);
  if (TestRunOutcome != runend_finished)
    return outcome;
  snprintf(BarLine, sizeof BarLine, Tr("%s, %i.%i s left"), outcome, TestRunTenths / 10, TestRunTenths % 10);
  return BarLine;
}

const char* EditorHintText()
{
  if (EditorSaveFailed) {
    snprintf(BarLine, sizeof BarLine, Tr("Could not save: %s - press B to try again"), SaveFailureReason(SaveError));
    return BarLine;
  }
  const char* share = EditorShareText();
  if (share[0])
    return share;
  if (LeaveAfter > 0 || (SavedStaying && EditorLevelSaved()))
    return Tr("Saved");
  if (EditorNote) {
    snprintf(BarLine, sizeof BarLine, Tr("%s - saved anyway; press B to go back"), Tr(EditorNote));
    return BarLine;
  }
  if (TestRunNote != testrun_none)
    return TestRunLine();
  if (PlainNote)
    return Tr(PlainNote);
  const char* hint = HubAddress[0] ? Tr(SaveShareHint) : Tr("Press B to save and go back");
  char key[KeyLabelSize];
  KeyLabel(Bindings.key[bind_help][Bindings.key[bind_help][0] == NoBinding], key, sizeof key);
  if (!key[0])
    return hint;
  // TRANSLATORS: after the editor's bar line; the key that shows every editor key ("F1: keys").
  snprintf(BarLine, sizeof BarLine, Tr("%s    %s: keys"), hint, key);
  return BarLine;
}
