// The controls record: gamepad events on SDL's queue (dummy video driver) move,
// jump, aim and shoot as the keys and mouse do; key bindings from the settings,
// acting on every screen; typing into the title; the narrow-window scale of
// the bars and the pause layer.
#include <gtest/gtest.h>

#include <SDL.h>
#include <string>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/base/utf8.h"
#include "game/edit/edit_history.h"
#include "game/files/level_files.h"
#include "game/run/level_start.h"
#include "game/settings/key_bindings.h"
#include "game/settings/key_names.h"
#include "game/settings/settings.h"
#include "platform/gamepad.h"
#include "platform/input_gate.h"
#include "platform/keymap.h"
#include "play_setup.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "test_support.h"
#include "ui/bars.h"
#include "ui/editor.h"
#include "ui/menus.h"

namespace {

class PadAndKeys : public ::testing::Test {
protected:
  void SetUp() override
  {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    memset(&InputState, 0, sizeof InputState);
    ReleasePad();
    ResetControlsHistory();
    Bindings = DefaultBindings;
  }
  void TearDown() override { EditorTitleEditing = false; WantTypedText(false); SDL_Quit(); }   // no title left open

  static void Push(Uint8 type, int number, int value)
  {
    SDL_Event e = {};
    e.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
      e.key.keysym.sym = (SDLKey)number;
      e.key.keysym.unicode = (Uint16)value;   // the character the key typed
    } else if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) {
      e.button.button = (Uint8)number;
    } else if (type == SDL_JOYAXISMOTION) {
      e.jaxis.axis = (Uint8)number;
      e.jaxis.value = (Sint16)value;
    } else if (type == SDL_JOYHATMOTION) {
      e.jhat.value = (Uint8)value;
    } else {
      e.jbutton.button = (Uint8)number;
      e.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    }
    SDL_PushEvent(&e);
  }

  // One frame as the game runs it: events, controls, the play step.
  static void Frame()
  {
    PollInput();
    ReadControls(Bindings);
    UpdateGame(1);
  }

  // A ball on the floor of a walled level, settled.
  static void Settle()
  {
    ResetPlay(30, 20, 15.5f, 17.5f);
    Camera.leads = false;   // the pointer rests in a corner here: a leading view would leave the ball, and
                            // the aims below are laid out from a view steady on it
    WallIn(maptype_blocknormal);
    for (int i = 0; i < 60; i++)
      Frame();
  }
};

