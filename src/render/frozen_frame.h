// frozen_frame: the picture the pause layer shows. When the layer opens, the
// frame the screen just drew is read into ReadbackBuffer (render/overlay.h)
// and copied into a texture; while the screen does not run, that texture is
// drawn over the whole window in its place.
#pragma once

extern int FrozenWidth;    // pixels of the frame in ReadbackBuffer, kept through window resizes
extern int FrozenHeight;

// True when ReadbackBuffer holds a whole w x h frame of 4-byte pixels.
bool FrameFitsReadback(int w, int h);

// AdvancePause (game/run/pause_state.h), then the frame capture (when the screen
// drew this frame) or the frozen picture (when it did not); capture and
// picture are skipped when ReadbackBuffer cannot hold the frame.
void StepPause(float speed, bool screenDrew);

// The frozen frame into a new texture, after a mode change lost the GL context.
void UploadFrozenFrame();
