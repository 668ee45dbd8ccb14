// The step that turns the raw input records into the controls record through a set of bindings.
#include "platform/keymap.h"

#include <SDL.h>
#include <cstring>

#include "game/controls.h"
#include "game/screen.h"
#include "platform/gamepad.h"
#include "platform/input.h"
#include "platform/input_gate.h"

static const int TriggerShootsAt = PadAxisMax / 2;  // a trigger shoots past half its travel
static const float StickMenuStep = 0.5f;            // a stick past half way moves a menu row

// SDL's name of a key below its last symbol; "unknown key" for the rest.
static const char* SdlKeyName(int symbol)
{
  return symbol > 0 && symbol < SDLK_LAST ? SDL_GetKeyName((SDLKey)symbol) : "unknown key";
}

void UseWindowKeyNames()
{
  WindowKeyName = SdlKeyName;
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
  Controls.padPresent = PadState.present;
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
