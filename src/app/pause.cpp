// The pause layer over any screen: Escape, the frozen frame, the sliding bars and menu, and PNG screenshots.
#include "app/pause.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <lodepng.h>
#include <unistd.h>

#include "app/host.h"
#include "app/pacing.h"
#include "app/platform.h"
#include "app/video.h"
#include "game/controls.h"
#include "game/places.h"
#include "game/sound_events.h"
#include "render/draw.h"
#include "render/overlay.h"
#include "ui/editor.h"
#include "ui/run_flow.h"

float PauseLevel;
bool PauseWanted;
int PauseCursor = NoPauseRow;
int PauseConfirmRow = NoPauseRow;
int FrozenWidth, FrozenHeight;

static GLuint FrozenTexture;   // the frame captured when the layer opened
static int WindowSettle;       // frames left before a picture has the window's new size

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
static const char* ConfirmLabel = "Leave unsaved? Click again";

static const int BytesPerPixel = 4;                 // R, G, B, A in ReadbackBuffer and screenshots
static const unsigned char OpaqueAlpha = 255;
static const char* ScreenshotNameFormat = "screenshot%d.png";
static const unsigned ScreenshotWindowSize = 2048;  // deflate window, bytes
static const unsigned ScreenshotNoteMilliseconds = 2000;

// "Saved screenshot3.png" in the footer's first line for two seconds after a save.
static char ScreenshotNote[96];
static unsigned ScreenshotNoteSince;

// Play and the editor stop when the window loses the keyboard focus; the menus
// and a watched run wait as they are.
static bool FocusLossPauses()
{
  return Controls.focusLost && (GameState == gamestate_playing || GameState == gamestate_editing);
}

bool ScreenRuns()
{
  return !PauseWanted || PauseLevel == 0;
}

// An opening waits at 0 for its picture: it is not made to wait longer by
// window changes that go on meanwhile, so play does not run on through a long
// drag of the window's edge.
void NoteWindowChange()
{
  if (!(PauseWanted && PauseLevel == 0))
    WindowSettle = WindowSettleFrames;
}

bool AdvancePause(float speed)
{
  bool opened = false;
  bool wanted = Controls.pauseToggle ? !PauseWanted : PauseWanted;
  if (FocusLossPauses())
    wanted = true;
  if (wanted != PauseWanted) {
    if (PauseWanted) {
      PauseWanted = false;
      PushSound(sound_pause_close);
    } else {
      PauseWanted = opened = true;
      PauseCursor = PauseConfirmRow = NoPauseRow;
      PushSound(sound_pause_open);
    }
  }
  if (WindowSettle > 0)
    WindowSettle--;
  // Opening from 0 (or still waiting there), or turning back up while the
  // screen ran under the layer sliding away: this frame's picture is live.
  bool capture = PauseWanted && (opened || PauseLevel == 0);
  if (capture && PauseLevel == 0 && WindowSettle > 0)
    return false;
  PauseLevel += PauseWanted ? PauseStep * speed : -PauseStep * speed;
  if (PauseLevel > PauseLevelFull)
    PauseLevel = PauseLevelFull;
  if (PauseLevel < 0)
    PauseLevel = 0;
  if (std::isnan(PauseLevel))
    PauseLevel = 0;
  return capture;
}

// True when ReadbackBuffer holds a whole w x h frame of 4-byte pixels.
static bool FrameFitsReadback(int w, int h)
{
  return ReadbackBuffer && w > 0 && h > 0 && (long)w * h * BytesPerPixel <= ReadbackBytes;
}

// Reads the frame into ReadbackBuffer and copies it into FrozenTexture.
static void CaptureFrame(int w, int h)
{
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, ReadbackBuffer);
  FrozenWidth = w;
  FrozenHeight = h;
  UploadFrozenFrame();
}

