// Key and pad bindings from settings.ini, and the names of the keys.
#include "game/settings/key_bindings.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/base/lang.h"
#include "game/settings/settings.h"

const KeyBindings DefaultBindings = {
  {
    {KeyLeft, KeyA}, {KeyRight, KeyD}, {KeyUp, KeyW}, {KeyDown, KeyS}, {KeySpace, NoBinding},
    {KeyEscape, NoBinding}, {KeyM, NoBinding}, {KeyB, NoBinding}, {KeyE, NoBinding}, {KeyQ, NoBinding},
    {KeyR, NoBinding}, {KeyN, NoBinding},
    {KeyReturn, NoBinding}, {KeyPageUp, NoBinding}, {KeyPageDown, NoBinding}, {KeyHome, Key0},
    {KeyEnd, NoBinding}, {KeyDelete, NoBinding}, {KeyG, NoBinding}, {KeyLShift, KeyRShift},
    {KeyF, NoBinding}, {KeyZ | BindCtrl, NoBinding}, {KeyY | BindCtrl, KeyZ | BindCtrl | BindShift},
    {KeyS | BindCtrl, NoBinding}, {KeyRight | BindCtrl, NoBinding}, {KeyLeft | BindCtrl, NoBinding},
    {KeyDown | BindCtrl, NoBinding}, {KeyUp | BindCtrl, NoBinding}, {KeyTab, NoBinding},
    {KeyT, NoBinding}, {KeyP, NoBinding}, {KeyF1, NoBinding}, {KeyEquals, KeyKPPlus},
    {KeyMinus, KeyKPMinus}, {Key1, NoBinding}, {KeyC, NoBinding}, {KeyC | BindCtrl, NoBinding},
    {KeyX | BindCtrl, NoBinding}, {KeyV | BindCtrl, NoBinding}, {KeyH, NoBinding}, {KeyV, NoBinding},
    {KeyT | BindShift, NoBinding}, {KeyF | BindCtrl, NoBinding}, {KeyZ, NoBinding}, {KeyX, NoBinding},
    {KeyU, NoBinding}, {KeyK, NoBinding},
  },
  {0, 1, 5, 7},         // A jumps, B goes back, right shoulder shoots, Start pauses
  {0, 1, 3, 4, 5},      // left stick steers, right stick aims, right trigger shoots
  0.25f,
};
KeyBindings Bindings = DefaultBindings;
const char* (*WindowKeyName)(int symbol);

static const char* const KeyActionNames[] = {
  "left", "right", "up", "down", "jump", "pause", "mute", "back", "brush_next", "brush_prev",
  "restart", "next", "choose", "page_up", "page_down", "home", "end", "delete", "watch",
  "rectangle", "fill", "undo", "redo", "save", "wider", "narrower", "taller", "shorter", "title",
  "test", "share", "help", "zoom_in", "zoom_out", "zoom_cells", "select", "copy", "cut", "paste",
  "flip_across", "flip_down", "test_here", "search", "size", "difficulty", "thumbs_up", "report",
};
static_assert(sizeof KeyActionNames / sizeof KeyActionNames[0] == KeyActionCount, "a name for every action");
static const char* const KeyActionLabels[] = {
  N_("Left"), N_("Right"), N_("Up"), N_("Down"), N_("Jump"), N_("Pause"), N_("Mute"), N_("Back"),
  N_("Next brush"), N_("Previous brush"), N_("Restart, turn"), N_("Next level"), N_("Choose"),
  N_("Page up"), N_("Page down"), N_("First row, whole"), N_("Last row"), N_("Delete, empty"),
  N_("Watch best run"), N_("Rectangle"), N_("Fill"), N_("Undo"), N_("Redo"), N_("Save"),
  N_("Wider"), N_("Narrower"), N_("Taller"), N_("Shorter"), N_("Edit title"), N_("Test run"),
  N_("Share"), N_("Editor keys"), N_("Zoom in"), N_("Zoom out"), N_("Full-size cells"), N_("Select"),
  N_("Copy"), N_("Cut"), N_("Paste"), N_("Flip across"), N_("Flip down"), N_("Test from here"),
  N_("Search the hub"), N_("Size filter"), N_("Difficulty filter"),
  N_("Thumbs up"), N_("Report a level"),
};
static_assert(sizeof KeyActionLabels / sizeof KeyActionLabels[0] == KeyActionCount, "a label for every action");
static const char* const PadButtonNames[] = {"jump", "back", "tether", "pause"};
static_assert(sizeof PadButtonNames / sizeof PadButtonNames[0] == PadButtonActionCount, "one entry per PadButtonActionCount");
static const char* const PadAxisNames[] = {
  "steer_x", "steer_y", "aim_x", "aim_y", "tether",
};
static_assert(sizeof PadAxisNames / sizeof PadAxisNames[0] == PadAxisActionCount, "one entry per PadAxisActionCount");
static const char* const NoneName = "none";

const char* KeyActionName(int action)
{
  return KeyActionNames[action];
}

const char* KeyActionLabel(int action)
{
  return KeyActionLabels[action];
}

const char* PadButtonActionName(int action)
{
  return PadButtonNames[action];
}
static const int SettingNameSize = 64;
static const float MaxDeadZone = 0.9f;

// Spaces, tabs and the carriage return of a line written on Windows.
static bool IsBlank(char c)
{
  return c == ' ' || c == '\t' || c == '\r';
}

