// hints: what play tells a new player over the level. When a level starts,
// its number and title show for two seconds and fade (on the first levels
// with the restart and pause keys below them); the first levels that bring in
// a control (rolling and jumping, the held jump, the tether, climbing round a
// corner, letting go) carry a one-line hint until the player has used that control. A hint
// used once is not shown again while the program runs. Which hint shows, how
// strongly and where (never over the ball) is decided here from the world and
// Controls; ui/hint_view draws it. Platform-free.
// The tether's hint asks for more than one swing: it stays until the level is
// finished, as a swing that falls back has not taught letting go.
#pragma once

enum HintKind { hint_none = 0, hint_roll_jump, hint_tether, hint_let_go, hint_corner, hint_held_jump, HintKindCount };
enum HintPlace { hintplace_hidden = 0, hintplace_bottom, hintplace_top };

const float BannerSeconds = 2;          // the level's number and title show this long
const float BannerFadeSeconds = 0.5f;   // the last part of it fades out
const float HintFadeSeconds = 0.4f;     // a used hint fades out over this time
const float SecondsPerFrameAtScale1 = 1.0f / 60;
const int BannerKeysLastLevel = 5;      // levels 1 to this name the restart and pause keys
const float SwingProofDistance = 2;     // world units the ball travels hanging off the ground: a real swing
const float HeldJumpProofFrames = 12;   // 60 Hz frames the jump is held while the ball rises: a held jump

// Where the hint's bar lies, as shares of the view's height from its top edge,
// and how far the drawn ball reaches from its centre (world units).
const float HintBottomBandTop = 0.85f;  // the bottom bar and its frame: 0.85..1
const float HintTopBandBottom = 0.33f;  // score bar and a hint below it: 0..0.33
const float HintBallReach = 0.75f;

struct HintRecord {
  int level;        // the level the banner names; 0 shows no banner
  float age;        // seconds of play since the level started
  int kind;         // this run's hint; hint_none without one, or with hints off
  bool steered;     // the player has steered since the hint showed
  bool jumped;      // ... has jumped
  bool swung;       // ... has swung: hung on the tether and moved along its arc off the ground
  bool climbed;     // ... has shot the tether again in the air after a swing
  bool heldJump;    // ... has held the jump for HeldJumpProofFrames while rising free
  bool finished;    // ... has reached the finish
  float jumpHeld;   // frames the jump has been held in the present rise
  bool used;        // the hint's control has been used: it fades out
  float swingTravel;// world units travelled in the present swing
  float lastX, lastY;// the ball's place a frame ago
  float fade;       // 1 while the hint shows, falling to 0 once used
};
extern HintRecord Hint;
extern bool HintsEnabled;                  // settings.ini "hints"; on unless given as 0
extern bool HintLearnt[HintKindCount];     // used once since the program started

// The hint level n brings in: 1 rolling and jumping, 2 the held jump, 3 the
// tether (until a finish), 4 climbing round a corner, 5 letting go.
int HintForLevel(int n);

// True while the banner names the restart and pause keys: levels 1 to 5, hints on.
bool BannerNamesKeys();

// A run of level n begins (0: a level of no slot, no banner and no hint).
void BeginHints(int n);

// After a frame of play scaled by t: the clock, and what the player did.
void StepHints(float t);

// The run reached the finish (the rules' word, before this frame's StepHints).
void NoteFinishForHints();

// The banner's strength, 1 down to 0 as it fades; 0 once it is over.
float BannerAlpha();

// The hint's strength, 0 when there is none to show.
float HintAlpha();

// Where the hint goes this frame: the bottom, the top while the ball is in
// the bottom band, hidden while it is in both.
int HintPlaceNow();

// True when the drawn ball reaches into the band of the view between the
// shares top and bottom of its height (0 its top edge, 1 its bottom edge).
bool BallInBand(float top, float bottom);
