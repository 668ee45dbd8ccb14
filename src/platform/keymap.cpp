// The step that turns the raw input records into the controls record through a set of bindings.
#include "platform/keymap.h"

#include <SDL.h>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/base/utf8.h"
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

// This frame's modifiers as the key slots see them, and whether a text field has the keys.
static struct {
  bool ctrl, shift, typing;
} Keys;

static bool KeyHeld(int symbol)
{
  return IsDown(InputState.KeyState[symbol]);
}

static bool SlotKeyIs(int slot, int symbol)
{
  return slot != NoBinding && (slot & BindKeyMask) == symbol;
}

static bool BoundTo(const KeyBindings& b, int action, int symbol)
{
  return SlotKeyIs(b.key[action][0], symbol) || SlotKeyIs(b.key[action][1], symbol);
}

// A Ctrl key held is a modifier unless an action has it as its own key.
static bool CtrlModifierHeld(const KeyBindings& b)
{
  static const int CtrlKeys[] = {KeyLCtrl, KeyRCtrl};
  for (int sym : CtrlKeys) {
    bool ownKey = false;
    for (int a = 0; a < KeyActionCount; a++)
      ownKey = ownKey || BoundTo(b, a, sym);
    if (KeyHeld(sym) && !ownKey)
      return true;
  }
  return false;
}

static bool ModifiersFit(int slot, bool ctrl, bool shift)
{
  return ((slot & BindCtrl) != 0) == ctrl && (!(slot & BindShift) || shift);
}

// Slot s of the action as the input gate shows its key, when the modifiers
// are held as the slot asks. While a text field has the keys only the pause
// key acts, and the Shift of a drag that a click on the level starts.
static int ActionSlot(const KeyBindings& b, int action, int s)
{
  int slot = b.key[action][s];
  bool typingKeeps = action == bind_pause || action == bind_rectangle;
  if (slot == NoBinding || !ModifiersFit(slot, Keys.ctrl, Keys.shift) || (Keys.typing && !typingKeeps))
    return InputUp;
  return GatedKey(slot & BindKeyMask);
}

static bool ActionHeld(const KeyBindings& b, int action)
{
  return IsDown(ActionSlot(b, action, 0)) || IsDown(ActionSlot(b, action, 1));
}

