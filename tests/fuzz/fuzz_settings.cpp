// Fuzzes the settings reader: any bytes as settings.ini must leave every slot
// terminated, the line count at SettingsMaxLines and the screen values finite and in range.
// Each input is read twice, from memory and from a real file in a scratch
// directory through LoadSettings, and both reads must agree.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "game/base/screen.h"
#include "game/settings/settings.h"

// In memory when /dev/shm exists: a disk file per input would set the pace.
static char ScratchDir[64];
static char StartDir[4096];    // libFuzzer reads its corpus relative to this
static char StreamLines[SettingsMaxLines][SettingsLineSize];

static void Check(bool ok, const char* what)
{
  if (!ok) {
    fprintf(stderr, "fuzz_settings: %s\n", what);
    abort();
  }
}

static void CheckRecords()
{
  Check(SettingsLineCount == SettingsMaxLines, "line count is not SettingsMaxLines");
  for (int i = 0; i < SettingsMaxLines; i++) {
    Check(memchr(SettingsLines[i], 0, SettingsLineSize) != nullptr, "slot not terminated");
    Check(strchr(SettingsLines[i], ' ') == nullptr, "space left in a slot");
  }
  Check(std::isfinite(ScreenWidth) && ScreenWidth >= 0 && ScreenWidth <= SettingsMaxScreenSize,
        "screen width out of range");
  Check(std::isfinite(ScreenHeight) && ScreenHeight >= 0 && ScreenHeight <= SettingsMaxScreenSize,
        "screen height out of range");
  Check(ScreenDepth >= 0 && ScreenDepth <= SettingsMaxDepth, "depth out of range");
}

static void RemoveScratch()
{
  char path[sizeof(ScratchDir) + 16];
  snprintf(path, sizeof(path), "%s/settings.ini", ScratchDir);
  remove(path);
  rmdir(ScratchDir);
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  snprintf(ScratchDir, sizeof(ScratchDir), "%s/tetherorb2-fuzz-settings-XXXXXX", base);
  if (!getcwd(StartDir, sizeof(StartDir)) || !mkdtemp(ScratchDir) || chdir(ScratchDir) != 0)
    abort();
  atexit(RemoveScratch);
  LoadSettings();
  Check(SettingsLineCount == 0, "line count of a missing file is not 0");
  Check(chdir(StartDir) == 0, "cannot return to the start directory");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
  FILE* stream = size ? fmemopen((void*)data, size, "rb") : fopen("/dev/null", "rb");
  Check(stream != nullptr, "cannot open the input as a stream");
  ReadSettingsStream(stream);
  fclose(stream);
  ApplySettings();
  CheckRecords();
  memcpy(StreamLines, SettingsLines, sizeof(StreamLines));
  float width = ScreenWidth, height = ScreenHeight;
  SettingsRecord flags = Settings;

  Check(chdir(ScratchDir) == 0, "cannot enter the scratch directory");
  FILE* f = fopen("settings.ini", "wb");
  Check(f != nullptr, "cannot write the scratch settings.ini");
  fwrite(data, 1, size, f);
  fclose(f);
  LoadSettings();
  Check(chdir(StartDir) == 0, "cannot return to the start directory");
  CheckRecords();
  for (int i = 0; i < SettingsMaxLines; i++)
    Check(strcmp(StreamLines[i], SettingsLines[i]) == 0, "file and memory reads differ");
  Check(width == ScreenWidth && height == ScreenHeight, "file and memory sizes differ");
  Check(memcmp(&flags, &Settings, sizeof(flags)) == 0, "file and memory switches differ");
  return 0;
}
