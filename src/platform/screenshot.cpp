// PNG screenshots of the frozen frame, written beside the player's files and handed over.
#include "platform/screenshot.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <lodepng.h>
#include <unistd.h>

#include "game/base/lang.h"
#include "game/base/places.h"
#include "game/base/sound_events.h"
#include "game/run/pause_state.h"
#include "platform/pacing.h"
#include "platform/platform.h"
#include "render/frozen_frame.h"
#include "render/overlay.h"

static const int BytesPerPixel = 4;                 // R, G, B, A in ReadbackBuffer and screenshots
static const unsigned char OpaqueAlpha = 255;
static const char* ScreenshotNameFormat = "screenshot%d.png";
static const unsigned ScreenshotWindowSize = 2048;  // deflate window, bytes
static const unsigned ScreenshotNoteMilliseconds = 2000;

// "Saved screenshot3.png" in the footer's first line for two seconds after a save.
static char ScreenshotNote[160];
static unsigned ScreenshotNoteSince;

// Creates the first "screenshot%d.png" in the screenshot folder that does not
// exist yet; -1 when the folder takes no new file.
static int CreateScreenshotFile(PathBuffer& path)
{
  if (!PrepareFolder(Places.screenshots))
    return -1;
  char name[64];
  for (int n = 1; n < INT_MAX; n++) {
    snprintf(name, sizeof(name), ScreenshotNameFormat, n);
    if (!PlacePath(path, Places.screenshots, name))
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

  PathBuffer name;
  if (!error && png && pngSize > 0) {
    int fd = CreateScreenshotFile(name);
    if (fd >= 0) {
      bool written = WriteAll(fd, png, pngSize);
      if (close(fd) != 0)
        written = false;
      if (!written) {
        unlink(name);
      } else {
        const char* slash = strrchr(name, '/');
        // TRANSLATORS: the screenshot's file name follows ("Saved screenshot3.png").
        snprintf(ScreenshotNote, sizeof ScreenshotNote, Tr("Saved %.80s"), slash ? slash + 1 : name);
        ScreenshotNoteSince = PacingTicks();
        DeliverScreenshot(name);
        PushSound(sound_screenshot);
      }
    }
  }
  free(png);
}

void SaveWantedScreenshot()
{
  if (!ScreenshotWanted)
    return;
  ScreenshotWanted = false;
  SaveScreenshot();
}

const char* ScreenshotNoteShown()
{
  bool shown = ScreenshotNote[0] && PacingTicks() - ScreenshotNoteSince < ScreenshotNoteMilliseconds;
  return shown ? ScreenshotNote : nullptr;
}
