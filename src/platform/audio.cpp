// audio: SDL_mixer set-up, the sound files, and the per-frame playing of the
// sound events queued by the game.
#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "game/base/controls.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/run/pause_state.h"
#include "game/settings/settings.h"

AudioRecord Audio = {false, false, false, theme_none, 0, 0, 0};

static const int MixRate = 44100;            // Hz, the rate the sound files are made at
static const int MixChannels = 2;
static const int MixBufferFrames = 1024;     // about 23 ms of latency
static const int EffectChannels = 16;        // voices at once; channel 0 is the rolling sound
static const int RollChannel = 0;
static const float PausedMusicShare = 0.35f; // music loudness while the pause layer is up
static const float RollQuietSpeed = 0.004f;  // units per frame; slower rolling is silent
static const float RollFullSpeed = 0.16f;    // units per frame; this fast or faster is full loudness
static const float RollShare = 0.55f;        // rolling at full speed, against the effects' volume
static const float RollEase = 0.3f;          // share of the gap to the target closed per frame
static const int VolumePercent = 100;        // the settings' scale

// The file of each SoundKind and the least time between two plays of it.
struct EffectFile {
  const char* file;
  Uint32 gapMs;
};
static const EffectFile EffectFiles[] = {
  {"attach.wav", 0},      {"release.wav", 0},     {"jump.wav", 0},        {"land.wav", 60},
  {"pickup.wav", 0},      {"harm.wav", 0},        {"tick.wav", 0},        {"timeout.wav", 0},
  {"finish.wav", 0},      {"best.wav", 0},        {"menu_move.wav", 0},   {"menu_choose.wav", 0},
  {"menu_back.wav", 0},   {"pause_open.wav", 0},  {"pause_close.wav", 0}, {"screenshot.wav", 0},
  {"brush.wav", 0},       {"paint.wav", 70},      {"save.wav", 0},        {"save_failed.wav", 0},
  {"results.wav", 0},
};
static_assert(sizeof EffectFiles / sizeof EffectFiles[0] == sound_kind_count, "one entry per sound_kind_count");
static const char* RollFile = "roll.wav";
static const char* ThemeFiles[] = {"theme_menu.ogg", "theme_play.ogg"};
static_assert(sizeof ThemeFiles / sizeof ThemeFiles[0] == theme_count, "one entry per theme_count");

static Mix_Chunk* Effects[sound_kind_count];
static Mix_Chunk* RollSound;
static Mix_Music* Themes[theme_count];
static Uint32 LastPlayed[sound_kind_count];

// The one line a failed start-up or load leaves on stderr.
static char MissingList[512];

static void NoteMissing(const char* path)
{
  const char* separator = MissingList[0] ? ", " : "";
  if (strlen(MissingList) + strlen(separator) + strlen(path) >= sizeof(MissingList))
    return;   // the line is full; it names the first files
  strcat(MissingList, separator);
  strcat(MissingList, path);
}

// The sound file's path in the media folder ("Media/sounds/<file>" in the
// repository); false, with the file noted as missing, when it does not fit.
static bool SoundPath(PathBuffer& path, const char* file)
{
  PathBuffer name;
  if (PlacePath(name, SoundFolder, file) && PlacePath(path, Places.media, name))
    return true;
  NoteMissing(file);
  return false;
}

static Mix_Chunk* LoadEffect(const char* file)
{
  PathBuffer path;
  if (!SoundPath(path, file))
    return nullptr;
  Mix_Chunk* chunk = Mix_LoadWAV(path);
  if (!chunk)
    NoteMissing(path);
  return chunk;
}

// What a volume above 0 needs and is not loaded yet: at start-up, and again
// when the options screen turns a volume up from 0.
static struct {
  bool effects, music;   // loaded, whether or not every file was found
  bool tried;            // the mixer was tried, so a failed device is not tried every frame
} Loaded;

static void LoadSounds()
{
  MissingList[0] = 0;
  if (Settings.sound > 0 && !Loaded.effects) {
    Loaded.effects = true;
    for (int k = 0; k < sound_kind_count; k++)
      Effects[k] = LoadEffect(EffectFiles[k].file);
    RollSound = LoadEffect(RollFile);
  }
  if (Settings.music > 0 && !Loaded.music) {
    Loaded.music = true;
    for (int t = 0; t < theme_count; t++) {
      PathBuffer path;
      if (!SoundPath(path, ThemeFiles[t]))
        continue;
      Themes[t] = Mix_LoadMUS(path);
      if (!Themes[t])
        NoteMissing(path);
    }
  }
  if (MissingList[0])
    fprintf(stderr, "tetherorb2: sound files missing or unreadable, playing without them: %s\n", MissingList);
}

// The sound libraries report a missing device in many lines of their own;
// while the device opens, stderr goes to /dev/null and the game says it in one.
static int HideStderr()
{
  fflush(stderr);
  int saved = dup(STDERR_FILENO);
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, STDERR_FILENO);
    close(null);
  }
  return saved;
}

