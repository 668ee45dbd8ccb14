// level_files: reading and writing the level and best-score files, and the
// catalogue of the level slots.
#include "game/files/level_files.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/base/file_save.h"
#include "game/base/places.h"
#include "game/base/utf8.h"
#include "game/play/world.h"

char LevelTitles[MaxLevels][TitleSlotSize];
bool LevelExists[MaxLevels];
int LevelBest[MaxLevels];
int HighestLevel;
int SavedFileCount;

const int LineBufferSize = 1000;       // bytes of one line read, terminator included
const int TitleMaxBytes = TitleSlotSize - 2;  // room for the line feed and terminator
const char FirstLetter = 'a';          // maptype_nothing; 'a' + 11 is maptype_finish
const int ScoreBytes = 4;

bool LevelFileName(PathBuffer& out, int n)
{
  char name[32];
  snprintf(name, sizeof(name), "level%i.dat", n);
  return PlacePath(out, Places.userLevels, name);
}

bool ShippedOrUserLevelName(PathBuffer& out, int n)
{
  char name[32];
  snprintf(name, sizeof(name), "level%i.dat", n);
  return ReadablePath(out, Places.userLevels, Places.shippedLevels, name);
}

// The files a run writes: the best score and its ghost, side by side.
static bool SavedRunFileName(PathBuffer& out, int n, const char* suffix)
{
  char name[32];
  snprintf(name, sizeof(name), "level%i%s", n, suffix);
  return PlacePath(out, ScoreFolder(), name);
}

bool ScoreFileName(PathBuffer& out, int n)
{
  return SavedRunFileName(out, n, ".score");
}

bool GhostFileName(PathBuffer& out, int n)
{
  return SavedRunFileName(out, n, ".ghost");
}

bool AssistScoreFileName(PathBuffer& out, int n)
{
  return SavedRunFileName(out, n, ".assist.score");
}

const char* ScoreFolder()
{
  return Places.userLevels;
}

// Reads one line of up to size - 1 bytes into buf, drops the rest of a longer
// line and a CR before the line feed. Returns the bytes kept, -1 at the end of
// the file. *cut is set when bytes were dropped.
static int ReadLine(FILE* f, char* buf, int size, bool* cut)
{
  int len = 0;
  int c = getc(f);
  *cut = false;
  if (c == EOF) {
    buf[0] = 0;
    return -1;
  }
  while (c != EOF && c != '\n') {
    if (len < size - 1)
      buf[len++] = (char)c;
    else
      *cut = true;
    c = getc(f);
  }
  if (len > 0 && buf[len - 1] == '\r' && !*cut)
    len--;
  buf[len] = 0;
  return len;
}

// The title slot keeps text up to the first NUL byte, so those are dropped.
bool ReadTitleLine(FILE* f, char* slot)
{
  char line[LineBufferSize];
  bool cut;
  int len = ReadLine(f, line, sizeof(line), &cut);
  int bytes = 0;
  for (int i = 0; i < len; i++)   // 0 bytes are dropped
    if (line[i] != 0)
      line[bytes++] = line[i];
  line[bytes] = 0;
  // A long title loses whole characters only, never the tail of one.
  int kept = Utf8FitBytes(line, TitleMaxBytes);
  cut = cut || kept < bytes;
  memcpy(slot, line, kept);
  slot[kept++] = '\n';
  slot[kept] = 0;
  return cut;
}

// A size line: atof's number truncated toward zero, kept within 0..max.
// Sets *clamped when the line is missing, not a number or out of range.
static int ReadSize(FILE* f, int max, bool* clamped)
{
  char line[LineBufferSize];
  bool cut;
  if (ReadLine(f, line, sizeof(line), &cut) < 0) {
    *clamped = true;
    return 0;
  }
  char* end;
  double value = trunc(strtod(line, &end));
  if (end == line || !(value >= 0)) {
    *clamped = true;
    return 0;
  }
  if (value > max) {
    *clamped = true;
    return max;
  }
  return (int)value;
}

// Reads the title, the size and the rows. With store the cells go into
// MapGrid and the size into LevelWidth and LevelHeight; else only the spawns
// are counted. Returns the spawn cells read.
static int ReadLevelBody(FILE* f, char* title, LevelRepairs* repairs, bool store)
{
  memset(repairs, 0, sizeof(*repairs));
  repairs->titleCut = ReadTitleLine(f, title);
  int width = ReadSize(f, MaxLevelWidth, &repairs->sizeClamped);
  int height = ReadSize(f, MaxLevelHeight, &repairs->sizeClamped);
  if (store) {
    LevelWidth = width;
    LevelHeight = height;
  }

  char row[LineBufferSize];
  int spawns = 0;
  for (int y = 0; y < height; y++) {
    bool cut;
    int len = ReadLine(f, row, sizeof(row), &cut);
    if (len < width)
      repairs->shortRows++;
    for (int x = 0; x < width; x++) {
      int type = maptype_nothing;
      if (x < len) {
        type = row[x] - FirstLetter;
        if (type < 0 || type >= MapTypeCount) {
          type = maptype_nothing;
          repairs->badCharacters++;
        }
      }
      spawns += type == maptype_playerspawn;
      if (store)
        MapGrid[x * MapSize + y] = (MapCell)type;
    }
  }
  return spawns;
}

