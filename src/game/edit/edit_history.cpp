// Undo and redo as compact lists of old cell types in one ring of words.
#include "game/edit/edit_history.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "game/play/world.h"

char EditTitle[TitleSlotSize];
long HistoryChangeCount;

// A change word, its kind in bits 30..31. Every cell a word names follows
// the one before it in MapGrid order, except the cell of an "at" word:
//   word_at:   bits 0..19 the MapGrid index of a changed cell, 20..23 its old type
//   word_same: bits 0..29 how many more cells held the same old type as the last
//   word_olds: bits 0..23 the old types of up to six more cells, bits 24..26 how many
enum { word_at = 0, word_same = 1, word_olds = 2 };
static const int KindShift = 30;
static const int IndexBits = 20;
static const uint32_t IndexMask = (1u << IndexBits) - 1;
static const int TypeBits = 4;
static const uint32_t TypeMask = (1u << TypeBits) - 1;
static const uint32_t CountMask = (1u << KindShift) - 1;
static const int OldsPerWord = 6;
static const int OldsCountShift = OldsPerWord * TypeBits;
static const uint32_t OldsCountMask = 7;
static const int MaxRingWords = EditBudgetBytes / (int)sizeof(uint32_t);
static const int FirstRingWords = 4096;    // the ring's size at its first word
static_assert((MaxRingWords & (MaxRingWords - 1)) == 0, "a ring of a power of two words wraps with a mask");

struct EditStep {
  long version;                // HistoryVersion once the step is done
  int64_t start, end;          // its words: ring positions start..end - 1, counted without wrapping
  int type;                    // what every changed cell became; -1 while none changed
  bool mixed;                  // the words hold old XOR new types; type is 0 once a cell changed
  int oldWidth, oldHeight, newWidth, newHeight;
  char oldTitle[TitleSlotSize], newTitle[TitleSlotSize];
};

static std::vector<uint32_t> Ring;         // a power of two words; position p is Ring[p & RingMask]
static int64_t RingMask = -1;              // Ring.size() - 1
static EditStep Steps[MaxEditSteps + 1];   // the last slot holds the open step

static int64_t RingEnd;    // position after the last word written
static int StepCount;      // steps kept, done and undone
static int StepsDone;      // steps 0..StepsDone - 1 are done
static bool StepOpen;
static bool StepOverflow;  // the open step alone did not fit the ring
static long LastVersion;   // the latest version handed out
static long BaseVersion;   // the version before the oldest step kept

// Where the open step's next change goes.
static int NextIndex;      // the MapGrid index after the last changed cell; -1 before the first
static int LastOld;        // the old type of the last changed cell
static int SameCount;      // cells of LastOld after the last word, not yet written
static uint32_t PendingOlds; // old types not yet written, four bits each
static int PendingCount;

// The ring goes too: another level starts its history small again.
void HistoryClear()
{
  BaseVersion = ++LastVersion;
  StepCount = StepsDone = 0;
  StepOpen = StepOverflow = false;
  std::vector<uint32_t>().swap(Ring);
  RingMask = -1;
}

// Forgets the oldest step; its words are left where they are, to be overwritten.
static void DropOldest()
{
  BaseVersion = Steps[0].version;
  memmove(Steps, Steps + 1, (size_t)StepCount * sizeof(EditStep)); // open step too
  StepCount--;
  StepsDone--;
}

// Doubles the ring (or makes its first words), keeping every word of the
// steps kept and the open one at its position.
static void GrowRing()
{
  size_t size = Ring.empty() ? FirstRingWords : 2 * Ring.size();
  std::vector<uint32_t> grown(size);
  int64_t mask = (int64_t)size - 1;
  for (int64_t p = Steps[0].start; p < RingEnd; p++)
    grown[p & mask] = Ring[p & RingMask];
  Ring.swap(grown);
  RingMask = mask;
}

// Appends a word for the open step, growing the ring up to its budget and
// then forgetting old steps to make room; the step overflows instead when it
// alone fills the largest ring.
static void Emit(uint32_t word)
{
  while (RingEnd - Steps[0].start >= (int64_t)Ring.size()) {
    if (Ring.size() < (size_t)MaxRingWords)
      GrowRing();
    else if (StepCount > 0)
      DropOldest();
    else
      break;
  }
  if (RingEnd - Steps[0].start >= (int64_t)Ring.size())
    StepOverflow = true;
  else
    Ring[RingEnd++ & RingMask] = word;
}

// Writes what Record holds back: a stretch of one old type, or up to six old types.
static void Flush()
{
  if (SameCount > 0)
    Emit((uint32_t)word_same << KindShift | (uint32_t)SameCount);
  if (PendingCount > 0)
    Emit((uint32_t)word_olds << KindShift | (uint32_t)PendingCount << OldsCountShift | PendingOlds);
  SameCount = 0;
  PendingOlds = 0;
  PendingCount = 0;
}

