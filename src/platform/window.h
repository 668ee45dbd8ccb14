// window: the window's size and mode while the game runs. Sizes the window
// system asks for (a resized window) and Alt+Enter or F11 (window <-> full
// screen) become new video modes; the level, the editor's edits and the pause
// layer carry on, and textures are loaded again if the GL context was lost.
#pragma once

// Takes the resize events off SDL's queue and reads the switch keys in
// InputState; call after PollInput and before the controls are read. The
// Return of Alt+Enter counts as held, so no menu takes it as a choice.
void FollowWindow();

// Switches between a window of the last windowed size and the whole screen.
void ToggleFullScreen();
