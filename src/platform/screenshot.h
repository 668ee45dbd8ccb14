// screenshot: the frozen frame (render/frozen_frame.h) as a PNG file in the
// screenshot folder (game/base/places.h), handed to the player as the platform
// does it (platform.h), and the footer note that names it for two seconds.
#pragma once

// Writes the frozen frame to the first "screenshot%d.png" that does not exist;
// never replaces a file. Nothing when no frame fits ReadbackBuffer.
void SaveScreenshot();

// SaveScreenshot when the pause menu asked for one (ScreenshotWanted), which it clears.
void SaveWantedScreenshot();

// "Saved screenshot3.png" for two seconds after a save; null otherwise.
const char* ScreenshotNoteShown();
