// audio: the game's sound effects and music through SDL_mixer, which mixes in
// its own thread. Once a frame the host calls PlaySounds: it takes the M key,
// picks the theme for the screen, quiets the music and stops the effects
// while the pause layer is up, plays the frame's sound events and keeps the
// rolling sound in step with the ball. Sound is never fatal: without a device,
// or with missing or broken files, the game runs silent (or without those
// sounds) after one line on stderr.
#pragma once

enum { theme_none = -1, theme_menu = 0, theme_play = 1, theme_count = 2 };

struct AudioRecord {
  bool open;          // the mixer is open: something can be heard
  bool muted;         // M has switched everything off
  bool paused;        // the pause layer was up when the last frame's sounds were played
  int theme;          // theme playing, theme_none before the first
  int effectVolume;   // 0..128: "sound" on SDL_mixer's scale, 0 while muted
  int musicVolume;    // 0..128: "music" on that scale, quieter while paused, 0 while muted
  float rollVolume;   // 0..1, eases toward the ball's rolling speed
};
extern AudioRecord Audio;

const char* const SoundFolder = "sounds";   // in the media folder (game/base/places.h)

// Opens the mixer and loads the sounds the settings "sound" and "music" ask
// for; with both at 0 the device is not opened at all until one is turned
// up (PlaySounds then opens it, and loads what a volume turned up needs).
void StartAudio();

// One frame's sound: the M key, theme, pause, events and the rolling sound;
// empties SoundFrame.
void PlaySounds();

// Stops everything and closes the mixer.
void StopAudio();

// The theme that belongs to a screen: play for a level in play or a best run
// watched, menu for the rest.
int ThemeFor(int gameState);
