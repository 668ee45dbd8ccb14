// Typing, Backspace, undo and redo in a one-line text field.
#include "ui/text_field.h"

#include <cstring>

#include "game/base/controls.h"

void OpenTextField(TextField* f, char* text, int limit)
{
  f->text = text;
  f->limit = limit;
  f->changes = f->done = 0;
}

// Adds the character at the end (added) or removes it from there.
static void ApplyChange(TextField* f, const TextChange& c, bool added)
{
  int length = (int)strlen(f->text);
  if (added) {
    memcpy(f->text + length, c.bytes, c.count);
    f->text[length + c.count] = 0;
  } else {
    f->text[length - c.count] = 0;
  }
}

// Makes a change and keeps it to take back; changes taken back can no longer be put back.
static void Change(TextField* f, const char* bytes, int count, bool added)
{
  if (f->done == TextFieldChanges) {
    memmove(f->change, f->change + 1, sizeof f->change - sizeof f->change[0]);
    f->done--;
  }
  TextChange& c = f->change[f->done++];
  memcpy(c.bytes, bytes, count);
  c.count = count;
  c.added = added;
  f->changes = f->done;
  ApplyChange(f, c, added);
}

bool TextFieldKeys(TextField* f, const char* queue)
{
  while (*queue) {
    int length = (int)strlen(f->text);
    int bytes = Utf8PrefixBytes(queue, 1);
    char key = *queue;
    queue += bytes;
    if (key == TextDone)
      return true;
    if (key == TextBackspace && length > 0) {
      int start = Utf8LastStart(f->text);
      Change(f, f->text + start, length - start, false);
    } else if (key == TextUndo && f->done > 0) {
      const TextChange& c = f->change[--f->done];
      ApplyChange(f, c, !c.added);
    } else if (key == TextRedo && f->done < f->changes) {
      const TextChange& c = f->change[f->done++];
      ApplyChange(f, c, c.added);
    } else if ((unsigned char)key >= ' ' && length + bytes <= f->limit) {
      Change(f, queue - bytes, bytes, true);
    }
  }
  return false;
}

bool OpenFieldKeys(TextField* f, bool* open, char* text, int limit, const char* queue)
{
  if (!*open)
    OpenTextField(f, text, limit);
  *open = !TextFieldKeys(f, queue);
  return !*open;
}
