// file_save: how every save replaces a file. The new bytes go to a temporary
// file beside the real one and are renamed over it once they are on disk, so
// the file always holds a whole version; each save has a temporary file of
// its own, so two saves of one file at once leave one of them whole, never a
// mix. A symbolic link is followed and its
// target replaced; a replaced file keeps its permission bits. Only where the
// folder refuses the temporary file (EACCES, EPERM: a folder the player may
// not write, with a file they may) is the file written in place; any other
// failure to make it (a full disk, too many open files, a name too long)
// fails the save and leaves the file as it was. A path,
// or its temporary name, that does not fit a PathBuffer fails it too.
#pragma once

#include <cstdio>

#include "game/base/places.h"

// One save under way: the file really written and its temporary file.
struct SaveFile {
  PathBuffer target;   // the path with its symbolic links followed
  PathBuffer temp;     // target + ".tmp.PID.N", this save's own; empty when writing in place
};

const int SaveFileBits = 0666;     // a new file's permission bits, before the umask
const int SaveSecretBits = 0600;   // a secret's: readable by its owner alone from its first byte

// Makes the folder of path where places.h allows it and opens the stream
// that the save writes (mode "w" or "wb"); null when nothing can be written.
// The temporary file is made new (never one already there) with bits; a
// replaced file keeps its own bits but those that bits withholds.
FILE* BeginSave(const char* path, SaveFile* save, const char* mode, int bits = SaveFileBits);

// Flushes f to disk, closes it and puts the new file in place; true when the
// whole file was written. A failed save removes its temporary file.
bool EndSave(FILE* f, const SaveFile* save);

// The errno of the step that stopped the last failed BeginSave or EndSave;
// 0 after a save that worked.
extern int LastSaveError;

// The steps of a save that replaces its file through a temporary one, in order.
enum SaveStep {
  savestep_temp_made,   // the temporary file exists, empty
  savestep_written,     // the bytes are written, part of them still in the stream's buffer
  savestep_flushed,     // every byte is handed to the system, not yet forced to disk
  savestep_synced,      // the temporary file is on disk
  savestep_closed,      // ... and closed
  savestep_renamed,     // the temporary file has replaced the real one
  savestep_done,        // ... and the folder holding it is on disk
  SaveStepCount
};

// Called with each step as a save reaches it, when set: for a test that
// stops a save at a chosen step. Null in the game, where it costs a test of a pointer.
extern void (*SaveStepHook)(SaveStep step);

// A save refused before it began, as its file's path does not fit a
// PathBuffer: LastSaveError becomes ENAMETOOLONG; false, for the caller to return.
bool SavePathTooLong();

// Why a save failed, in a few words for the player, from its errno: "the
// folder is read-only", "the disk is full", "the folder is missing", ...
const char* SaveFailureReason(int error);