void UploadFrozenFrame()
{
  int w = FrozenWidth, h = FrozenHeight;
  if (!FrameFitsReadback(w, h))
    return;
  if (FrozenTexture && !glIsTexture(FrozenTexture))
    FrozenTexture = 0;   // a name from a GL context that is gone
  if (!FrozenTexture)
    glGenTextures(1, &FrozenTexture);
  glBindTexture(GL_TEXTURE_2D, FrozenTexture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, ReadbackBuffer);
}

// The captured frame over the whole window (stretched when the window was
// resized since), texel for pixel and unblended,
// with the bottom row first as glReadPixels gave it.
static void DrawFrozenFrame(int w, int h)
{
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, w, 0, h);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, FrozenTexture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  float x = (float)w, y = (float)h;
  float v[8] = { 0, 0, x, 0, x, y, 0, y };
  float st[8] = { 0, 0, 1, 0, 1, 1, 0, 1 };
  glVertexPointer(2, GL_FLOAT, 0, v);
  glTexCoordPointer(2, GL_FLOAT, 0, st);
  glDrawArrays(GL_QUADS, 0, 4);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  DisableQuadDrawing();
}

void StepPause(float speed, bool screenDrew)
{
  int w = (int)ScreenWidth, h = (int)ScreenHeight;
  float before = PauseLevel;
  bool capture = AdvancePause(speed);
  if (!FrameFitsReadback(w, h))
    return;
  if (capture && screenDrew)
    CaptureFrame(w, h);
  if (before != 0 && !screenDrew && FrozenTexture)
    DrawFrozenFrame(w, h);
}

void FormatVersionText(char* out, size_t size, float version)
{
  snprintf(out, size, "%s%f", "v", version);
  size_t n = strlen(out);
  while (n > 2 && out[n - 2] != '.' && out[n - 1] == '0')
    out[--n] = 0;
}

static int RightAlignedX(const char* text)
{
  return (int)(OverlayWidth() - TextRightMargin) - (int)(strlen(text) * SmallTextAdvance);
}

void DrawPauseDashboard()
{
  float t = PauseLevel * PauseLevelToFraction;
  int s = (int)((1 - t) * BarSlide);
  char version[64];
  float width = OverlayWidth(), height = OverlayHeight();

  BeginOverlay();
  DrawRect(DashFrames[DashTopBar], 0, (float)-s, width, BarHeight);
  DisableQuadDrawing();
  DrawSmallText(GameTitleText, TextLeft, TopLineY - s);
  FormatVersionText(version, sizeof(version), VersionNumber);
  DrawSmallText(version, TextLeft, SecondLineY - s);
  DrawSmallText(DateText, RightAlignedX(DateText), TopLineY - s);
  DrawSmallText(ClockText, RightAlignedX(ClockText), SecondLineY - s);

  BeginOverlay();
  DrawRect(DashFrames[DashBottomBar], 0, height - BarHeight + s, width, BarHeight);
  DisableQuadDrawing();
  float footerTop = height - BottomBarTopInset + s;
  bool note = ScreenshotNote[0] && PacingTicks() - ScreenshotNoteSince < ScreenshotNoteMilliseconds;
  DrawSmallText(note ? ScreenshotNote : FooterLines[0], TextLeft, (int)(footerTop + FooterFirstY));
  DrawSmallText(FooterLines[1], TextLeft, (int)(footerTop + FooterSecondY));
}

int PauseRowsShown()
{
  if (GameState == gamestate_title)
    return pauserow_title;
  return GameState == gamestate_playing ? PauseRowCount : pauserow_restart;
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
  return PauseConfirmRow == row ? ConfirmLabel : label;
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
  if (PauseRow(pauserow_resume, "Resume game", x, y0))
    ClosePause();
  if (PauseRow(pauserow_exit, LeaveLabel(pauserow_exit, "Exit"), x, y0) && LeaveConfirmed(pauserow_exit))
    QuitRequested = true;
  if (PauseRow(pauserow_screenshot, "Save screenshot", x, y0))
    SaveScreenshot();
  if (rows > pauserow_title && PauseRow(pauserow_title, LeaveLabel(pauserow_title, "Back to title"), x, y0) &&
      LeaveConfirmed(pauserow_title)) {
    LeaveToTitle();
    ClosePause();
  }
  if (rows > pauserow_restart && PauseRow(pauserow_restart, "Restart level", x, y0)) {
    RestartRun();
    ClosePause();
  }
}

