// The controls record on screens with typing and moved keys: typing into
// the title takes every character and no game key; every action moved to
// another key acts on every screen.
#include "pad_and_keys.h"

namespace {

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

}  // namespace
