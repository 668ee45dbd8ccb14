// sound_events: what was heard this frame. The game update, the rules, the
// menus, the pause layer and the editor push events here; the audio module
// drains them once per frame and plays them. Nothing here plays anything, so
// headless runs, replays and the checker push events that no one hears, and
// pushing never changes the state of play. A fixed table, no allocation.
#pragma once

// Kinds of event, one sound each.
enum SoundKind {
  sound_attach,       // the tether caught a block
  sound_release,      // the tether let go
  sound_jump,         // the ball left the ground
  sound_land,         // the ball hit the ground; strength grows with the speed of the hit
  sound_pickup,       // an extra-time pickup was collected
  sound_harm,         // the ball touched a harmful block
  sound_tick,         // one of the last five seconds began
  sound_timeout,      // the timer ran out
  sound_finish,       // the ball reached a finish
  sound_best,         // the finish beat the level's best score
  sound_menu_move,    // the menu highlight moved
  sound_menu_choose,  // a menu entry was chosen
  sound_menu_back,    // a level list went back to the title
  sound_pause_open,   // the pause layer was asked to open
  sound_pause_close,  // the pause layer was asked to close
  sound_screenshot,   // a screenshot file was written
  sound_brush,        // the editor's brush changed
  sound_paint,        // the editor changed a cell
  sound_save,         // the editor saved the level
  sound_save_failed,  // the editor could not save the level
  sound_results,      // the results card began to take input
  sound_kind_count
};

const int MaxSoundEvents = 32;  // events of one frame; later ones are dropped

struct SoundEvent {
  int kind;        // SoundKind
  float strength;  // 0..1, how loud
};

struct SoundFrameRecord {
  SoundEvent events[MaxSoundEvents];
  int count;
  float rollSpeed;  // ball speed along the ground this frame (units per frame), 0 in the air
};
extern SoundFrameRecord SoundFrame;

// Appends an event with its strength clamped to 0..1 (NaN gives 0); dropped when the table is full.
void PushSound(int kind, float strength = 1);

// Empties the table and the rolling speed, after the frame's events were played.
void ClearSounds();

// How many events of the kind this frame holds (for tests and tools).
int CountSounds(int kind);
