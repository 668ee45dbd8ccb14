// Undo and redo as lists of changed cells in one fixed buffer.
#include "game/edit_history.h"

#include <cstdint>
#include <cstring>

#include "game/world.h"

char EditTitle[TitleSlotSize];
long HistoryChangeCount;

// A change word: bits 0..19 the MapGrid index, 20..23 the old type, 24..27 the new.
static const int IndexBits = 20;
static const uint32_t IndexMask = (1u << IndexBits) - 1;
static const int EditBufferWords = EditBudgetBytes / (int)sizeof(uint32_t);

struct EditStep {
  long version;                // HistoryVersion once the step is done
  int start, count;            // words in ChangeWords
  int oldWidth, oldHeight, newWidth, newHeight;
  char oldTitle[TitleSlotSize], newTitle[TitleSlotSize];
};

static uint32_t ChangeWords[EditBufferWords];
static EditStep Steps[MaxEditSteps + 1];   // the last slot holds the open step
static int StepCount;      // steps kept, done and undone
static int StepsDone;      // steps 0..StepsDone - 1 are done
static int WordsUsed;
static bool StepOpen;
static bool StepOverflow;  // the open step alone did not fit the buffer
static long LastVersion;   // the latest version handed out
static long BaseVersion;   // the version before the oldest step kept

void HistoryClear()
{
  BaseVersion = ++LastVersion;
  StepCount = StepsDone = WordsUsed = 0;
  StepOpen = StepOverflow = false;
}

// Forgets the oldest step and moves the rest down.
static void DropOldest()
{
  int words = Steps[0].count;
  BaseVersion = Steps[0].version;
  memmove(ChangeWords, ChangeWords + words, (size_t)(WordsUsed - words) * sizeof(uint32_t));
  WordsUsed -= words;
  memmove(Steps, Steps + 1, (size_t)StepCount * sizeof(EditStep)); // open step too
  StepCount--;
  StepsDone--;
  for (int i = 0; i <= StepCount; i++)
    Steps[i].start -= words;
}

void HistoryBegin()
{
  StepCount = StepsDone; // a new step ends redo
  WordsUsed = StepCount > 0 ? Steps[StepCount - 1].start + Steps[StepCount - 1].count : 0;
  if (StepCount == MaxEditSteps)
    DropOldest();
  EditStep& s = Steps[StepCount];
  s.start = WordsUsed;
  s.count = 0;
  s.oldWidth = LevelWidth;
  s.oldHeight = LevelHeight;
  memcpy(s.oldTitle, EditTitle, TitleSlotSize);
  StepOpen = true;
  StepOverflow = false;
}

void HistorySet(int x, int y, int type)
{
  int index = x * MapSize + y;
  int old = MapGrid[index];
  if (old == type)
    return;
  MapGrid[index] = type;
  HistoryChangeCount++;
  if (!StepOpen || StepOverflow)
    return;
  while (WordsUsed == EditBufferWords && StepCount > 0)
    DropOldest();
  if (WordsUsed == EditBufferWords) {
    StepOverflow = true;
    return;
  }
  ChangeWords[WordsUsed++] = (uint32_t)index | (uint32_t)old << IndexBits | (uint32_t)type << (IndexBits + 4);
  Steps[StepCount].count++;
}

void HistoryEnd()
{
  if (!StepOpen)
    return;
  StepOpen = false;
  EditStep& s = Steps[StepCount];
  s.newWidth = LevelWidth;
  s.newHeight = LevelHeight;
  memcpy(s.newTitle, EditTitle, TitleSlotSize);
  if (StepOverflow) { // too big to take back: earlier steps no longer lead here
    HistoryClear();
    return;
  }
  bool same = s.count == 0 && s.oldWidth == s.newWidth && s.oldHeight == s.newHeight &&
              strcmp(s.oldTitle, s.newTitle) == 0;
  if (same) {
    WordsUsed = s.start;
    return;
  }
  s.version = ++LastVersion;
  StepCount++;
  StepsDone = StepCount;
}

bool HistoryUndo()
{
  if (StepOpen || StepsDone == 0)
    return false;
  const EditStep& s = Steps[--StepsDone];
  for (int i = s.start + s.count - 1; i >= s.start; i--)
    MapGrid[ChangeWords[i] & IndexMask] = (int)(ChangeWords[i] >> IndexBits & 15);
  LevelWidth = s.oldWidth;
  LevelHeight = s.oldHeight;
  memcpy(EditTitle, s.oldTitle, TitleSlotSize);
  return true;
}

bool HistoryRedo()
{
  if (StepOpen || StepsDone == StepCount)
    return false;
  const EditStep& s = Steps[StepsDone++];
  for (int i = s.start; i < s.start + s.count; i++)
    MapGrid[ChangeWords[i] & IndexMask] = (int)(ChangeWords[i] >> (IndexBits + 4) & 15);
  LevelWidth = s.newWidth;
  LevelHeight = s.newHeight;
  memcpy(EditTitle, s.newTitle, TitleSlotSize);
  return true;
}

int HistoryUndoCount()
{
  return StepsDone;
}

long HistoryVersion()
{
  return StepsDone > 0 ? Steps[StepsDone - 1].version : BaseVersion;
}
