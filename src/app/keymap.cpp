// Key and pad bindings from settings.ini, and the step that turns the raw
// input records into the controls record through them.
#include "app/keymap.h"

#include <SDL.h>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/gamepad.h"
#include "app/host.h"
#include "app/input.h"
#include "app/input_gate.h"
#include "app/key_names.h"
#include "app/settings.h"
#include "app/video.h"
#include "game/controls.h"

const KeyBindings DefaultBindings = {
  {
    {KeyLeft, KeyA}, {KeyRight, KeyD}, {KeyUp, KeyW}, {KeyDown, KeyS}, {KeySpace, NoBinding},
    {KeyEscape, NoBinding}, {KeyM, NoBinding}, {KeyB, NoBinding}, {KeyE, NoBinding}, {KeyQ, NoBinding},
    {KeyR, NoBinding}, {KeyN, NoBinding},
  },
  {0, 1, 5, 7},         // A jumps, B goes back, right shoulder shoots, Start pauses
  {0, 1, 3, 4, 5},      // left stick steers, right stick aims, right trigger shoots
  0.25f,
};
KeyBindings Bindings = DefaultBindings;

static const char* const KeyActionNames[KeyActionCount] = {
  "left", "right", "up", "down", "jump", "pause", "mute", "back", "brush_next", "brush_prev",
  "restart", "next",
};
static const char* const PadButtonNames[PadButtonActionCount] = {"jump", "back", "tether", "pause"};
static const char* const PadAxisNames[PadAxisActionCount] = {
  "steer_x", "steer_y", "aim_x", "aim_y", "tether",
};
static const char* const NoneName = "none";
static const int SettingNameSize = 64;
static const float MaxDeadZone = 0.9f;
static const int TriggerShootsAt = PadAxisMax / 2;  // a trigger shoots past half its travel
static const float StickMenuStep = 0.5f;            // a stick past half way moves a menu row

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

