// controls: what the player asks for this frame, whatever the device. The app
// fills it once per frame from the keys (through the key bindings), the mouse
// and the gamepad; play, the menus, the editor and the pause layer only read it.
// A key or button already down when the screen changes counts as up here
// until it is let go and pressed again.
#pragma once

struct ControlsRecord {
  float steerX, steerY;     // -1..1 each, right and down positive; keys give whole steps, a stick less
  bool jump;                // jump held
  bool tether;              // tether held; it shoots in the frame it goes down
  bool tetherShot;          // a tether button went down this frame: a new shot even while attached
  float aimX, aimY;         // window pixels the tether aims at: the pointer or the right stick
  bool menuUp, menuDown;    // pressed this frame
  bool menuChoose;          // Return, the jump key or the pad's A, pressed this frame
  bool cardLeave;           // Return (not as a jump key) or the pad's Start, pressed this frame: leaves the results card
  bool menuBack;            // B (key or pad), pressed this frame; also the editor's save
  bool pauseToggle;         // Escape or Start (not on the results card), pressed this frame
  bool mute;                // the mute key, pressed this frame
  bool brushNext, brushPrev;// editor brush keys, pressed this frame
  bool restart;             // R, pressed this frame: the level again from its start
  bool nextLevel;           // N, pressed this frame: the results card's next level
  bool pointerClick;        // left mouse button pressed this frame (menus and buttons)
  bool focusLost;           // the window lost the keyboard focus this frame: play and the editor pause
  bool pointerMoved;        // the pointer, in the window last frame, is not where it was
  float pointerX, pointerY; // the mouse pointer, window pixels (the aim may be the stick's)
};
extern ControlsRecord Controls;