static void RestoreStderr(int saved)
{
  if (saved < 0)
    return;
  fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
}

// Starts SDL's audio and the mixer; false (and one line on stderr) when either fails.
static bool OpenMixer()
{
  int saved = HideStderr();
  const char* failure = nullptr;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
    failure = "could not start";
  } else if (Mix_OpenAudio(MixRate, AUDIO_S16SYS, MixChannels, MixBufferFrames) < 0) {
    failure = "could not be opened";
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  RestoreStderr(saved);
  if (failure)
    fprintf(stderr, "tetherorb2: no sound, the audio device %s: %s\n", failure, SDL_GetError());
  return !failure;
}

void StartAudio()
{
  if (Settings.sound == 0 && Settings.music == 0)
    return;
  Loaded.tried = true;
  if (!OpenMixer())
    return;
  Mix_AllocateChannels(EffectChannels);
  Mix_ReserveChannels(RollChannel + 1);
  Audio.open = true;
  Audio.effectVolume = Audio.musicVolume = -1;   // set on the first frame
  LoadSounds();
}

int ThemeFor(int gameState)
{
  bool play = gameState == gamestate_playing || gameState == gamestate_watching || gameState == gamestate_results;
  return play ? theme_play : theme_menu;
}

static int MixerVolume(int percent, float share)
{
  return (int)(percent * share * MIX_MAX_VOLUME / VolumePercent);
}

static void SetVolumes()
{
  int effects = Audio.muted ? 0 : MixerVolume(Settings.sound, 1);
  if (effects != Audio.effectVolume) {
    Mix_Volume(-1, effects);
    Audio.effectVolume = effects;
  }
  int music = Audio.muted ? 0 : MixerVolume(Settings.music, Audio.paused ? PausedMusicShare : 1);
  if (music != Audio.musicVolume) {
    Mix_VolumeMusic(music);
    Audio.musicVolume = music;
  }
}

static void FollowTheme()
{
  int wanted = ThemeFor(GameState);
  if (wanted == Audio.theme || !Themes[wanted])
    return;
  Mix_PlayMusic(Themes[wanted], -1);
  Audio.theme = wanted;
  Audio.musicVolume = -1;   // set again for the new theme
}

// Each kind is played once a frame, as loud as its strongest event.
static void PlayEvents()
{
  float strongest[sound_kind_count] = {};
  bool heard[sound_kind_count] = {};
  for (int i = 0; i < SoundFrame.count; i++) {
    const SoundEvent& e = SoundFrame.events[i];
    heard[e.kind] = true;
    if (e.strength > strongest[e.kind])
      strongest[e.kind] = e.strength;
  }
  Uint32 now = SDL_GetTicks();
  for (int k = 0; k < sound_kind_count; k++) {
    if (!heard[k] || !Effects[k] || strongest[k] <= 0)
      continue;
    if (LastPlayed[k] != 0 && now - LastPlayed[k] < EffectFiles[k].gapMs)
      continue;
    LastPlayed[k] = now;
    // Locked, so the mixer never hears the channel at its previous volume.
    SDL_LockAudio();
    int channel = Mix_PlayChannel(-1, Effects[k], 0);
    if (channel >= 0)
      Mix_Volume(channel, (int)(strongest[k] * Audio.effectVolume));
    SDL_UnlockAudio();
  }
}

// The rolling loop keeps running and only its loudness follows the ball, so
// it never starts or stops with a click; it stops for good while paused.
static void FollowRolling()
{
  if (!RollSound)
    return;
  float target = 0;
  if (!Audio.paused && SoundFrame.rollSpeed > RollQuietSpeed)
    target = SoundFrame.rollSpeed >= RollFullSpeed ? 1 : SoundFrame.rollSpeed / RollFullSpeed;
  Audio.rollVolume += (target - Audio.rollVolume) * RollEase;
  bool playing = Mix_Playing(RollChannel) != 0;
  if (target > 0 && !playing)
    Mix_PlayChannel(RollChannel, RollSound, -1);
  Mix_Volume(RollChannel, (int)(Audio.effectVolume * RollShare * Audio.rollVolume));
}

void PlaySounds()
{
  if (Controls.mute)
    Audio.muted = !Audio.muted;
  if (!Loaded.tried)
    StartAudio();   // a volume turned up from 0 on the options screen
  else if (Audio.open)
    LoadSounds();
  if (Audio.open) {
    bool paused = !ScreenRuns();
    if (paused && !Audio.paused)
      Mix_HaltChannel(-1);   // the effects stop when the pause layer comes up
    Audio.paused = paused;
    SetVolumes();
    FollowTheme();
    PlayEvents();
    FollowRolling();
  }
  ClearSounds();
}

void StopAudio()
{
  if (!Audio.open)
    return;
  Mix_HaltMusic();
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  Audio.open = false;
}
