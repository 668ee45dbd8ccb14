// pad_and_keys: the fixture of the controls tests (test_controls.cpp,
// test_controls_typing.cpp): SDL on its dummy video driver, input cleared,
// the default bindings; events pushed onto SDL's queue and frames run as the
// game runs them.
//   PadAndKeys::Push(type, number, value)   one event on SDL's queue
//   PadAndKeys::Frame()                      events, controls, the play step
//   PadAndKeys::Settle()                     a ball settled on the floor of a walled level
#pragma once

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
