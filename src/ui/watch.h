// watch: the screen that plays a level's best run back. The level shows as
// in play, the ghost moves along its recorded path with the camera on it and
// takes the pickups it passes, and the top bar shows the time it has left.
// Any key or button (but the pause and mute keys, the window's keys such as
// F11 and Alt+Enter, and a modifier alone) goes back to the play list, and so
// does the end of the recording after a short hold.
#pragma once

const float WatchEndHold = 60;   // 60 Hz frames the last place stays on screen

// Loads level n and its best run and asks for the watching screen; false,
// asking for nothing and with the level's ghost mark cleared, when it has no
// readable best run.
bool StartWatch(int n);

// One frame of watching: input, the ghost's step, drawing.
void WatchFrame(float t);
