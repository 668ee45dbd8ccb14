// The input state machine: PollInput taking real key and button events off
// SDL's queue (dummy video driver), and numbers outside the tables.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>

#include "app/input.h"

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

TEST_F(ShellPollInput, PressedHeldReleasedAndDownsBeforeUps)
{
  // Frame 1: Space down; A released and pressed again (up queued first);
  // a wheel step; a button past the table; the left button; a window close.
  Push(SDL_KEYDOWN, KeySpace);
  Push(SDL_KEYUP, KeyA);
  Push(SDL_KEYDOWN, KeyA);
  Push(SDL_MOUSEBUTTONDOWN, 4);
  Push(SDL_MOUSEBUTTONUP, 4);
  Push(SDL_MOUSEBUTTONDOWN, 12);
  Push(SDL_MOUSEBUTTONDOWN, ButtonLeft);
  Push(SDL_QUIT, 0);
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeySpace], InputPressed);
  EXPECT_EQ(InputState.KeyState[KeyA], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[4], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputPressed);
  SDL_Event left;
  EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 1);
  EXPECT_EQ(left.type, SDL_QUIT);  // left for the frame loop's drain

  // Frames 2 and 3: nothing new, both stay held.
  for (int frame = 2; frame <= 3; frame++) {
    PollInput();
    EXPECT_EQ(InputState.KeyState[KeySpace], InputHeld) << "frame " << frame;
    EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputHeld) << "frame " << frame;
  }

  // Frame 4: Space goes up; frame 5: the left button goes up.
  Push(SDL_KEYUP, KeySpace);
  PollInput();
  EXPECT_EQ(InputState.KeyState[KeySpace], InputUp);
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputHeld);
  Push(SDL_MOUSEBUTTONUP, ButtonLeft);
  PollInput();
  EXPECT_EQ(InputState.MouseButtonState[ButtonLeft], InputUp);
}

}  // namespace
