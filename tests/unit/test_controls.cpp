// The controls record: gamepad events on SDL's queue (dummy video driver) move,
// jump, aim and shoot as the keys and mouse do; held input across a change of
// screen or a pause; key bindings from the settings; the narrow-window scale of
// the bars and the pause layer. Typing and moved keys: test_controls_typing.cpp.
#include "pad_and_keys.h"

#include "render/draw.h"
#include "render/overlay.h"
#include "ui/bars.h"

namespace {

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
