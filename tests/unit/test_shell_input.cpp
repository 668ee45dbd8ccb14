// The input state machine: PollInput taking real key, button and focus events
// off SDL's queue (dummy video driver) in their order, and numbers outside the tables.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>

#include "platform/gamepad.h"
#include "platform/input.h"

namespace {

void ClearInput() { memset(&InputState, 0, sizeof(InputState)); }

TEST(ShellInput, NumbersOutsideTheTablesChangeNothing)
{
  ClearInput();
  InputState.MouseX = 123;
  ApplyKeyDown(KeyCount);        // one past the keys: would land on button 0
  ApplyKeyDown(-1);
  ApplyButtonDown(MouseButtonCount);  // one past the buttons: would land on MouseX
  ApplyButtonDown(12);
  ApplyButtonDown(-3);
  EXPECT_EQ(InputState.MouseButtonState[0], 0);
  EXPECT_EQ(InputState.MouseX, 123);
  for (int i = 0; i < KeyCount; i++)
    ASSERT_EQ(InputState.KeyState[i], InputUp) << "key " << i;
  ApplyButtonDown(9);
  EXPECT_EQ(InputState.MouseButtonState[9], InputPressed);
}

class ShellPollInput : public ::testing::Test {
protected:
  void SetUp() override
  {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ClearInput();
    ReleasePad();
  }
  void TearDown() override { SDL_Quit(); }

  // Queues one event; number is the key symbol or the button number.
  static void Push(Uint8 type, int number)
  {
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = type;
    bool down = type == SDL_KEYDOWN || type == SDL_MOUSEBUTTONDOWN;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
      e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
      e.key.keysym.sym = (SDLKey)number;
    } else if (type != SDL_QUIT) {
      e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
      e.button.button = (Uint8)number;
    }
    SDL_PushEvent(&e);
  }
};

TEST_F(ShellPollInput, EventsApplyInTheirOrderALostFocusLetsAllGo)
{
  // Frame 1: a Space tap, A let go before it went down, a left click, a wheel
  // step, a button past the table, B down, a window close.
  Push(SDL_KEYDOWN, KeySpace);
  Push(SDL_KEYUP, KeySpace);
  Push(SDL_KEYUP, KeyA);
  Push(SDL_KEYDOWN, KeyA);
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft);
  Push(SDL_MOUSEBUTTONUP, ButtonLeft);
  Push(SDL_MOUSEBUTTONDOWN, ButtonWheelUp);
  Push(SDL_MOUSEBUTTONDOWN, 12);
  Push(SDL_KEYDOWN, KeyB);
  Push(SDL_QUIT, 0);
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeySpace] + InputState.KeyState[KeyA], 2 * InputPressed);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputPressed);
  EXPECT_EQ(InputState.MouseButtonState[ButtonWheelUp], InputUp);
  SDL_Event left;
  EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 1);
  EXPECT_EQ(left.type, SDL_QUIT);  // left for the frame loop's drain

  // Frame 2: the tap and the click are over. B, held, is let go, pressed,
  // let go and pressed again: pressed anew, then held.
  Push(SDL_KEYUP, KeyB);
  Push(SDL_KEYDOWN, KeyB);
  Push(SDL_KEYUP, KeyB);
  Push(SDL_KEYDOWN, KeyB);
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeySpace] + InputState.MouseButtonState[ButtonLeft], InputUp);
  EXPECT_EQ(InputState.KeyState[KeyA], InputHeld);
  EXPECT_EQ(InputState.KeyState[KeyB], InputPressed);

  // The pointer leaving keeps the keys; the keyboard focus going lets every
  // key and button go, and what comes after it in the frame counts.
  SDL_Event e = {};
  e.type = SDL_ACTIVEEVENT;
  e.active.state = SDL_APPMOUSEFOCUS;
  SDL_PushEvent(&e);
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeyB], InputHeld);
  EXPECT_FALSE(InputState.FocusLost);
  PadState.button[3] = InputHeld;
  e.active.state = SDL_APPINPUTFOCUS;
  SDL_PushEvent(&e);
  Push(SDL_KEYDOWN, KeyUp);
  PollInput();
  EXPECT_TRUE(InputState.FocusLost);
  EXPECT_EQ(InputState.KeyState[KeyA] + InputState.KeyState[KeyB] + PadState.button[3], InputUp);
  EXPECT_EQ(InputState.KeyState[KeyUp], InputPressed);
}

}  // namespace
