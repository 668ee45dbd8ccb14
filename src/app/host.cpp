#include "app/host.h"

#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/input.h"
#include "app/pacing.h"
#include "app/pause.h"
#include "app/settings.h"
#include "app/video.h"
#include "game/level_files.h"
#include "game/update.h"
#include "render/atlas.h"
#include "render/overlay.h"
#include "ui/editor.h"
#include "ui/menus.h"
#include "ui/scene.h"

int GameState;
int MenuCursor;
int MenuFirstRow;
bool QuitRequested;
bool FirstFrameDone;
bool MouseInWindow;
char GameTitleText[256];
float VersionNumber;

static const float FramesPerSecondNominal = 60;  // the rate all per-frame steps are tuned for
static const float MinTimeScale = 0.2f;
static const float MaxTimeScale = 2;
static const float PauseSpeed = 1;

float ComputeTimeScale(float framesPerSecond)
{
  float scale = FramesPerSecondNominal / framesPerSecond;
  if (!(scale >= MinTimeScale))
    return MinTimeScale;
  if (scale > MaxTimeScale)
    return MaxTimeScale;
  return scale;
}

static void EnableStateDrawing()
{
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glBindTexture(GL_TEXTURE_2D, AtlasTexture);
}

static void DisableStateDrawing()
{
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
}

void RunGameState()
{
  EnableStateDrawing();
  int frameState = GameState;
  float timeScale = ComputeTimeScale(FramesPerSecond);
  bool known = true;
  switch (frameState) {
  case gamestate_title:
  case gamestate_playlist:
  case gamestate_editlist:
    MenuFrame();
    break;
  case gamestate_playing:
    UpdateGame(timeScale);
    DrawGameScene();
    break;
  case gamestate_editing:
    EditorUpdate(timeScale);
    DrawEditor();
    break;
  default:
    known = false;
    break;
  }
  if (known && GameState != frameState) {
    MenuCursor = 0;
    MenuFirstRow = 0;
  }
  DisableStateDrawing();
}

void StartUp()
{
  LoadSettings();
  srand((unsigned)time(NULL));
  SetUpVideo();
  SetUpDashboard();
  snprintf(GameTitleText, sizeof(GameTitleText), "%s", "Tetherorb 2");
  VersionNumber = 0.3f;
  LoadLevelCatalogue();
  BuildAtlas();
  BuildFontGlyphs();
}

// Empties SDL's queue; a window close among the events ends the program.
static void DrainEvents()
{
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0)
    if (event.type == SDL_QUIT)
      QuitRequested = true;
}

void RunFrame()
{
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SDL_PumpEvents();
  PollInput();
  if (PauseLevel == 0)
    RunGameState();
  PaceFrame();
  StepPause(PauseSpeed);
  if (PauseLevel != 0) {
    DrawPauseDashboard();
    PauseMenu();
  }
  MouseInWindow = (SDL_GetAppState() & SDL_APPMOUSEFOCUS) != 0;
  if (FirstFrameDone && MouseInWindow)
    DrawCursor(InputState.MouseX, InputState.MouseY);
  FirstFrameDone = true;
  SDL_GL_SwapBuffers();
  DrainEvents();
}

int RunProgram()
{
  StartUp();
  while (!QuitRequested)
    RunFrame();
  SDL_Quit();
  return 0;
}
