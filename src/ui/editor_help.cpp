// The editor's key list: its lines, the keys that show and close it, and its panel.
#include "ui/editor_help.h"

#include <cstdio>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/settings/key_bindings.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "ui/bars.h"

// ScreenOrtho units; the columns' room and the text size in ui/editor_help.h.
static const float LabelX = -420;
static const float ColumnGap = 20;       // between a label's room and the keys
static const float KeysX = LabelX + EditorHelpLabelRoom + ColumnGap;
static const float PanelLeft = LabelX - 10;
static const float PanelWidth = KeysX + EditorHelpKeysRoom - PanelLeft;
static const float HeadingGap = 50;      // from the heading's top to the first line's
static const float LineStep = 23;        // from one line's top to the next
static const float FootGap = 12;         // between the last line and the foot
static const float HeadingSize = 0.65f;
static const float LineSize = EditorHelpTextSize;
static const float PanelHeight = HeadingGap + EditorHelpRows * LineStep + FootGap + LineStep;
static const float TextRaise = 7;        // a text's top above its line's top
static const int MaxActions = 4;         // actions on one line
static const int LineTextSize = 128;     // bytes of one line's half in two-byte letters
static const int KeyTextSize = 48;

static const int BothSlots = -1;

struct HelpRow {
  const char* label;              // English for Tr(); null: the first action's own label
  int actions[MaxActions];        // its keys, NoBinding past the last
  const char* button;             // a mouse button instead of keys, English for Tr()
  int slot;                       // the key slot the actions show, or BothSlots: "X or Y"
};
static const HelpRow HelpRows[] = {
  {N_("Move the view"), {bind_up, bind_left, bind_down, bind_right}, nullptr, 0},
  {N_("Move the view"), {bind_up, bind_left, bind_down, bind_right}, nullptr, 1},
  {N_("Paint"), {NoBinding}, N_("Left button"), BothSlots},
  {N_("Erase"), {NoBinding}, N_("Right button"), BothSlots},
  {N_("Brush from a cell"), {NoBinding}, N_("Middle button"), BothSlots},
  {nullptr, {bind_brush_next, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_brush_prev, NoBinding}, nullptr, BothSlots},
  {N_("Rectangle (held)"), {bind_rectangle, NoBinding}, nullptr, BothSlots},
  // TRANSLATORS: the editor's key list: the rectangle key held while clicking paints a line.
  {N_("Line to a click (held)"), {bind_rectangle, NoBinding}, nullptr, 0},
  {N_("Zoom: in, out, whole, full size"), {bind_zoom_in, bind_zoom_out, bind_home, bind_zoom_cells},
   N_("Wheel"), 0},
  {nullptr, {bind_select, NoBinding}, nullptr, BothSlots},
  {N_("Copy, cut, paste, empty"), {bind_copy, bind_cut, bind_paste, bind_delete}, nullptr, 0},
  {N_("Flip across, flip down, turn"), {bind_flip_across, bind_flip_down, bind_restart, NoBinding}, nullptr, 0},
  {nullptr, {bind_fill, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_undo, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_redo, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_wider, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_narrower, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_taller, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_shorter, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_title, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_test, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_test_here, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_save, NoBinding}, nullptr, BothSlots},
  {N_("Save and go back"), {bind_back, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_share, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_pause, NoBinding}, nullptr, BothSlots},
  {nullptr, {bind_help, NoBinding}, nullptr, BothSlots},
};
static_assert(sizeof HelpRows / sizeof HelpRows[0] == EditorHelpRows, "a row for every line");

static bool Shown;
static char Label[LineTextSize], Keys[LineTextSize];

// An action's keys: "Ctrl+Y or Ctrl+Shift+Z", one of them, or "".
static void ActionKeys(int action, char* out, int size)
{
  char first[KeyTextSize], second[KeyTextSize];
  KeyLabel(Bindings.key[action][0], first, sizeof first);
  KeyLabel(Bindings.key[action][1], second, sizeof second);
  if (first[0] && second[0])
    snprintf(out, size, Tr("%s or %s"), first, second);
  else
    snprintf(out, size, "%s", first[0] ? first : second);
}

void EditorHelpLine(int row, char* label, int labelSize, char* keys, int keysSize)
{
  const HelpRow& r = HelpRows[row];
  snprintf(label, labelSize, "%s", Tr(r.label ? r.label : KeyActionLabel(r.actions[0])));
  snprintf(keys, keysSize, "%s", r.button ? Tr(r.button) : "");
  for (int k = 0; k < MaxActions && r.actions[k] != NoBinding; k++) {
    char one[LineTextSize];
    if (r.slot == BothSlots)
      ActionKeys(r.actions[k], one, sizeof one);
    else
      KeyLabel(Bindings.key[r.actions[k]][r.slot], one, sizeof one);
    size_t used = strlen(keys);
    if (one[0] && (int)used < keysSize)
      snprintf(keys + used, keysSize - used, "%s%s", used ? ", " : "", one);
  }
}

void HideEditorHelp()
{
  if (Shown)
    KeyCaptureWanted = false;
  Shown = false;
}

bool EditorHelpKeys()
{
  if (!Shown && Controls.help) {
    Shown = KeyCaptureWanted = true;   // every key comes as a chosen one, Escape too
    PushSound(sound_menu_choose);
  } else if (Shown && (Controls.keyChosen != NoBinding || Controls.padButtonChosen != NoBinding)) {
    HideEditorHelp();
    PushSound(sound_menu_back);
    return true;   // the closing key does nothing else
  }
  return Shown;
}

void DrawEditorHelp()
{
  if (!Shown)
    return;
  float top = -PanelHeight / 2, half = ScreenOrthoHalfHeight();
  DrawQuad(AtlasBackground, 0, 0, 2 * half * AspectRatio, 2 * half, 0);   // the editor's bars would show through
  DrawPanel(AtlasPanelNormal, PanelLeft, top, PanelWidth, PanelHeight);
  DrawText(LabelX, top - TextRaise, Tr("Editor keys"), HeadingSize);
  for (int row = 0; row < EditorHelpRows; row++) {
    float y = top + HeadingGap + row * LineStep - TextRaise;
    EditorHelpLine(row, Label, sizeof Label, Keys, sizeof Keys);
    FitTextToWidth(Label, EditorHelpLabelRoom, LineSize);
    FitTextToWidth(Keys, EditorHelpKeysRoom, LineSize);
    DrawText(LabelX, y, Label, LineSize);
    DrawText(KeysX, y, Keys, LineSize);
  }
  DrawText(LabelX, top + HeadingGap + EditorHelpRows * LineStep + FootGap - TextRaise, Tr("Any key closes this list"), LineSize);
}