// Notes that the cell at index held old before this step changed it.
static void Record(int index, int old)
{
  if (index != NextIndex) {
    Flush();
    Emit((uint32_t)word_at << KindShift | (uint32_t)old << IndexBits | (uint32_t)index);
  } else if (PendingCount == 0 && old == LastOld) {
    SameCount++;
  } else {
    if (SameCount > 0)
      Flush();
    PendingOlds |= (uint32_t)old << (TypeBits * PendingCount);
    if (++PendingCount == OldsPerWord)
      Flush();
  }
  NextIndex = index + 1;
  LastOld = old;
}

void HistoryBegin()
{
  if (StepOpen)
    HistoryEnd();
  StepCount = StepsDone; // a new step ends redo
  if (StepCount > 0)
    RingEnd = Steps[StepCount - 1].end;
  if (StepCount == MaxEditSteps)
    DropOldest();
  EditStep& s = Steps[StepCount];
  s.start = s.end = RingEnd;
  s.type = -1;
  s.mixed = false;
  s.oldWidth = LevelWidth;
  s.oldHeight = LevelHeight;
  memcpy(s.oldTitle, EditTitle, TitleSlotSize);
  StepOpen = true;
  StepOverflow = false;
  NextIndex = -1;
  SameCount = 0;
  PendingOlds = 0;
  PendingCount = 0;
}

void HistoryBeginMixed()
{
  HistoryBegin();
  Steps[StepCount].mixed = true;
}

void HistorySet(int x, int y, int type)
{
  int index = x * MapSize + y;
  int old = MapGrid[index];
  if (old == type)
    return;
  const EditStep& open = Steps[StepCount];
  if (!StepOpen || (!open.mixed && open.type >= 0 && open.type != type))
    HistoryBegin();
  EditStep& s = Steps[StepCount];
  MapGrid[index] = (MapCell)type;
  HistoryChangeCount++;
  s.type = s.mixed ? 0 : type;
  if (!StepOverflow)
    Record(index, s.mixed ? old ^ type : old);
}

void HistoryEnd()
{
  if (!StepOpen)
    return;
  if (!StepOverflow)
    Flush();
  StepOpen = false;
  EditStep& s = Steps[StepCount];
  s.end = RingEnd;
  s.newWidth = LevelWidth;
  s.newHeight = LevelHeight;
  memcpy(s.newTitle, EditTitle, TitleSlotSize);
  if (StepOverflow) { // too big to take back: earlier steps no longer lead here
    HistoryClear();
    return;
  }
  bool same = s.type < 0 && s.oldWidth == s.newWidth && s.oldHeight == s.newHeight &&
              strcmp(s.oldTitle, s.newTitle) == 0;
  if (same)
    return;
  s.version = ++LastVersion;
  StepCount++;
  StepsDone = StepCount;
}

bool HistoryStepOpen()
{
  return StepOpen;
}

// Writes the step's old types back (undo) or its new type again (redo), with
// the level's size and title before or after it. A plain step changes each
// cell once, so the order does not matter; a mixed one XORs each change in,
// which does not mind the order either.
static void ApplyStep(const EditStep& s, bool undo)
{
  LevelWidth = undo ? s.oldWidth : s.newWidth;
  LevelHeight = undo ? s.oldHeight : s.newHeight;
  memcpy(EditTitle, undo ? s.oldTitle : s.newTitle, TitleSlotSize);
  int next = 0, old = 0;
  for (int64_t p = s.start; p < s.end; p++) {
    uint32_t word = Ring[p & RingMask];
    uint32_t kind = word >> KindShift;
    int count = 1;
    if (kind == word_at) {
      next = (int)(word & IndexMask);
      old = (int)(word >> IndexBits & TypeMask);
    } else if (kind == word_same) {
      count = (int)(word & CountMask);
    } else {
      count = (int)(word >> OldsCountShift & OldsCountMask);
    }
    for (int i = 0; i < count && next < MapSize * MapSize; i++, next++) {
      if (kind == word_olds)
        old = (int)(word >> (TypeBits * i) & TypeMask);
      if (s.mixed)
        MapGrid[next] ^= (MapCell)old;
      else
        MapGrid[next] = (MapCell)(undo ? old : s.type);
    }
  }
}

bool HistoryUndo()
{
  HistoryEnd();
  if (StepsDone == 0)
    return false;
  const EditStep& s = Steps[--StepsDone];
  ApplyStep(s, true);
  return true;
}

bool HistoryRedo()
{
  HistoryEnd();
  if (StepsDone == StepCount)
    return false;
  const EditStep& s = Steps[StepsDone++];
  ApplyStep(s, false);
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
