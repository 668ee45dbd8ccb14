// settings_write: keeping a changed option in the player's settings file. The
// file is read whole, the line of the changed key is replaced where it stands
// (a missing key is added at the end) and the file is saved the atomic way
// (game/base/file_save.h), so every other line and comment stays as it was. The
// reader's line slots take the new value at once, whether or not the file
// could be written, so the change holds for this session either way.
//   SettingsWriteError                  why the last write failed, 0 after one that worked
//   SetSettingInText(text, len, ...)    the edit itself, on a file's bytes in memory
//   WriteSetting(name, value)           the edit in the slots and in the player's file
#pragma once

#include <cstddef>

const int SettingsFileMaxBytes = 32768;   // a settings file longer than this is not rewritten

// Why the last WriteSetting failed: an errno (file_save.h's SaveFailureReason
// words it), SettingsFileFull or SettingsFileTooLong; 0 after one that worked.
extern int SettingsWriteError;
const int SettingsFileFull = -1;      // a missing key finds all 100 read lines in use
const int SettingsFileTooLong = -2;   // the file is longer than SettingsFileMaxBytes

// In text (length bytes of a file, any bytes, NULs too; room for size), the first line among
// the first 160 whose name before "=" is name (spaces aside) becomes
// "name = value" (the last such line, the one the reader takes, and with the
// carriage return it had); when none is, the line is added after the last one. A key
// missing from a file whose first 160 lines are all there is not added, since
// the reader would never see it: SettingsFileFull. SettingsFileTooLong when
// the result would not fit size; 0 when text and length hold the change, every
// other byte as it was.
int SetSettingInText(char* text, size_t* length, size_t size, const char* name, const char* value);

// name = value in the reader's slots now, then in the player's settings file
// (the shipped file's text when they have none yet); false, with
// SettingsWriteError, when the file could not be written.
bool WriteSetting(const char* name, const char* value);

// Why the last write failed, in English for Tr(): "the settings file is
// full", or SaveFailureReason's words.
const char* SettingsWriteFailure();
