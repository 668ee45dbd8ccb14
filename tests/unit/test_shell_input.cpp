// The input state machine: pressed, held and released keys and buttons, and
// PollInput taking real events off SDL's queue (dummy video driver).
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>

#include "app/input.h"

namespace {

void ClearInput() { memset(&InputState, 0, sizeof(InputState)); }

TEST(ShellInput, KeyAndButtonTransitions)
{
  ClearInput();
  ApplyKeyDown(KeyW);
  EXPECT_EQ(InputState.KeyState[KeyW], InputPressed);
  AgeKeys();
  EXPECT_EQ(InputState.KeyState[KeyW], InputHeld);
  AgeKeys();
  EXPECT_EQ(InputState.KeyState[KeyW], InputHeld);
  ApplyKeyUp(KeyW);
  EXPECT_EQ(InputState.KeyState[KeyW], InputUp);

  ApplyButtonDown(ButtonLeft);
  AgeKeys();
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputPressed);
  AgeButtons();
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputHeld);
  ApplyButtonUp(ButtonLeft);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputUp);
}

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
  }
  void TearDown() override { SDL_Quit(); }

  static void PushKey(Uint8 type, int symbol)
  {
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = (SDLKey)symbol;
    SDL_PushEvent(&e);
  }
  static void PushButton(Uint8 type, int button)
  {
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = type;
    e.button.button = (Uint8)button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
  }
};

TEST_F(ShellPollInput, DownsBeforeUpsAndOtherEventsStayQueued)
{
  // Frame 1: Space down; A released and pressed again (up queued first).
  PushKey(SDL_KEYDOWN, KeySpace);
  PushKey(SDL_KEYUP, KeyA);
  PushKey(SDL_KEYDOWN, KeyA);
  PushButton(SDL_MOUSEBUTTONDOWN, 4);  // a wheel step
  PushButton(SDL_MOUSEBUTTONUP, 4);
  PushButton(SDL_MOUSEBUTTONDOWN, 12);
  PushButton(SDL_MOUSEBUTTONDOWN, ButtonLeft);
  SDL_Event quit;
  memset(&quit, 0, sizeof(quit));
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeySpace], InputPressed);
  EXPECT_EQ(InputState.KeyState[KeyA], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[4], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputPressed);
  SDL_Event left;
  EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 1);
  EXPECT_EQ(left.type, SDL_QUIT);

  // Frame 2: nothing new; frame 3: Space goes up.
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeySpace], InputHeld);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputHeld);
  PushKey(SDL_KEYUP, KeySpace);
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeySpace], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputHeld);
}

}  // namespace
