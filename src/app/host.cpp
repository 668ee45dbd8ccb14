// The program's start-up sequence, its frame loop and the per-frame dispatch to the current screen.
#include "app/host.h"

#include <SDL.h>
#include <GL/gl.h>
#include <cstdlib>
#include <ctime>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/files/assist_best.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/lobby/online_tries.h"
#include "game/online/online_account.h"
#include "game/online/online_outbox.h"
#include "game/online/online_queue.h"
#include "game/play/play_step.h"
#include "game/play/time_scale.h"
#include "game/run/medals.h"
#include "game/run/pause_state.h"
#include "game/settings/key_bindings.h"
#include "game/settings/options.h"
#include "game/settings/settings.h"
#include "platform/audio.h"
#include "platform/gamepad.h"
#include "platform/hub_net.h"
#include "platform/input.h"
#include "platform/input_gate.h"
#include "platform/keymap.h"
#include "platform/pacing.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/screenshot.h"
#include "platform/video.h"
#include "platform/window.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "render/frozen_frame.h"
#include "render/medal_view.h"
#include "render/overlay.h"
#include "render/text.h"
#include "ui/editor.h"
#include "ui/editor_share.h"
#include "ui/menus.h"
#include "ui/online.h"
#include "ui/options_screen.h"
#include "ui/pause_layer.h"
#include "ui/results.h"
#include "ui/results_hub.h"
#include "ui/run_flow.h"
#include "ui/watch.h"

static bool FirstFrameDone;   // false until the first frame has been presented

static const float PauseSpeed = 1;               // the pause slide is never scaled by TimeScale

// The screen asked for takes over. It opens with its first entry lit, a
// level list on the level last played or edited.
static void OpenRequestedScreen()
{
  bool known = GameState >= gamestate_title && GameState <= gamestate_options;
  if (ApplyScreenRequest() && known) {
    PlaceMenuCursor();
    if (GameState == gamestate_online)
      OpenOnline();
  }
}

// The state every screen draws its quads in, from the atlas.
static void BeginQuadDrawing()
{
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
}

void RunGameState()
{
  BeginQuadDrawing();

  // Play steps by whole steps of at least 16 ms of play (game/play/play_step.h);
  // the other screens follow the frame's own rate.
  float timeScale = TimeScaleForRate(FramesPerSecond);
  switch (GameState) {
  case gamestate_title:
  case gamestate_playlist:
  case gamestate_editlist:
    MenuFrame();
    if (GameState == gamestate_title)
      DrawLinkedLevelLine();   // a level the page's link names, on its way
    break;
  case gamestate_playing:
    PlayFrame(FrameTime);
    break;
  case gamestate_editing:
    EditorUpdate(timeScale);
    DrawEditor();
    break;
  case gamestate_watching:
    WatchFrame(timeScale);
    break;
  case gamestate_results:
    ResultsFrame(timeScale);
    break;
  case gamestate_options:
    OptionsFrame();
    break;
  case gamestate_online:
    OnlineFrame();
    break;
  default:
    break;
  }
  OpenRequestedScreen();
  DisableQuadDrawing();
}

void StartUp()
{
  StartPlatform();
  ChoosePaths();
  LoadSettings();
  ReadHubSetting();
  LoadHubAccount();
  LoadHubOutbox();
  StartHubNet();
  srand((unsigned)time(NULL));
  SetUpVideo();
  UseWindowKeyNames();  // key names are known once the video is up
  LoadKeyBindings();
  OpenGamepad();
  SetUpDashboard();     // needs the real screen size for the ReadbackBuffer
  LoadLevelCatalogue();
  LoadAssistBests();
  ScanGhostFiles();
  FindAuthorScores();   // re-runs the author runs: before anything is in play
  BuildAtlas();
  BuildFontGlyphs();
  LoadMedalPictures();
  StartAudio();
  OpenLinkedLevel();
}

// Empties SDL's queue; a window close among the events ends the program,
// or asks first when the editor holds unsaved edits.
static void DrainEvents()
{
  SDL_Event event;
  while (TakeEvent(&event, AnyEventType))
    if (event.type == SDL_QUIT)
      CloseWindow();
}

void RunFrame()
{
  // A screen asked for between frames (the page's "Exit") takes over before anything runs.
  OpenRequestedScreen();

  // Start from a black picture and a far depth buffer.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Refresh the key, button, pointer and pad snapshot from SDL's queue, follow a resized
  // or switched window, then read what the player asks for.
  SDL_PumpEvents();
  PollInput();
  FollowWindow();
  ReadControls(Bindings);

  // Hub requests go out and answers come in without waiting, before the screens read them.
  DriveHubNet();
  StepHubOutbox();   // runs kept while the hub could not be reached
  StepHubTries();    // hub levels played without finishing them

  // The current screen updates and draws itself, unless the pause layer is up or
  // coming up; the screen it asks for takes over at the end of its frame.
  bool screenRuns = ScreenRuns();
  if (screenRuns)
    RunGameState();

  // Hold the frame to at least 16 ms, measure the rate for the next TimeScale, refresh the clock texts.
  PaceFrame();

  // Escape toggle, frame capture and the frozen picture; the layer slides one step.
  StepPause(PauseSpeed, screenRuns);

  // The dashboard bars and the menu, at the level just stepped to; a row that
  // leaves the screen takes over at once, and a screenshot asked for is written.
  if (PauseLevel != 0 && Options.overPause) {
    BeginQuadDrawing();
    OptionsFrame();
    DisableQuadDrawing();
  } else if (PauseLevel != 0) {
    DrawPauseDashboard(ScreenshotNoteShown());
    PauseMenu();
    OpenRequestedScreen();
    SaveWantedScreenshot();
  }

  // Keys and buttons held into a new screen, or pressed during a pause, are stale until let go;
  // the title being edited has the keys from the next frame on, unless the pause layer has them.
  FollowScreen(GameState, PauseWanted);
  bool naming = (GameState == gamestate_results && ResultsHubNaming()) ||
                (GameState == gamestate_editing && EditorShareNaming()) ||
                (GameState == gamestate_online && OnlineTyping());
  WantTypedText(((GameState == gamestate_editing && EditorTitleEditing) || naming) && !PauseWanted);

  // The frame's sound events, the theme for the screen and the rolling ball, on the mixer's thread.
  PlaySounds();

  // The game's own pointer goes over everything, from the second frame on and only with mouse focus.
  MouseInWindow = PointerInWindow();
  if (FirstFrameDone && MouseInWindow)
    DrawCursor((int)Controls.aimX, (int)Controls.aimY);
  FirstFrameDone = true;

  // Present the frame, then drop what is left on the queue, watching for a window close.
  SDL_GL_SwapBuffers();
  DrainEvents();
}

int RunProgram()
{
  StartUp();
  RunMainLoop(RunFrame);
  StopHubNet();
  StopAudio();
  SDL_Quit();
  return 0;
}
