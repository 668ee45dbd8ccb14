// What each row of the options screen does.
#include "game/settings/options.h"

#include <cstdio>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/sound_events.h"
#include "game/play/hints.h"
#include "game/settings/key_rebind.h"
#include "game/settings/settings.h"
#include "game/settings/settings_write.h"

OptionsRecord Options;

static const char* const SettingLabels[] = {
  N_("Sound volume"), N_("Music volume"), N_("Full screen"), N_("Language"), N_("Hints"),
  N_("Ghost"), N_("Game speed"), N_("Tether"), N_("Reduce flashing"), N_("Restore defaults"),
};
static const char* const ColumnHeads[] = {N_("Key"), N_("Other key"), N_("Pad")};
static_assert(sizeof ColumnHeads / sizeof ColumnHeads[0] == OptionColumns, "one entry per OptionColumns");
static const char TetherLabel[] = N_("Shoot tether");
static const char TetherButtonLabel[] = N_("Left button");
static const char SystemLanguageLabel[] = N_("System");
static const int SmallTextSize = 16;

int OptionAction(int row)
{
  int a = row - OptionSettingRows;
  return a >= 0 && a < KeyActionCount ? a : -1;
}

int OptionPadAction(int row)
{
  static const struct { int action, pad; } PadRows[] = {
    {bind_jump, padbind_jump}, {bind_back, padbind_back}, {bind_pause, padbind_pause},
  };
  if (row == OptionTetherRow)
    return padbind_tether;
  for (const auto& p : PadRows)
    if (OptionAction(row) == p.action)
      return p.pad;
  return -1;
}

const char* OptionLabel(int row)
{
  if (row >= 0 && row < OptionSettingRows)
    return SettingLabels[row];
  if (row == OptionTetherRow)
    return TetherLabel;
  return OptionAction(row) >= 0 ? KeyActionLabel(OptionAction(row)) : "";
}

int OptionCells(int row)
{
  if (row == optrow_defaults)
    return 0;
  return row < OptionSettingRows ? 1 : OptionColumns;
}

const char* OptionColumnHead(int column)
{
  return ColumnHeads[column];
}

// The index of the language in use in Languages[], or -1 when the system's is followed.
static int LanguageIndex()
{
  for (int i = 0; i < LanguageCount; i++)
    if (strcmp(Settings.language, Languages[i].code) == 0)
      return i;
  return -1;
}

static const char* OnOff(bool on)
{
  return on ? N_("On") : N_("Off");
}

static void SettingValueText(int row, char* out, int size)
{
  const char* text = "";
  char number[SmallTextSize];
  int language = LanguageIndex();
  switch (row) {
  case optrow_sound: snprintf(number, sizeof number, "%d", Settings.sound); text = number; break;
  case optrow_music: snprintf(number, sizeof number, "%d", Settings.music); text = number; break;
  case optrow_speed: snprintf(number, sizeof number, "%d%%", Settings.speed); text = number; break;
  case optrow_fullscreen: text = Tr(OnOff(Settings.fullscreen)); break;
  case optrow_hints: text = Tr(OnOff(HintsEnabled)); break;
  case optrow_ghost: text = Tr(OnOff(Settings.ghost)); break;
  case optrow_flashing: text = Tr(OnOff(Settings.reduceFlashing)); break;
  case optrow_tether: text = Settings.tetherToggle ? Tr(N_("Toggle")) : Tr(N_("Hold")); break;
  case optrow_language: text = language < 0 ? Tr(SystemLanguageLabel) : Languages[language].name; break;
  default: break;
  }
  snprintf(out, size, "%s", text);
}

void OptionValueText(int row, int column, char* out, int size)
{
  out[0] = 0;
  if (row < OptionSettingRows) {
    if (column == 0)
      SettingValueText(row, out, size);
  } else if (column == OptionPadColumn) {
    int pad = OptionPadAction(row);
    if (pad >= 0)
      PadButtonLabel(Bindings.padButton[pad], out, size);
  } else if (row == OptionTetherRow) {
    if (column == 0)
      snprintf(out, size, "%s", Tr(TetherButtonLabel));
  } else {
    KeyLabel(Bindings.key[OptionAction(row)][column], out, size);
  }
}

// Writes the setting; a failure is kept for the note, and the change holds anyway.
static void Keep(const char* name, const char* value)
{
  if (WriteSetting(name, value)) {
    if (Options.note == optnote_not_saved)
      Options.note = optnote_none;   // the file holds everything again
    return;
  }
  Options.note = optnote_not_saved;
  Options.saveError = SettingsWriteError;
}

static void KeyNumber(const char* name, int value)
{
  char text[SmallTextSize];
  snprintf(text, sizeof text, "%d", value);
  Keep(name, text);
}

static int Clamp(int v, int low, int high)
{
  return v < low ? low : (v > high ? high : v);
}

static void StepLanguage(int step)
{
  int i = Clamp(LanguageIndex() + step, -1, LanguageCount - 1);   // -1: follow the system
  snprintf(Settings.language, sizeof Settings.language, "%s", i < 0 ? "" : Languages[i].code);
  UseLanguage(Settings.language);
  Keep("language", Settings.language);
}

// A switch: its record flag flipped and written.
static void Flip(bool* flag, const char* name)
{
  *flag = !*flag;
  KeyNumber(name, *flag);
}