// Creates the first "screenshot%d.png" in the screenshot folder that does not
// exist yet; -1 when the folder takes no new file.
static int CreateScreenshotFile(char* path, size_t size)
{
  if (!PrepareFolder(Places.screenshots))
    return -1;
  char name[64];
  for (int n = 1; n < INT_MAX; n++) {
    snprintf(name, sizeof(name), ScreenshotNameFormat, n);
    if (!PlacePath(path, size, Places.screenshots, name))
      return -1;
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

static bool WriteAll(int fd, const unsigned char* bytes, size_t count)
{
  while (count > 0) {
    ssize_t done = write(fd, bytes, count);
    if (done < 0 && errno == EINTR)
      continue;
    if (done <= 0)
      return false;
    bytes += done;
    count -= (size_t)done;
  }
  return true;
}

// The frozen frame top row first, with alpha 255; the caller frees it.
static unsigned char* FlippedOpaqueImage(int w, int h)
{
  size_t rowBytes = (size_t)w * BytesPerPixel;
  unsigned char* image = (unsigned char*)malloc(rowBytes * (size_t)h);
  if (!image)
    return nullptr;
  for (int r = 0; r < h; r++) {
    const unsigned char* src = ReadbackBuffer + (size_t)(h - 1 - r) * rowBytes;
    unsigned char* dst = image + (size_t)r * rowBytes;
    memcpy(dst, src, rowBytes);
    for (size_t i = BytesPerPixel - 1; i < rowBytes; i += BytesPerPixel)
      dst[i] = OpaqueAlpha;
  }
  return image;
}

static unsigned EncodeScreenshot(unsigned char** png, size_t* pngSize, const unsigned char* image,
                                 int w, int h)
{
  LodePNGState state;
  lodepng_state_init(&state);
  state.info_raw.colortype = LCT_RGBA;
  state.info_raw.bitdepth = 8;
  state.info_png.color.colortype = LCT_RGBA;
  state.info_png.color.bitdepth = 8;
  state.encoder.auto_convert = 0;
  state.encoder.text_compression = 0;
  state.encoder.zlibsettings.windowsize = ScreenshotWindowSize;
  lodepng_add_text(&state.info_png, "Comment", "Created with LodePNG");
  unsigned error = lodepng_encode(png, pngSize, image, (unsigned)w, (unsigned)h, &state);
  lodepng_state_cleanup(&state);
  return error;
}

void SaveScreenshot()
{
  int w = FrozenWidth, h = FrozenHeight;
  if (!FrameFitsReadback(w, h))
    return;
  unsigned char* image = FlippedOpaqueImage(w, h);
  if (!image)
    return;
  unsigned char* png = nullptr;
  size_t pngSize = 0;
  unsigned error = EncodeScreenshot(&png, &pngSize, image, w, h);
  free(image);

  char name[PlaceSize];
  if (!error && png && pngSize > 0) {
    int fd = CreateScreenshotFile(name, sizeof(name));
    if (fd >= 0) {
      bool written = WriteAll(fd, png, pngSize);
      if (close(fd) != 0)
        written = false;
      if (!written) {
        unlink(name);
      } else {
        const char* slash = strrchr(name, '/');
        snprintf(ScreenshotNote, sizeof ScreenshotNote, "Saved %.80s", slash ? slash + 1 : name);
        ScreenshotNoteSince = PacingTicks();
        DeliverScreenshot(name);
        PushSound(sound_screenshot);
      }
    }
  }
  free(png);
}
