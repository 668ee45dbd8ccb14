// The program's start-up sequence, its frame loop and the per-frame dispatch to the current screen.
#include "app/host.h"

#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/audio.h"
#include "app/gamepad.h"
#include "app/input.h"
#include "app/input_gate.h"
#include "app/keymap.h"
#include "app/pacing.h"
#include "app/pause.h"
#include "app/platform.h"
#include "app/paths.h"
#include "app/settings.h"
#include "app/video.h"
#include "app/window.h"
#include "game/ghost.h"
#include "game/controls.h"
#include "game/level_files.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "ui/editor.h"
#include "ui/menus.h"
#include "ui/results.h"
#include "ui/run_flow.h"
#include "ui/watch.h"

int GameState;
int MenuCursor;
int MenuFirstRow;
bool QuitRequested;
bool FirstFrameDone;
bool MouseInWindow;
char GameTitleText[256];
float VersionNumber;

static const char* GameTitle = "Tetherorb 2";
static const float GameVersion = 0.3f;
static const float FramesPerSecondNominal = 60;  // the rate all per-frame steps are tuned for
static const float MinTimeScale = 0.2f;
static const float MaxTimeScale = 2;
static const float PauseSpeed = 1;               // the pause slide is never scaled by TimeScale

float ComputeTimeScale(float framesPerSecond)
{
  float scale = FramesPerSecondNominal / framesPerSecond;
  if (!(scale >= MinTimeScale))   // also a NaN rate, so play never runs on NaN steps
    return MinTimeScale;
  if (scale > MaxTimeScale)
    return MaxTimeScale;
  return scale;
}

void RunGameState()
{
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);

  int frameState = GameState;
  float timeScale = ComputeTimeScale(FramesPerSecond);
  switch (frameState) {
  case gamestate_title:
  case gamestate_playlist:
  case gamestate_editlist:
    MenuFrame();
    break;
  case gamestate_playing:
    PlayFrame(timeScale);
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
  default:
    break;
  }
  // A screen opens with its first entry lit, a level list on the level last played or edited.
  bool known = frameState >= gamestate_title && frameState <= gamestate_results;
  if (known && GameState != frameState)
    PlaceMenuCursor();
  DisableQuadDrawing();
}

void StartUp()
{
  StartPlatform();
  ChoosePaths();
  LoadSettings();
  srand((unsigned)time(NULL));
  SetUpVideo();
  LoadKeyBindings();  // key names are known once the video is up
  OpenGamepad();
  SetUpDashboard();   // needs the real screen size for the ReadbackBuffer
  snprintf(GameTitleText, sizeof(GameTitleText), "%s", GameTitle);
  VersionNumber = GameVersion;
  LoadLevelCatalogue();
  ScanGhostFiles();
  BuildAtlas();
  BuildFontGlyphs();
  StartAudio();
}

// Empties SDL's queue; a window close among the events ends the program.
static void DrainEvents()
{
  SDL_Event event;
  while (TakeEvent(&event, AnyEventType))
    if (event.type == SDL_QUIT)
      QuitRequested = true;
}

void RunFrame()
{
  // Start from a black picture and a far depth buffer.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Refresh the key, button, pointer and pad snapshot from SDL's queue, follow a resized
  // or switched window, then read what the player asks for.
  SDL_PumpEvents();
  PollInput();
  FollowWindow();
  ReadControls(Bindings);

  // The current screen updates and draws itself, unless the pause layer is up or coming up.
  bool screenRuns = ScreenRuns();
  if (screenRuns)
    RunGameState();

  // Hold the frame to at least 16 ms, measure the rate for the next TimeScale, refresh the clock texts.
  PaceFrame();

  // Escape toggle, frame capture and the frozen picture; the layer slides one step.
  StepPause(PauseSpeed, screenRuns);

  // The dashboard bars and the menu, at the level just stepped to.
  if (PauseLevel != 0) {
    DrawPauseDashboard();
    PauseMenu();
  }

  // Keys and buttons held into a new screen, or pressed during a pause, are stale until let go.
  FollowScreen(GameState, PauseWanted);

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
  RunMainLoop();
  StopAudio();
  SDL_Quit();
  return 0;
}
