// The pause layer's dashboard bars and its menu.
#include "ui/pause_layer.h"

#include <cstdio>
#include <cstring>

#include "game/base/clock_text.h"
#include "game/base/controls.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/base/utf8.h"
#include "game/run/pause_state.h"
#include "game/settings/options.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "ui/editor.h"
#include "ui/editor_help.h"
#include "ui/run_flow.h"

// The dashboard bars, in window pixels.
static const float BarHeight = 60;
static const float BarSlide = 68;        // how far a bar starts outside the window
static const int TextLeft = 20;
static const int TextRightMargin = 20;
static const int SmallTextAdvance = 10;  // pixels per character of the small font
static const int TopLineY = 18;
static const int SecondLineY = 38;
static const int FooterFirstY = 3;       // below the bottom bar's top, less one pixel
static const int FooterSecondY = 23;
static const float BottomBarTopInset = 61;
static const float PauseLevelToFraction = 0.01f;  // PauseLevel 0..100 as the slide's 0..1

// The pause menu, in window pixels.
static const float MenuRestAboveCentre = 125;  // first row's rest position above the centre
static const int MenuRowSpacing = 50;

static const char* GameTitle = "Tetherorb 2";
static const float GameVersion = 0.3f;

void FormatVersionText(char* out, size_t size, float version)
{
  snprintf(out, size, "%s%f", "v", version);
  size_t n = strlen(out);
  while (n > 2 && out[n - 2] != '.' && out[n - 1] == '0')
    out[--n] = 0;
}

static int RightAlignedX(const char* text)
{
  return (int)(OverlayWidth() - TextRightMargin) - Utf8Length(text) * SmallTextAdvance;
}

void DrawPauseDashboard(const char* note)
{
  float t = PauseLevel * PauseLevelToFraction;
  int s = (int)((1 - t) * BarSlide);
  char version[64];
  float width = OverlayWidth(), height = OverlayHeight();

  BeginOverlay();
  DrawRect(DashFrames[DashTopBar], 0, (float)-s, width, BarHeight);
  DisableQuadDrawing();
  DrawSmallText(GameTitle, TextLeft, TopLineY - s);
  FormatVersionText(version, sizeof(version), GameVersion);
  DrawSmallText(version, TextLeft, SecondLineY - s);
  DrawSmallText(DateText, RightAlignedX(DateText), TopLineY - s);
  DrawSmallText(ClockText, RightAlignedX(ClockText), SecondLineY - s);

  BeginOverlay();
  DrawRect(DashFrames[DashBottomBar], 0, height - BarHeight + s, width, BarHeight);
  DisableQuadDrawing();
  float footerTop = height - BottomBarTopInset + s;
  DrawSmallText(note ? note : FooterLines[0], TextLeft, (int)(footerTop + FooterFirstY));
  DrawSmallText(Tr(FooterLines[1]), TextLeft, (int)(footerTop + FooterSecondY));
}

// Up and Down (keys, D-pad or stick) light a row; none is lit until one is pressed.
static void MovePauseCursor()
{
  int last = PauseRowsShown() - 1;
  if (Controls.menuDown)
    PauseCursor = PauseCursor + 1 < last ? PauseCursor + 1 : last;
  if (Controls.menuUp)
    PauseCursor = PauseCursor > 0 ? PauseCursor - 1 : 0;
  if (Controls.menuDown || Controls.menuUp)
    PauseConfirmRow = NoPauseRow;
}

void CloseWindow()
{
  HideEditorHelp();   // the pause layer may come up to ask, and needs the keys
  bool asked = CloseAsking || (PauseWanted && PauseConfirmRow == pauserow_exit);
  if (!EditorHasUnsavedEdits() || asked) {
    QuitRequested = true;
    return;
  }
  CloseAsking = true;
  PushSound(sound_menu_move);
}

// True when a row that leaves the editor may act: nothing unsaved, or its
// second choice; the first choice with unsaved edits only asks.
static bool LeaveConfirmed(int row)
{
  if (!EditorHasUnsavedEdits() || PauseConfirmRow == row)
    return true;
  PauseConfirmRow = row;
  PushSound(sound_menu_move);
  return false;
}

static const char* LeaveLabel(int row, const char* label)
{
  return PauseConfirmRow == row ? Tr("Leave unsaved? Click again") : label;
}

static void ClosePause()
{
  PauseWanted = false;
  PushSound(sound_pause_close);
}

// The row's button; true when it was clicked, or chosen while lit. Once
// resumed, the rows slide away inert: the screen under them takes the input.
static bool PauseRow(int row, const char* label, int x, int y0)
{
  bool lit = row == PauseCursor;
  bool clicked = OverlayButton(label, x, y0 + row * MenuRowSpacing, lit);
  return PauseWanted && (clicked || (lit && Controls.menuChoose));
}

void PauseMenu()
{
  float t = PauseLevel * PauseLevelToFraction;
  float width = OverlayWidth(), height = OverlayHeight();
  int x = (int)(width * 0.5f);
  int rest = (int)(height * 0.5f - MenuRestAboveCentre);
  int start = (int)(height + (height * 0.5f - MenuRestAboveCentre));
  int y0 = (int)((1 - t) * start + t * rest);

  if (PauseWanted)
    MovePauseCursor();
  int rows = PauseRowsShown();
  if (PauseRow(pauserow_resume, Tr("Resume game"), x, y0))
    ClosePause();
  if (PauseRow(pauserow_exit, LeaveLabel(pauserow_exit, Tr("Exit")), x, y0) && LeaveConfirmed(pauserow_exit))
    QuitRequested = true;
  if (PauseRow(pauserow_screenshot, Tr("Save screenshot"), x, y0))
    ScreenshotWanted = true;
  if (rows > pauserow_title + 1 && PauseRow(pauserow_title, LeaveLabel(pauserow_title, Tr("Back to title")), x, y0) &&
      LeaveConfirmed(pauserow_title)) {
    LeaveToTitle();
    ClosePause();
  }
  if (rows > pauserow_restart + 1 && PauseRow(pauserow_restart, Tr("Restart level"), x, y0)) {
    RestartRun();
    ClosePause();
  }
  if (PauseRow(PauseOptionsRow(), Tr("Options"), x, y0)) {
    PushSound(sound_menu_choose);
    OpenOptions(true);
  }
}