void ReadLevelStream(FILE* f, char* title, LevelRepairs* repairs)
{
  char scratchTitle[TitleSlotSize];
  LevelRepairs scratch;
  ReadLevelBody(f, title ? title : scratchTitle, repairs ? repairs : &scratch, true);
}

// Level n's file as it is read: the player's copy, else the shipped one.
static FILE* OpenLevelToRead(int n)
{
  PathBuffer path;
  return ShippedOrUserLevelName(path, n) ? fopen(path, "r") : nullptr;
}

int LevelFileSpawns(int n)
{
  char title[TitleSlotSize];
  LevelRepairs repairs;
  FILE* f = OpenLevelToRead(n);
  if (!f)
    return 0;
  int spawns = ReadLevelBody(f, title, &repairs, false);
  fclose(f);
  return spawns;
}

void LoadLevel(int n)
{
  FILE* f = OpenLevelToRead(n);
  if (f) {
    ReadLevelStream(f, nullptr, nullptr);
    fclose(f);
  }
  ScanLevel();
}

int LevelFileError(int n)
{
  PathBuffer path;
  if (!ShippedOrUserLevelName(path, n))
    return ENAMETOOLONG;
  int fd = open(path, O_RDONLY | O_NONBLOCK);   // a pipe in its place must not wait
  if (fd < 0)
    return errno;
  struct stat st;
  int error = 0;
  if (fstat(fd, &st) != 0)
    error = errno;
  else if (S_ISDIR(st.st_mode))
    error = EISDIR;
  else if (!S_ISREG(st.st_mode))
    error = EINVAL;
  close(fd);
  return error;
}

void ReadLevelTitle(int n)
{
  FILE* f = OpenLevelToRead(n);
  LevelExists[n - 1] = f != nullptr;
  if (f) {
    ReadTitleLine(f, LevelTitles[n - 1]);
    fclose(f);
  }
}

void LoadLevelCatalogue()
{
  PathBuffer path;
  for (int n = 1; n <= MaxLevels; n++)
    ReadLevelTitle(n);
  FindHighestLevel();
  for (int n = 1; n <= MaxLevels; n++) {
    LevelBest[n - 1] = 0;
    if (!LevelSlotShown(n))
      continue;
    FILE* f = ScoreFileName(path, n) ? fopen(path, "rb") : nullptr;
    if (f) {
      LevelBest[n - 1] = ReadScoreStream(f);
      fclose(f);
    }
  }
}

bool LevelSlotShown(int n)
{
  return n >= 1 && n <= MaxLevels && (n <= ShippedLevelCount || LevelExists[n - 1]);
}

void FindHighestLevel()
{
  HighestLevel = 0;
  for (int n = MaxLevels; n >= 1 && !HighestLevel; n--)
    if (LevelExists[n - 1])
      HighestLevel = n;
}

int ReadScoreStream(FILE* f)
{
  unsigned char bytes[ScoreBytes] = {0, 0, 0, 0};
  if (fread(bytes, 1, ScoreBytes, f) == 0)
    return 0;
  uint32_t value = 0;
  for (int i = 0; i < ScoreBytes; i++)
    value |= (uint32_t)bytes[i] << (8 * i);
  return (int32_t)value;
}

// Every save of this module goes through file_save and is counted.
static bool FinishSave(FILE* f, const SaveFile* save)
{
  bool ok = EndSave(f, save);
  if (ok)
    SavedFileCount++;
  return ok;
}

void WriteLevelStream(FILE* f, const char* title)
{
  size_t titleLen = strlen(title);
  fputs(title, f);
  if (titleLen == 0 || title[titleLen - 1] != '\n')
    fputc('\n', f);
  fprintf(f, "%i%s", LevelWidth, "\n");
  fprintf(f, "%i%s", LevelHeight, "\n");
  for (int y = 0; y < LevelHeight; y++) {
    for (int x = 0; x < LevelWidth; x++)
      fputc((CellAt(x, y) & 0xff) + FirstLetter, f);
    fputc('\n', f);
  }
}

bool WriteLevelFile(const char* path, const char* title)
{
  SaveFile save;
  FILE* f = BeginSave(path, &save, "w");
  if (!f)
    return false;
  WriteLevelStream(f, title);
  return FinishSave(f, &save);
}

bool SaveLevel()
{
  if (CurrentLevel < 1 || CurrentLevel > MaxLevels)
    return false;
  PathBuffer path;
  if (!LevelFileName(path, CurrentLevel))
    return SavePathTooLong();
  return WriteLevelFile(path, LevelTitles[CurrentLevel - 1]);
}

bool SaveFileBytes(const char* path, const unsigned char* bytes, size_t size)
{
  SaveFile save;
  FILE* f = BeginSave(path, &save, "wb");
  if (!f)
    return false;
  fwrite(bytes, 1, size, f);
  return FinishSave(f, &save);
}

bool SaveBest(int n, int score)
{
  PathBuffer path;
  if (!ScoreFileName(path, n))
    return SavePathTooLong();
  return SaveScoreFile(path, score);
}

bool SaveScoreFile(const char* path, int score)
{
  uint32_t value = (uint32_t)score;
  unsigned char bytes[ScoreBytes];
  for (int i = 0; i < ScoreBytes; i++)
    bytes[i] = (unsigned char)(value >> (8 * i));
  return SaveFileBytes(path, bytes, ScoreBytes);
}
