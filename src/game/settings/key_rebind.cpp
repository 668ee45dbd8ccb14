// The swap that rebinds a key or pad button, and writing the bindings out.
#include "game/settings/key_rebind.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "game/settings/settings.h"
#include "game/settings/settings_write.h"

static const int SettingNameSize = 64;
static const int SettingValueSize = 64;

bool RebindKey(KeyBindings* b, int action, int slot, int key)
{
  int old = b->key[action][slot];
  if (old == key)
    return true;
  for (int a = 0; a < KeyActionCount; a++)
    for (int s = 0; s < 2; s++)
      if (b->key[a][s] == key && a != action && old == NoBinding && b->key[a][1 - s] == NoBinding)
        return false;
  for (int a = 0; a < KeyActionCount; a++)
    for (int s = 0; s < 2; s++) {
      if (b->key[a][s] != key)
        continue;
      bool hasOld = b->key[a][1 - s] == old && !(a == action && 1 - s == slot);
      b->key[a][s] = hasOld ? NoBinding : old;   // an action never holds one key twice
    }
  b->key[action][slot] = key;
  return true;
}

bool RebindPadButton(KeyBindings* b, int action, int button)
{
  int old = b->padButton[action];
  if (old == button)
    return true;
  for (int a = 0; a < PadButtonActionCount; a++)
    if (b->padButton[a] == button && old == NoBinding)
      return false;
  for (int a = 0; a < PadButtonActionCount; a++)
    if (b->padButton[a] == button)
      b->padButton[a] = old;
  b->padButton[action] = button;
  return true;
}

void KeySettingText(int slot, char* out, int size)
{
  KeyLabel(slot, out, size);
  if (!out[0]) {
    snprintf(out, size, "%s", "none");
    return;
  }
  char spaced[SettingValueSize];   // "Ctrl+Z" is written "ctrl + z", as in the shipped file
  int n = 0;
  for (const char* c = out; *c && n < SettingValueSize - 4; c++) {
    bool plus = *c == '+' && c[1];
    if (plus)
      spaced[n++] = ' ';
    spaced[n++] = (char)tolower((unsigned char)*c);
    if (plus)
      spaced[n++] = ' ';
  }
  spaced[n] = 0;
  snprintf(out, size, "%s", spaced);
}

static void PadSettingText(int button, char* out, int size)
{
  if (button == NoBinding)
    snprintf(out, size, "%s", "none");
  else
    snprintf(out, size, "%d", button);
}

// Writes name = value unless the reader already gives that value (the file's,
// else the default's, so a short file is not filled with default lines);
// false when it could not be written.
static bool WriteIfChanged(const char* name, const char* value, const char* byDefault, bool ok)
{
  char plain[SettingValueSize];   // the value as the reader's slots hold it, without spaces
  int n = 0;
  for (const char* c = value; *c && n < SettingValueSize - 1; c++)
    if (*c != ' ')
      plain[n++] = *c;
  plain[n] = 0;
  const char* now = SettingText(name);
  if (now ? strcmp(now, plain) == 0 : strcmp(byDefault, value) == 0)
    return ok;
  return WriteSetting(name, value) && ok;
}

bool SaveKeyBindings(const KeyBindings* b)
{
  bool ok = true;
  char name[SettingNameSize], value[SettingValueSize], byDefault[SettingValueSize];
  for (int a = 0; a < KeyActionCount; a++)
    for (int s = 0; s < 2; s++) {
      snprintf(name, sizeof name, "key_%s%s", KeyActionName(a), s ? "_alt" : "");
      KeySettingText(b->key[a][s], value, sizeof value);
      KeySettingText(DefaultBindings.key[a][s], byDefault, sizeof byDefault);
      ok = WriteIfChanged(name, value, byDefault, ok);
    }
  for (int a = 0; a < PadButtonActionCount; a++) {
    snprintf(name, sizeof name, "pad_%s", PadButtonActionName(a));
    PadSettingText(b->padButton[a], value, sizeof value);
    PadSettingText(DefaultBindings.padButton[a], byDefault, sizeof byDefault);
    ok = WriteIfChanged(name, value, byDefault, ok);
  }
  return ok;
}