void StepOption(int row, int step)
{
  switch (row) {
  case optrow_sound:
    Settings.sound = Clamp(Settings.sound + step * VolumeStep, 0, (int)SettingsMaxVolume);
    KeyNumber("sound", Settings.sound);
    break;
  case optrow_music:
    Settings.music = Clamp(Settings.music + step * VolumeStep, 0, (int)SettingsMaxVolume);
    KeyNumber("music", Settings.music);
    break;
  case optrow_speed:
    Settings.speed = Clamp(Settings.speed + step * SettingsSpeedStep, SettingsMinSpeed, SettingsFullSpeed);
    KeyNumber("speed", Settings.speed);
    break;
  case optrow_language:
    StepLanguage(step);
    break;
  default:
    if (row < optrow_defaults)
      ChooseOption(row, 0);   // a switch flips either way
    return;
  }
  PushSound(sound_menu_move);   // the click, at the effects volume just set
}

// Writes name = value; ok and the write's success, the first failure's cause kept for the note.
static bool Written(const char* name, const char* value, bool ok)
{
  if (WriteSetting(name, value))
    return ok;
  if (ok)
    Options.saveError = SettingsWriteError;
  return false;
}

static bool NumberWritten(const char* name, int value, bool ok)
{
  char text[SmallTextSize];
  snprintf(text, sizeof text, "%d", value);
  return Written(name, text, ok);
}

static void RestoreDefaults()
{
  Settings.sound = (int)SettingsDefaultSound;
  Settings.music = (int)SettingsDefaultMusic;
  Settings.fullscreen = Settings.tetherToggle = Settings.reduceFlashing = false;
  Settings.ghost = HintsEnabled = true;
  Settings.speed = SettingsFullSpeed;
  Settings.language[0] = 0;
  UseLanguage(Settings.language);
  KeyBindings kept = Bindings;   // the pad's axes and dead zone are not the screen's
  Bindings = DefaultBindings;
  memcpy(Bindings.padAxis, kept.padAxis, sizeof Bindings.padAxis);
  Bindings.deadZone = kept.deadZone;

  const struct { const char* name; int value; } numbers[] = {
    {"sound", Settings.sound}, {"music", Settings.music}, {"fullscreen", Settings.fullscreen},
    {"hints", HintsEnabled}, {"ghost", Settings.ghost}, {"speed", Settings.speed},
    {"tether_toggle", Settings.tetherToggle}, {"reduce_flashing", Settings.reduceFlashing},
  };
  bool ok = Written("language", Settings.language, true);
  for (const auto& n : numbers)
    ok = NumberWritten(n.name, n.value, ok);
  if (!SaveKeyBindings(&Bindings) && ok) {
    Options.saveError = SettingsWriteError;
    ok = false;
  }
  Options.note = ok ? optnote_restored : optnote_not_saved;
}

// Choosing a value steps it up, from its last value back to its first.
static int ChooseStep(int row)
{
  static const int WrapSteps = 100;   // more steps down than any value has
  bool last = (row == optrow_sound && Settings.sound >= SettingsMaxVolume) ||
              (row == optrow_music && Settings.music >= SettingsMaxVolume) ||
              (row == optrow_speed && Settings.speed >= SettingsFullSpeed) ||
              (row == optrow_language && LanguageIndex() == LanguageCount - 1);
  return last ? -WrapSteps : 1;
}

void ChooseOption(int row, int column)
{
  Options.note = optnote_none;
  switch (row) {
  case optrow_fullscreen: Flip(&Settings.fullscreen, "fullscreen"); break;
  case optrow_hints: Flip(&HintsEnabled, "hints"); break;
  case optrow_ghost: Flip(&Settings.ghost, "ghost"); break;
  case optrow_tether: Flip(&Settings.tetherToggle, "tether_toggle"); break;
  case optrow_flashing: Flip(&Settings.reduceFlashing, "reduce_flashing"); break;
  case optrow_defaults: RestoreDefaults(); break;
  default:
    if (row < OptionSettingRows) {
      StepOption(row, ChooseStep(row));
      return;
    }
    bool padColumn = column == OptionPadColumn;
    if (padColumn ? OptionPadAction(row) < 0 : OptionAction(row) < 0)
      return;   // the tether's mouse button and actions without a pad button stay as they are
    Options.column = column;
    Options.waiting = true;
    KeyCaptureWanted = true;
  }
  PushSound(sound_menu_choose);
}

void TakeChosenKey(int key, int padButton)
{
  bool padColumn = Options.column == OptionPadColumn;
  if (!Options.waiting || (key != KeyEscape && (padColumn ? padButton : key) == NoBinding))
    return;   // the other device's presses wait with the rest
  Options.waiting = false;
  KeyCaptureWanted = false;
  if (key == KeyEscape) {
    PushSound(sound_menu_back);
    return;
  }
  bool bound = padColumn ? RebindPadButton(&Bindings, OptionPadAction(Options.row), padButton)
                         : RebindKey(&Bindings, OptionAction(Options.row), Options.column, key);
  if (!bound) {
    Options.note = optnote_last_key;
    PushSound(sound_save_failed);
    return;
  }
  if (!SaveKeyBindings(&Bindings)) {
    Options.note = optnote_not_saved;
    Options.saveError = SettingsWriteError;
  }
  PushSound(sound_menu_choose);
}

void OpenOptions(bool overPause)
{
  Options = OptionsRecord{};
  Options.overPause = overPause;
  KeyCaptureWanted = false;
}