TEST_F(PadAndKeys, PadMovesJumpsAimsAndShootsAsKeysAndMouseDo)
{
  // The left stick and the D-pad steer like the arrows; the stick's strength counts.
  float keyX, stickX, halfX, hatX;
  Settle();
  InputState.KeyState[KeyRight] = InputHeld;
  for (int i = 0; i < 20; i++) Frame();
  keyX = Ball.x;
  Settle();
  Push(SDL_JOYAXISMOTION, 0, 32767);
  for (int i = 0; i < 20; i++) Frame();
  stickX = Ball.x;
  EXPECT_EQ(Controls.steerX, 1);
  Push(SDL_JOYAXISMOTION, 0, 5000);   // inside the dead zone
  PollInput();
  ReadControls(Bindings);
  EXPECT_EQ(Controls.steerX, 0);
  Settle();
  Push(SDL_JOYAXISMOTION, 0, 20479);  // half way past the dead zone
  for (int i = 0; i < 20; i++) Frame();
  halfX = Ball.x;
  Push(SDL_JOYAXISMOTION, 0, 0);
  Settle();
  Push(SDL_JOYHATMOTION, 0, SDL_HAT_RIGHT);
  for (int i = 0; i < 20; i++) Frame();
  hatX = Ball.x;
  Push(SDL_JOYHATMOTION, 0, SDL_HAT_CENTERED);
  EXPECT_FLOAT_EQ(stickX, keyX);
  EXPECT_FLOAT_EQ(hatX, keyX);
  EXPECT_GT(halfX, 15.6f);
  EXPECT_LT(halfX - 15.5f, (keyX - 15.5f) * 0.7f);

  // A jumps like Space.
  Settle();
  Push(SDL_JOYBUTTONDOWN, 0, 0);
  Frame();
  EXPECT_TRUE(Controls.jump);
  EXPECT_TRUE(Controls.menuChoose);
  EXPECT_LT(Ball.vy, -0.3f);
  Push(SDL_JOYBUTTONUP, 0, 0);
  Frame();
  EXPECT_FALSE(Controls.jump);

  // The right stick aims at the window's right edge like the pointer there,
  // and the right trigger shoots and holds the tether like the left button.
  Settle();
  InputState.MouseX = 800;   // set after the poll: the dummy driver's pointer stays at 0, 0
  InputState.MouseY = 300;
  InputState.MouseButtonState[ButtonLeft] = InputPressed;
  ReadControls(Bindings);
  UpdateGame(1);
  ASSERT_TRUE(Ball.attached);
  float mouseAnchorX = Ball.anchorX, mouseAnchorY = Ball.anchorY;
  Settle();
  Push(SDL_JOYAXISMOTION, 3, 32767);
  Push(SDL_JOYAXISMOTION, 5, 32767);
  Frame();
  EXPECT_TRUE(Ball.attached);
  EXPECT_FLOAT_EQ(Ball.anchorX, mouseAnchorX);
  EXPECT_FLOAT_EQ(Ball.anchorY, mouseAnchorY);
  Push(SDL_JOYAXISMOTION, 3, 0);   // the stick lets go: the aim stays
  Frame();
  EXPECT_EQ(Controls.aimX, 800);   // the stick's aim: the pointer has not moved
  Push(SDL_JOYAXISMOTION, 5, -32768);
  Frame();
  EXPECT_FALSE(Ball.attached);

  // Menus: the D-pad and the stick move one row per push; B goes back, Start pauses.
  Push(SDL_JOYHATMOTION, 0, SDL_HAT_DOWN);
  PollInput();
  ReadControls(Bindings);
  EXPECT_TRUE(Controls.menuDown);
  PollInput();
  ReadControls(Bindings);
  EXPECT_FALSE(Controls.menuDown);
  Push(SDL_JOYAXISMOTION, 1, -32767);
  Push(SDL_JOYBUTTONDOWN, 1, 0);
  Push(SDL_JOYBUTTONDOWN, 7, 0);
  PollInput();
  ReadControls(Bindings);
  EXPECT_TRUE(Controls.menuUp && Controls.menuBack && Controls.pauseToggle);
  PollInput();
  ReadControls(Bindings);
  EXPECT_FALSE(Controls.menuUp || Controls.menuBack || Controls.pauseToggle);
  ShowScreen(gamestate_results);   // where Start leaves the card and does not pause
  Push(SDL_JOYBUTTONUP, 7, 0);
  Push(SDL_JOYBUTTONDOWN, 7, 0);
  PollInput();
  ReadControls(Bindings);
  EXPECT_TRUE(Controls.cardLeave && !Controls.pauseToggle);
}

// Real queued clicks, the right stick aiming: one inside a frame shoots for
// that frame only; let go and pressed again inside a frame, it shoots anew.
TEST_F(PadAndKeys, TetherClicksAndQuickPressesWithinOneFrame)
{
  Settle();
  Push(SDL_JOYAXISMOTION, 3, 32767);   // at the right wall
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft, 0);
  Push(SDL_MOUSEBUTTONUP, ButtonLeft, 0);
  Frame();
  EXPECT_TRUE(Ball.attached && Controls.pointerClick);
  Frame();
  EXPECT_FALSE(Ball.attached);
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft, 0);
  Frame();
  EXPECT_GT(Ball.anchorX, 28);
  Push(SDL_JOYAXISMOTION, 3, 0);
  Push(SDL_JOYAXISMOTION, 4, -32767);   // at the ceiling
  Push(SDL_MOUSEBUTTONUP, ButtonLeft, 0);
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft, 0);
  Frame();
  Frame();
  EXPECT_TRUE(Ball.attached && Controls.tether);
  EXPECT_LT(Ball.anchorY, 2);
}