// The game's own name of the key, else SDL's (the desktop's names for the
// keys of other languages' keyboards); null for a key neither names.
static const char* KeyName(int symbol)
{
  static const char SdlUnnamed[] = "unknown key";
  if (symbol <= 0 || symbol >= KeyCount || symbol >= SDLK_LAST)
    return nullptr;
  const char* own = KeyNameOf(symbol);
  const char* sdl = own ? own : SDL_GetKeyName((SDLKey)symbol);
  return strcmp(sdl, SdlUnnamed) != 0 ? sdl : nullptr;
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

void KeyLabel(int symbol, char* out, int size)
{
  const char* name = KeyName(symbol);
  snprintf(out, size, "%s", name ? name : "");
  if (size > 0 && out[0])
    out[0] = (char)toupper((unsigned char)out[0]);
}

void PadButtonLabel(int button, char* out, int size)
{
  static const int NamedButtons = 11;
  static const char* const names[NamedButtons] = {
    "A", "B", "X", "Y", "LB", "RB", "Back", "Start", "Guide", "left stick button", "right stick button",
  };
  if (button >= 0 && button < NamedButtons)
    snprintf(out, size, "%s", names[button]);
  else if (button >= 0)
    snprintf(out, size, "button %d", button);
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
  int sym = KeySymbolNamed(value);
  if (sym == NoBinding)
    ReportUnknown(setting, value);
  else
    *slot = sym;
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

static int KeyEntry(int sym)
{
  return GatedKey(sym);
}

static bool ActionHeld(const KeyBindings& b, int action)
{
  return IsDown(KeyEntry(b.key[action][0])) || IsDown(KeyEntry(b.key[action][1]));
}

static bool ActionPressed(const KeyBindings& b, int action)
{
  return KeyEntry(b.key[action][0]) == InputPressed || KeyEntry(b.key[action][1]) == InputPressed;
}

static int PadButtonEntry(const KeyBindings& b, int action)
{
  return GatedPadButton(b.padButton[action]);
}

static int PadAxisRaw(const KeyBindings& b, int action)
{
  int n = b.padAxis[action];
  return n >= 0 && n < PadAxisCount ? PadState.axis[n] : 0;
}

// -1..1 with the dead zone cut out and the rest stretched to the full range.
static float StickValue(const KeyBindings& b, int action)
{
  float v = (float)PadAxisRaw(b, action) / PadAxisMax;
  float mag = v < 0 ? -v : v;
  if (mag <= b.deadZone)
    return 0;
  float scaled = (mag - b.deadZone) / (1 - b.deadZone);
  if (scaled > 1)
    scaled = 1;
  return v < 0 ? -scaled : scaled;
}

static float ClampSteer(float v)
{
  return v < -1 ? -1 : (v > 1 ? 1 : v);
}

static float HatAxis(int negative, int positive)
{
  return (float)IsDown(GatedHat(positive)) - (float)IsDown(GatedHat(negative));
}

// What earlier frames leave behind: the stick aim and the stick's menu direction.
static struct {
  bool padAiming;      // the right stick set the aim and the pointer has not moved since
  float padAimX, padAimY;
  int lastMouseX, lastMouseY;
  int stickRow;        // -1 up, 1 down, 0 centred, as the last frame left the steering stick
} History;

void ResetControlsHistory()
{
  memset(&History, 0, sizeof History);
  ClearStaleInputs();
}

static void ReadAim(const KeyBindings& b)
{
  bool mouseMoved = InputState.MouseX != History.lastMouseX || InputState.MouseY != History.lastMouseY;
  History.lastMouseX = InputState.MouseX;
  History.lastMouseY = InputState.MouseY;
  Controls.pointerMoved = mouseMoved && MouseInWindow;   // coming into the window is no move yet
  Controls.pointerX = (float)InputState.MouseX;
  Controls.pointerY = (float)InputState.MouseY;
  float sx = StickValue(b, padaxis_aim_x), sy = StickValue(b, padaxis_aim_y);
  if (mouseMoved) {
    History.padAiming = false;
  } else if (sx != 0 || sy != 0) {
    History.padAiming = true;
    History.padAimX = ScreenWidth * 0.5f * (1 + sx);
    History.padAimY = ScreenHeight * 0.5f * (1 + sy);
  }
  Controls.aimX = History.padAiming ? History.padAimX : (float)InputState.MouseX;
  Controls.aimY = History.padAiming ? History.padAimY : (float)InputState.MouseY;
}

void ReadControls(const KeyBindings& b)
{
  RefreshStaleInputs();
  float stickX = StickValue(b, padaxis_steer_x), stickY = StickValue(b, padaxis_steer_y);
  float keyX = (float)ActionHeld(b, bind_right) - (float)ActionHeld(b, bind_left);
  float keyY = (float)ActionHeld(b, bind_down) - (float)ActionHeld(b, bind_up);
  Controls.steerX = ClampSteer(keyX + stickX + HatAxis(pad_hat_left, pad_hat_right));
  Controls.steerY = ClampSteer(keyY + stickY + HatAxis(pad_hat_up, pad_hat_down));

  int padJump = PadButtonEntry(b, padbind_jump);
  Controls.jump = ActionHeld(b, bind_jump) || IsDown(padJump);
  int leftButton = GatedButton(ButtonLeft), padTether = PadButtonEntry(b, padbind_tether);
  Controls.tether = IsDown(leftButton) || IsDown(padTether) ||
                    (b.padAxis[padaxis_tether] != NoBinding && PadAxisRaw(b, padaxis_tether) > TriggerShootsAt);
  Controls.tetherShot = leftButton == InputPressed || padTether == InputPressed;
  Controls.pointerClick = leftButton == InputPressed;
  Controls.focusLost = InputState.FocusLost;
  ReadAim(b);

  int stickRow = stickY < -StickMenuStep ? -1 : (stickY > StickMenuStep ? 1 : 0);
  bool stickMoved = stickRow != History.stickRow;
  History.stickRow = stickRow;
  Controls.menuUp = ActionPressed(b, bind_up) || GatedHat(pad_hat_up) == InputPressed ||
                    (stickMoved && stickRow < 0);
  Controls.menuDown = ActionPressed(b, bind_down) || GatedHat(pad_hat_down) == InputPressed ||
                      (stickMoved && stickRow > 0);
  bool returnPressed = KeyEntry(KeyReturn) == InputPressed;
  Controls.menuChoose = returnPressed || ActionPressed(b, bind_jump) || padJump == InputPressed;
  Controls.menuBack = ActionPressed(b, bind_back) || PadButtonEntry(b, padbind_back) == InputPressed;
  // A player still jumping at the finish must not leave the results card, so
  // it takes Return and Start, which pauses everywhere else.
  bool returnJumps = b.key[bind_jump][0] == KeyReturn || b.key[bind_jump][1] == KeyReturn;
  bool startPressed = PadButtonEntry(b, padbind_pause) == InputPressed;
  bool onCard = GameState == gamestate_results;
  Controls.cardLeave = (returnPressed && !returnJumps) || startPressed;
  Controls.pauseToggle = ActionPressed(b, bind_pause) || (startPressed && !onCard);
  Controls.mute = ActionPressed(b, bind_mute);
  Controls.brushNext = ActionPressed(b, bind_brush_next);
  Controls.brushPrev = ActionPressed(b, bind_brush_prev);
  Controls.restart = ActionPressed(b, bind_restart);
  Controls.nextLevel = ActionPressed(b, bind_next);
}