static bool ActionPressed(const KeyBindings& b, int action)
{
  return ActionSlot(b, action, 0) == InputPressed || ActionSlot(b, action, 1) == InputPressed;
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
  int stickColumn;     // -1 left, 1 right, 0 centred, likewise
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

// A choose key pressed that is no jump key as well: a player still jumping
// at the finish must not leave the results card.
static bool ChooseNotJumpPressed(const KeyBindings& b)
{
  for (int s = 0; s < 2; s++) {
    int slot = b.key[bind_choose][s];
    bool jumps = slot == b.key[bind_jump][0] || slot == b.key[bind_jump][1];
    if (ActionSlot(b, bind_choose, s) == InputPressed && !jumps)
      return true;
  }
  return false;
}

static void ReadListKeys(const KeyBindings& b)
{
  Controls.pageUp = ActionPressed(b, bind_page_up);
  Controls.pageDown = ActionPressed(b, bind_page_down);
  Controls.listHome = ActionPressed(b, bind_home);
  Controls.listEnd = ActionPressed(b, bind_end);
  Controls.wheelSteps = InputState.WheelSteps;
  Controls.deleteLevel = ActionPressed(b, bind_delete);
  Controls.watchRun = ActionPressed(b, bind_watch);
}

static void ReadEditorKeys(const KeyBindings& b)
{
  int right = GatedButton(ButtonRight);
  Controls.erase = IsDown(right);
  Controls.erasePressed = right == InputPressed;
  Controls.pick = GatedButton(ButtonMiddle) == InputPressed;
  Controls.rectangle = ActionHeld(b, bind_rectangle);
  Controls.fill = ActionPressed(b, bind_fill);
  Controls.undo = ActionPressed(b, bind_undo);
  Controls.redo = ActionPressed(b, bind_redo);
  Controls.save = ActionPressed(b, bind_save);
  Controls.titleEdit = ActionPressed(b, bind_title);
  Controls.testRun = ActionPressed(b, bind_test);
  Controls.share = ActionPressed(b, bind_share);
  Controls.help = ActionPressed(b, bind_help);
  Controls.search = ActionPressed(b, bind_search);
  Controls.sizeFilter = ActionPressed(b, bind_size);
  Controls.difficultyFilter = ActionPressed(b, bind_difficulty);
  Controls.thumbsUp = ActionPressed(b, bind_thumbs_up);
  Controls.report = ActionPressed(b, bind_report);
  Controls.resizeX = (int)ActionHeld(b, bind_wider) - (int)ActionHeld(b, bind_narrower);
  Controls.resizeY = (int)ActionHeld(b, bind_taller) - (int)ActionHeld(b, bind_shorter);
  Controls.zoomIn = ActionPressed(b, bind_zoom_in);
  Controls.zoomOut = ActionPressed(b, bind_zoom_out);
  Controls.zoomCells = ActionPressed(b, bind_zoom_cells);
  Controls.selectTool = ActionPressed(b, bind_select);
  Controls.copy = ActionPressed(b, bind_copy);
  Controls.cut = ActionPressed(b, bind_cut);
  Controls.paste = ActionPressed(b, bind_paste);
  Controls.flipAcross = ActionPressed(b, bind_flip_across);
  Controls.flipDown = ActionPressed(b, bind_flip_down);
  Controls.testHere = ActionPressed(b, bind_test_here);
  Controls.resizePressed = ActionPressed(b, bind_wider) || ActionPressed(b, bind_narrower) ||
                           ActionPressed(b, bind_taller) || ActionPressed(b, bind_shorter);
}

// Watching ends on any key or button that goes down but the pause and mute
// keys, the window's own (F11, anything with Alt held) and a modifier alone.
static bool AnyPress(const KeyBindings& b)
{
  bool alt = KeyHeld(KeyLAlt) || KeyHeld(KeyRAlt);
  for (int sym = 1; sym < KeyCount && !alt && !Keys.typing; sym++) {
    bool modifier = sym >= KeyFirstModifier && sym <= KeyLastModifier;
    bool kept = sym == KeyF11 || modifier || BoundTo(b, bind_pause, sym) || BoundTo(b, bind_mute, sym);
    if (GatedKey(sym) == InputPressed && !kept)
      return true;
  }
  for (int n = 1; n < MouseButtonCount; n++)
    if (GatedButton(n) == InputPressed)
      return true;
  for (int n = 0; n < PadButtonCount; n++)
    if (n != b.padButton[padbind_pause] && GatedPadButton(n) == InputPressed)
      return true;
  return false;
}

// The editing key a typed key is, or 0: Backspace, Return (not Alt+Return,
// the window's) and Tab, the redo and undo keys (redo first: Ctrl+Shift+Z is
// also the undo key with Shift held).
static char EditingKey(const KeyBindings& b, const TypedKey& k)
{
  if (k.symbol == KeyBackspace)
    return TextBackspace;
  if ((k.symbol == KeyReturn && !k.alt) || k.symbol == KeyTab)
    return TextDone;
  const struct { int action; char key; } edits[] = {{bind_redo, TextRedo}, {bind_undo, TextUndo}};
  for (const auto& e : edits)
    for (int s = 0; s < 2; s++) {
      int slot = b.key[e.action][s];
      if (SlotKeyIs(slot, k.symbol) && ModifiersFit(slot, k.ctrl, k.shift))
        return e.key;
    }
  return 0;
}

// The text queue from this frame's typed keys, in their order, while it fits.
static void ReadTypedText(const KeyBindings& b)
{
  int used = 0;
  for (int i = 0; i < InputState.TypedCount && Keys.typing; i++) {
    const TypedKey& k = InputState.Typed[i];
    char bytes[Utf8MaxBytes];
    bytes[0] = EditingKey(b, k);
    int n = k.character ? Utf8Encode(k.character, bytes) : bytes[0] != 0;
    if (used + n >= TextQueueSize)
      break;
    memcpy(Controls.text + used, bytes, n);
    used += n;
  }
  Controls.text[used] = 0;
}

static bool IsModifier(int symbol)
{
  return symbol >= KeyFirstModifier && symbol <= KeyLastModifier;
}

// While a key is being chosen: the first key pressed, with the Ctrl and Shift
// held; a modifier counts alone when it is let go with no key pressed meanwhile.
static void ReadChosenKey()
{
  static int pendingModifier = NoBinding;
  int key = NoBinding;
  for (int sym = 1; sym < KeyCount && key == NoBinding; sym++) {
    if (GatedKey(sym) != InputPressed)
      continue;
    if (IsModifier(sym))
      pendingModifier = sym;
    else
      key = sym | (Keys.ctrl ? BindCtrl : 0) | (Keys.shift ? BindShift : 0);
  }
  if (key != NoBinding) {
    pendingModifier = NoBinding;
  } else if (pendingModifier != NoBinding && !KeyHeld(pendingModifier)) {
    key = pendingModifier;
    pendingModifier = NoBinding;
  }
  int button = NoBinding;
  for (int n = PadButtonCount - 1; n >= 0; n--)
    if (GatedPadButton(n) == InputPressed)
      button = n;
  float px = Controls.pointerX, py = Controls.pointerY, ax = Controls.aimX, ay = Controls.aimY;
  memset(&Controls, 0, sizeof Controls);
  Controls.pointerX = px;
  Controls.pointerY = py;
  Controls.aimX = ax;
  Controls.aimY = ay;
  Controls.keyChosen = key;
  Controls.padButtonChosen = button;
}

void ReadControls(const KeyBindings& b)
{
  RefreshStaleInputs();
  Keys.ctrl = CtrlModifierHeld(b);
  Keys.shift = KeyHeld(KeyLShift) || KeyHeld(KeyRShift);
  Keys.typing = TypedTextWanted();
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
  int stickColumn = stickX < -StickMenuStep ? -1 : (stickX > StickMenuStep ? 1 : 0);
  bool stickXMoved = stickColumn != History.stickColumn;
  History.stickColumn = stickColumn;
  Controls.menuUp = ActionPressed(b, bind_up) || GatedHat(pad_hat_up) == InputPressed ||
                    (stickMoved && stickRow < 0);
  Controls.menuDown = ActionPressed(b, bind_down) || GatedHat(pad_hat_down) == InputPressed ||
                      (stickMoved && stickRow > 0);
  Controls.menuChoose = ActionPressed(b, bind_choose) || ActionPressed(b, bind_jump) || padJump == InputPressed;
  Controls.menuBack = ActionPressed(b, bind_back) || PadButtonEntry(b, padbind_back) == InputPressed;
  // The results card takes Start, which pauses everywhere else.
  bool startPressed = PadButtonEntry(b, padbind_pause) == InputPressed;
  bool onCard = GameState == gamestate_results;
  Controls.cardLeave = ChooseNotJumpPressed(b) || startPressed;
  Controls.pauseToggle = ActionPressed(b, bind_pause) || (startPressed && !onCard);
  Controls.mute = ActionPressed(b, bind_mute);
  Controls.brushNext = ActionPressed(b, bind_brush_next);
  Controls.brushPrev = ActionPressed(b, bind_brush_prev);
  Controls.restart = ActionPressed(b, bind_restart);
  Controls.nextLevel = ActionPressed(b, bind_next);
  ReadListKeys(b);
  ReadEditorKeys(b);
  Controls.menuLeft = ActionPressed(b, bind_left) || GatedHat(pad_hat_left) == InputPressed ||
                     (stickXMoved && stickColumn < 0);
  Controls.menuRight = ActionPressed(b, bind_right) || GatedHat(pad_hat_right) == InputPressed ||
                      (stickXMoved && stickColumn > 0);
  Controls.keyChosen = Controls.padButtonChosen = NoBinding;
  Controls.anyPress = AnyPress(b);
  ReadTypedText(b);
  if (KeyCaptureWanted)
    ReadChosenKey();
}