// Space, the left button and the D-pad held when the title gives way to play
// do nothing there until let go; pressed again, even inside one frame, they act.
TEST_F(PadAndKeys, HeldThroughAChangeOfScreenActsOnlyWhenPressedAgain)
{
  Settle();
  FollowScreen(gamestate_title, false);
  Push(SDL_KEYDOWN, KeySpace, 0);
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft, 0);
  Push(SDL_JOYHATMOTION, 0, SDL_HAT_RIGHT);
  PollInput();   // the title's frame
  FollowScreen(gamestate_playing, false);
  float x = Ball.x, y = Ball.y;
  for (int i = 0; i < 3; i++)
    Frame();
  EXPECT_FALSE(Controls.jump || Controls.tether || Controls.steerX != 0);
  EXPECT_FLOAT_EQ(Ball.x, x);
  EXPECT_FLOAT_EQ(Ball.y, y);
  Push(SDL_KEYUP, KeySpace, 0);
  Push(SDL_MOUSEBUTTONUP, ButtonLeft, 0);
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft, 0);
  Push(SDL_JOYHATMOTION, 0, SDL_HAT_RIGHT | SDL_HAT_UP);   // right reported again, not pressed again
  Frame();
  EXPECT_TRUE(Controls.tether && Ball.attached && Controls.steerX == 0);
  Push(SDL_KEYDOWN, KeySpace, 0);
  FollowScreen(gamestate_playing, false);   // the same screen: nothing goes stale
  Frame();
  EXPECT_TRUE(Controls.jump && Controls.tether);
}

// The tether and Right held through a pause keep acting after it; Space pressed during it does not.
TEST_F(PadAndKeys, HeldThroughAPauseKeepsActingPressesDuringItAreStale)
{
  Settle();
  FollowScreen(gamestate_playing, false);
  Push(SDL_JOYAXISMOTION, 4, -32767);   // aim at the ceiling
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft, 0);
  Push(SDL_KEYDOWN, KeyRight, 0);
  Frame();
  FollowScreen(gamestate_playing, true);
  Push(SDL_KEYDOWN, KeySpace, 0);
  PollInput();
  FollowScreen(gamestate_playing, false);
  Frame();
  EXPECT_TRUE(Controls.tether && Ball.attached && Controls.steerX == 1 && !Controls.jump);
}

TEST_F(PadAndKeys, RemappedKeysActOldOnesDoNotUnknownNamesKeepDefaults)
{
  ScratchDir dir;
  WriteFile("settings.ini", "key_jump = x\nkey_left = Left Shift\nkey_right = nosuchkey\n"
                            "key_up_alt = none\npad_jump = 3\npad_axis_aim_x = 99\n");
  ReadSettingsFile();
  testing::internal::CaptureStderr();
  LoadKeyBindings();
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("key_right = nosuchkey"), std::string::npos);
  EXPECT_NE(said.find("pad_axis_aim_x = 99"), std::string::npos);
  EXPECT_EQ(said.find("key_jump"), std::string::npos);
  EXPECT_EQ(KeySymbolNamed("leftshift"), SDLK_LSHIFT);
  // The game's own key names (the browser's SDL has none) are the desktop SDL's, all but "world N".
  for (int sym = 1; sym < SDLK_LAST; sym++) {
    const char *own = KeyNameOf(sym), *sdl = SDL_GetKeyName((SDLKey)sym);
    EXPECT_TRUE(own ? !strcmp(own, sdl) : !strcmp(sdl, "unknown key") || !strncmp(sdl, "world ", 6)) << sym;
  }

  auto controlsWith = [](int key) {
    memset(&InputState, 0, sizeof InputState);
    if (key >= 0)
      InputState.KeyState[key] = InputPressed;
    ReadControls(Bindings);
    return Controls;
  };
  EXPECT_TRUE(controlsWith(SDLK_x).jump);
  EXPECT_TRUE(controlsWith(SDLK_x).menuChoose);
  EXPECT_FALSE(controlsWith(KeySpace).jump);
  EXPECT_EQ(controlsWith(SDLK_LSHIFT).steerX, -1);
  EXPECT_EQ(controlsWith(KeyLeft).steerX, 0);
  EXPECT_EQ(controlsWith(KeyA).steerX, -1);       // the second slot keeps its default
  EXPECT_EQ(controlsWith(KeyRight).steerX, 1);    // unknown name: the default stays
  EXPECT_FALSE(controlsWith(KeyW).menuUp);
  EXPECT_TRUE(controlsWith(KeyUp).menuUp);
  EXPECT_EQ(Bindings.padButton[padbind_jump], 3);
  EXPECT_EQ(Bindings.padAxis[padaxis_aim_x], DefaultBindings.padAxis[padaxis_aim_x]);
}

