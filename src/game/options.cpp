// What each row of the options screen does.
#include "game/options.h"

#include <cstdio>
#include <cstring>

#include "game/controls.h"
#include "game/hints.h"
#include "game/key_rebind.h"
#include "game/lang.h"
#include "game/settings.h"
#include "game/settings_write.h"
#include "game/sound_events.h"

OptionsRecord Options;

static const char* const SettingLabels[] = {
  N_("Sound volume"), N_("Music volume"), N_("Full screen"), N_("Language"), N_("Hints"),
  N_("Ghost"), N_("Game speed"), N_("Tether"), N_("Reduce flashing"), N_("Restore defaults"),
};
static_assert(sizeof SettingLabels / sizeof SettingLabels[0] == OptionSettingRows, "one entry per OptionSettingRows");
static const char* const ActionLabels[] = {
  N_("Left"), N_("Right"), N_("Up"), N_("Down"), N_("Jump"), N_("Pause"), N_("Mute"), N_("Back"),
  N_("Next brush"), N_("Previous brush"), N_("Restart"), N_("Next level"), N_("Choose"),
  N_("Page up"), N_("Page down"), N_("First row"), N_("Last row"), N_("Delete level"),
  N_("Watch best run"), N_("Rectangle"), N_("Fill"), N_("Undo"), N_("Redo"), N_("Save"),
  N_("Wider"), N_("Narrower"), N_("Taller"), N_("Shorter"), N_("Edit title"), N_("Test run"),
  N_("Share level"),
};
static_assert(sizeof ActionLabels / sizeof ActionLabels[0] == KeyActionCount, "one entry per KeyActionCount");
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
  return OptionAction(row) >= 0 ? ActionLabels[OptionAction(row)] : "";
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

static void RestoreDefaults()
{
  Bindings = DefaultBindings;
  if (!SaveKeyBindings(&Bindings)) {
    Options.note = optnote_not_saved;
    Options.saveError = SettingsWriteError;
  }
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
