// Changing one line of the player's settings file and saving it whole.
#include "game/settings/settings_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/base/file_save.h"
#include "game/base/lang.h"
#include "game/base/places.h"
#include "game/settings/settings.h"

int SettingsWriteError;

static char FileText[SettingsFileMaxBytes];   // the file's bytes, NULs and all: never a C string
static size_t FileLength;

// The line of length len names name before its "=", spaces aside, as the reader sees it.
static bool LineNames(const char* line, size_t len, const char* name)
{
  size_t i = 0;
  for (; *name; name++) {
    while (i < len && line[i] == ' ')
      i++;
    if (i >= len || line[i] != *name)
      return false;
    i++;
  }
  while (i < len && line[i] == ' ')
    i++;
  return i < len && line[i] == '=';
}

int SetSettingInText(char* text, size_t* length, size_t size, const char* name, const char* value)
{
  char* at = text;
  char* stop = text + *length;
  char* found = nullptr;
  size_t foundLen = 0;
  int lines = 0;
  for (; at < stop && lines < SettingsMaxLines; lines++) {
    char* end = (char*)memchr(at, '\n', (size_t)(stop - at));
    size_t len = end ? (size_t)(end - at) : (size_t)(stop - at);
    if (LineNames(at, len, name)) {
      found = at;
      foundLen = len;
    }
    at += len + (end != nullptr);
  }
  bool cr = found && foundLen > 0 && found[foundLen - 1] == '\r';
  char line[SettingsLineSize + 2];
  size_t total = *length;
  if (!found) {
    if (lines >= SettingsMaxLines)
      return SettingsFileFull;
    bool open = total > 0 && text[total - 1] != '\n';   // a last line without its line feed
    found = stop;
    snprintf(line, sizeof line, "%s%s = %s\n", open ? "\n" : "", name, value);
  } else {
    snprintf(line, sizeof line, "%s = %s%s", name, value, cr ? "\r" : "");
  }
  size_t newLen = strlen(line);
  if (total - foundLen + newLen > size)
    return SettingsFileTooLong;
  memmove(found + newLen, found + foundLen, total - (size_t)(found - text) - foundLen);
  memcpy(found, line, newLen);
  *length = total - foundLen + newLen;
  return 0;
}

// name=value in the reader's slot of name (the last, as the reader looks),
// else in an empty slot, so SettingText answers the new value this session.
static void SetSlot(const char* name, const char* value)
{
  if (SettingsLineCount == 0) {
    memset(SettingsLines, 0, sizeof SettingsLines);
    SettingsLineCount = SettingsMaxLines;
  }
  char slot[SettingsLineSize];
  snprintf(slot, sizeof slot, "%s=%s", name, value);
  int target = -1;
  size_t nameLen = strlen(name);
  for (int i = 0; i < SettingsLineCount; i++) {
    bool named = strncmp(SettingsLines[i], name, nameLen) == 0 && SettingsLines[i][nameLen] == '=';
    if (named || (target < 0 && SettingsLines[i][0] == 0))
      target = i;
  }
  if (target < 0)
    return;
  char* out = SettingsLines[target];
  for (const char* s = slot; *s; s++)   // the reader's slots hold no spaces
    if (*s != ' ')
      *out++ = *s;
  *out = 0;
}

// The player's file, else the shipped one, into FileText; an absent file reads as empty.
static int ReadCurrentFile()
{
  FileLength = 0;
  PathBuffer path;
  if (!ReadablePath(path, Places.userSettings, Places.shippedSettings, SettingsFileName))
    return ENAMETOOLONG;
  FILE* f = fopen(path, "r");
  if (!f)
    return errno == ENOENT ? 0 : errno;
  FileLength = fread(FileText, 1, SettingsFileMaxBytes, f);
  bool more = fgetc(f) != EOF;
  int error = ferror(f) ? EIO : 0;
  fclose(f);
  return more ? SettingsFileTooLong : error;
}

static int SaveText()
{
  PathBuffer path;
  if (!PlacePath(path, Places.userSettings, SettingsFileName))
    return ENAMETOOLONG;
  SaveFile save;
  FILE* f = BeginSave(path, &save, "w");
  if (!f)
    return LastSaveError;
  fwrite(FileText, 1, FileLength, f);
  return EndSave(f, &save) ? 0 : LastSaveError;
}

bool WriteSetting(const char* name, const char* value)
{
  SetSlot(name, value);
  SettingsWriteError = ReadCurrentFile();
  if (!SettingsWriteError)
    SettingsWriteError = SetSettingInText(FileText, &FileLength, sizeof FileText, name, value);
  if (!SettingsWriteError)
    SettingsWriteError = SaveText();
  return SettingsWriteError == 0;
}

const char* SettingsWriteFailure()
{
  if (SettingsWriteError == SettingsFileFull)
    return N_("the settings file is full");
  if (SettingsWriteError == SettingsFileTooLong)
    return N_("the settings file is too long");
  return SaveFailureReason(SettingsWriteError);
}