const char* const Room = "Room\n5\n4\nbbbbb\nbjaab\nbaalb\nbbbbb\n";

// Every printable ASCII character and a few beyond, typed into the title
// through real key events, two a frame, go there in their order and nothing
// else acts: no mute, pause or restart, no paint, fill, brush, pan or save.
// Ctrl+Z and Ctrl+Y take back and put back the field's own changes; Escape
// still pauses.
TEST_F(PadAndKeys, TypedTitleTakesEveryCharacterInOrderAndNoGameKeyActs)
{
  ScratchDir dir;
  WriteLevel(1, Room);
  LoadLevelCatalogue();
  StartLevel(1);
  ShowScreen(gamestate_editing);
  OpenEditor(1, false);
  float camY = Camera.camY;
  int brush = EditorBrush;
  Bindings.key[bind_pause][1] = 'p';   // a pause key that types a letter types it
  auto frame = [] {
    PollInput();
    ReadControls(Bindings);
    EditorUpdate(1);
    WantTypedText(EditorTitleEditing);
    return Controls.mute || Controls.pauseToggle || Controls.restart || Controls.undo || Controls.redo;
  };
  auto type = [](int sym, unsigned character) {
    Push(SDL_KEYDOWN, sym, (int)character);
    Push(SDL_KEYUP, sym, 0);
  };
  type(KeyTab, '\t');
  frame();
  std::string typed;
  const unsigned beyond[] = {0xE9, 0x416, 0x20AC};   // é Ж €
  for (unsigned c = ' '; c <= '~' + 3; c++) {
    unsigned code = c <= '~' ? c : beyond[c - '~' - 1];
    type(code < 0x80 ? tolower((int)code) : 0, code);   // the key a letter is on, capital or not
    char bytes[Utf8MaxBytes];
    typed.append(bytes, Utf8Encode(code, bytes));
    EXPECT_FALSE(c % 2 && frame()) << "a game key acted on " << code;   // two keys a frame
  }
  type('x', 'x');   // x, Backspace, y: the order they came in
  type(KeyBackspace, '\b');
  type(KeyY, 'y');
  frame();
  EXPECT_EQ(std::string(EditTitle), "Room" + typed + "y");
  Push(SDL_KEYDOWN, KeyLCtrl, 0);
  for (int key : {KeyZ, KeyZ, KeyY})
    type(key, key - KeyA + 1);   // Ctrl+letter as X translates it
  EXPECT_FALSE(frame());
  EXPECT_EQ(std::string(EditTitle), "Room" + typed);
  Push(SDL_KEYUP, KeyLCtrl, 0);
  type(KeyEscape, 27);
  EXPECT_TRUE(frame() && Controls.pauseToggle);
  type(KeyReturn, '\r');
  frame();
  Push(SDL_KEYDOWN, KeyLCtrl, 0);
  type(KeyS, 19);   // Ctrl+S: the level is saved as it was, with its new title
  frame();
  EXPECT_EQ(ReadFile("Levels/level1.dat"), "Room" + typed + std::string(Room).substr(4));
  EXPECT_TRUE(EditorBrush == brush && Camera.camY == camY && !EditorTitleEditing);
}