// a and b equal ignoring case and blanks.
static bool SameName(const char* a, const char* b)
{
  for (;;) {
    while (IsBlank(*a))
      a++;
    while (IsBlank(*b))
      b++;
    if (tolower((unsigned char)*a) != tolower((unsigned char)*b))
      return false;
    if (!*a)
      return true;
    a++;
    b++;
  }
}

// s after prefix, ignoring case and blanks; null when s does not start with it.
static const char* AfterPrefix(const char* s, const char* prefix)
{
  for (; *prefix; prefix++, s++) {
    while (IsBlank(*s))
      s++;
    if (tolower((unsigned char)*s) != *prefix)
      return nullptr;
  }
  return s;
}

// The game's own name of the key, else the window system's; null for a key neither names.
static const char* KeyName(int symbol)
{
  static const char Unnamed[] = "unknown key";
  if (symbol <= 0 || symbol >= KeyCount)
    return nullptr;
  const char* own = KeyNameOf(symbol);
  const char* lent = own || !WindowKeyName ? own : WindowKeyName(symbol);
  return lent && strcmp(lent, Unnamed) != 0 ? lent : nullptr;
}

int KeySymbolNamed(const char* name)
{
  if (!name || !*name)
    return NoBinding;
  for (int sym = 1; sym < KeyCount; sym++)
    if (KeyName(sym) && SameName(KeyName(sym), name))
      return sym;
  return NoBinding;
}

int KeySlotNamed(const char* value)
{
  static const struct { const char* prefix; int bit; } Modifiers[] = {{"ctrl+", BindCtrl}, {"shift+", BindShift}};
  int bits = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& m : Modifiers) {
      const char* rest = AfterPrefix(value, m.prefix);
      if (rest) {
        value = rest;
        bits |= m.bit;
        found = true;
      }
    }
  }
  int sym = KeySymbolNamed(value);
  return sym == NoBinding ? NoBinding : sym | bits;
}

void KeyLabel(int slot, char* out, int size)
{
  const char* name = slot == NoBinding ? nullptr : KeyName(slot & BindKeyMask);
  const char* ctrl = name && (slot & BindCtrl) ? Tr("Ctrl+") : "";
  const char* shift = name && (slot & BindShift) ? Tr("Shift+") : "";
  snprintf(out, size, "%s%s%s", ctrl, shift, name ? Tr(name) : "");
  size_t at = strlen(ctrl) + strlen(shift);   // the key's own name, capitalised
  if (size > 0 && at < strlen(out))
    out[at] = (char)toupper((unsigned char)out[at]);
}

void PadButtonLabel(int button, char* out, int size)
{
  static const int NamedButtons = 11;
  static const char* const names[] = {
    "A", "B", "X", "Y", "LB", "RB", "Back", "Start", "Guide", N_("left stick button"), N_("right stick button"),
  };
  static_assert(sizeof names / sizeof names[0] == NamedButtons, "one entry per NamedButtons");
  if (button >= 0 && button < NamedButtons)
    snprintf(out, size, "%s", Tr(names[button]));
  else if (button >= 0)
    snprintf(out, size, Tr("button %d"), button);
  else
    snprintf(out, size, "%s", "");
}

static void ReportUnknown(const char* setting, const char* value)
{
  fprintf(stderr, "settings.ini: %s = %s is not known; the default stays\n", setting, value);
}

static void LoadKey(const char* setting, int* slot)
{
  const char* value = SettingText(setting);
  if (!value)
    return;
  if (SameName(value, NoneName)) {
    *slot = NoBinding;
    return;
  }
  int key = KeySlotNamed(value);
  if (key == NoBinding)
    ReportUnknown(setting, value);
  else
    *slot = key;
}

// A number 0..count-1, or "none" / -1 for nothing.
static void LoadPadNumber(const char* setting, int count, int* slot)
{
  const char* value = SettingText(setting);
  if (!value)
    return;
  char* end = nullptr;
  long n = strtol(value, &end, 10);
  bool number = end != value && SameName(end, "");
  if (SameName(value, NoneName) || (number && n == NoBinding))
    *slot = NoBinding;
  else if (number && n >= 0 && n < count)
    *slot = (int)n;
  else
    ReportUnknown(setting, value);
}

void LoadKeyBindings()
{
  Bindings = DefaultBindings;
  char setting[SettingNameSize];
  for (int a = 0; a < KeyActionCount; a++) {
    snprintf(setting, sizeof setting, "key_%s", KeyActionNames[a]);
    LoadKey(setting, &Bindings.key[a][0]);
    snprintf(setting, sizeof setting, "key_%s_alt", KeyActionNames[a]);
    LoadKey(setting, &Bindings.key[a][1]);
  }
  for (int b = 0; b < PadButtonActionCount; b++) {
    snprintf(setting, sizeof setting, "pad_%s", PadButtonNames[b]);
    LoadPadNumber(setting, PadButtonCount, &Bindings.padButton[b]);
  }
  for (int x = 0; x < PadAxisActionCount; x++) {
    snprintf(setting, sizeof setting, "pad_axis_%s", PadAxisNames[x]);
    LoadPadNumber(setting, PadAxisCount, &Bindings.padAxis[x]);
  }
  const char* zone = SettingText("pad_dead_zone");
  if (zone) {
    float v = SettingInRange("pad_dead_zone", 0, MaxDeadZone);
    if (v > 0 || strtof(zone, nullptr) == 0)
      Bindings.deadZone = v;
    else
      ReportUnknown("pad_dead_zone", zone);
  }
}