// Every action moved to an unusual key acts on its screen through the keymap,
// and its old key no longer does. Watching ends on any key but the pause and
// mute keys, F11, keys with Alt held and a modifier alone.
TEST_F(PadAndKeys, MovedKeysActOnEveryScreen)
{
  ScratchDir dir;
  WriteFile("settings.ini", "key_page_down = [3]\nkey_choose = enter\nkey_fill = [5]\nkey_undo = f6\n"
                            "key_redo = shift + f6\nkey_wider = ctrl + [6]\nkey_title = f2\nkey_pause = f7\n"
                            "key_restart = [0]\nkey_next = [9]\n");
  ReadSettingsFile();
  LoadKeyBindings();
  auto press = [](std::initializer_list<int> keys, int button = 0) {
    memset(&InputState, 0, sizeof InputState);
    for (int k : keys)
      InputState.KeyState[k] = InputPressed;
    InputState.MouseButtonState[button] = InputPressed;
    InputState.MouseX = 400, InputState.MouseY = 300;
    ReadControls(Bindings);
  };
  for (int n = 1; n <= 8; n++)
    WriteLevel(n, Room);
  LoadLevelCatalogue();
  ShowScreen(gamestate_playlist);
  MenuCursor = MenuFirstRow = 0;
  for (int key : {KeyPageDown, KeyReturn, (int)SDLK_KP3, (int)SDLK_KP_ENTER}) {
    press({key});
    MenuInput();
  }
  EXPECT_TRUE(ScreenNow() == gamestate_playing && CurrentLevel == 7);

  ShowScreen(gamestate_editing);
  OpenEditor(7, false);
  ScreenWidth = 800;
  ScreenHeight = 600;
  AspectRatio = ScreenWidth / ScreenHeight;
  Camera.camX = Camera.camY = 2.5f;   // the pointer in the middle: the marker on cell (2, 2)
  EditorBrush = maptype_blockharmful;
  const int harmful = maptype_blockharmful;
  const struct { std::initializer_list<int> keys; int cell, width; bool title; } edits[] = {
    {{KeyF}, 0, 5, false}, {{SDLK_KP5}, harmful, 5, false}, {{SDLK_F6}, 0, 5, false},
    {{KeyLShift, SDLK_F6}, harmful, 5, false}, {{KeyLCtrl, KeyRight}, harmful, 5, false},
    {{KeyLCtrl, SDLK_KP6}, harmful, 6, false}, {{KeyTab}, harmful, 6, false}, {{SDLK_F2}, harmful, 6, true}};
  for (const auto& e : edits) {
    press(e.keys);
    EditorUpdate(1);
    EXPECT_TRUE(CellAt(2, 2) == e.cell && LevelWidth == e.width && EditorTitleEditing == e.title) << *e.keys.begin();
  }

  ShowScreen(gamestate_results);
  press({KeyReturn, KeyR, KeyN});
  EXPECT_FALSE(Controls.cardLeave || Controls.restart || Controls.nextLevel);
  press({SDLK_KP_ENTER, SDLK_KP0, SDLK_KP9});
  EXPECT_TRUE(Controls.cardLeave && Controls.restart && Controls.nextLevel);

  ShowScreen(gamestate_watching);
  const int kept[][2] = {{SDLK_F7, 0}, {KeyM, 0}, {SDLK_F11, 0}, {KeyLShift, 0}, {KeyLAlt, 'x'}};
  for (const auto& k : kept) {
    press({k[0], k[1]});
    EXPECT_FALSE(Controls.anyPress) << k[0];
  }
  press({KeyEscape});
  EXPECT_TRUE(Controls.anyPress && !Controls.pauseToggle);
  press({}, ButtonRight);
  EXPECT_TRUE(Controls.anyPress);
}

TEST(NarrowWindow, BarsAndPauseLayerScaleOnlyWhenTooNarrow)
{
  ScreenWidth = 800;
  ScreenHeight = 600;
  AspectRatio = ScreenWidth / ScreenHeight;
  EXPECT_EQ(ScreenOrthoHalfHeight(), 400);
  EXPECT_EQ(OverlayScale(), 1);
  ScreenWidth = 600;
  ScreenHeight = 900;
  AspectRatio = ScreenWidth / ScreenHeight;
  EXPECT_GE(ScreenOrthoHalfHeight() * AspectRatio, MenuBarWidth / 2 + PanelBorder);
  EXPECT_FLOAT_EQ(OverlayWidth(), OverlayNeededWidth);
  EXPECT_FLOAT_EQ(OverlayHeight(), 900 / OverlayScale());
}

}  // namespace
