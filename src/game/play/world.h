// Room game/play: the world of a level, collision, hints, and the play step's
// time and math. Includes base.
//
// world: the state of the level in play or in the editor. The cell grid with
// the level's size, the item table of pickups, finish markers and particles,
// the ball, the camera, the aim point, the timers and the level number.
// Starting a level lives in level_start.h.
// One world unit is one cell; x grows to the right and y downward.
#pragma once

enum MapType {
  maptype_nothing = 0,
  maptype_blocknormal = 1,
  maptype_blockharmful = 2,
  maptype_blocknoswing = 3,
  maptype_blockghost = 4,
  maptype_gravitydown = 5,
  maptype_gravityleft = 6,
  maptype_gravityup = 7,
  maptype_gravityright = 8,
  maptype_playerspawn = 9,
  maptype_extratime = 10,
  maptype_finish = 11
};
const int MapTypeCount = 12;

enum ItemType {
  itemtype_extratime = 1,
  itemtype_finish = 2,
  itemtype_particle = 3
};

enum GravityDir {
  GravityDown = 0,   // toward +y
  GravityLeft = 1,   // toward -x
  GravityUp = 2,     // toward -y
  GravityRight = 3   // toward +x
};

const int MapSize = 1000;          // cells along each side of MapGrid
const int MaxLevelWidth = 998;     // widest row a level file can hold
const int MaxLevelHeight = 1000;
const int MaxItems = 5000;
const float BallRadius = 0.6f;     // world units, for collision and harmful contact
const float LevelTimeAtStart = 300; // tenths of a second
const float PickupTime = 50;        // tenths of a second an extra-time pickup adds
const float PlayViewHeight = 12.5f; // world units shown from top to bottom

// One cell's MapType, 0..11, in a byte.
typedef unsigned char MapCell;

// Cell (x, y) is MapGrid[x * MapSize + y]; only 0..11 are ever stored.
extern MapCell MapGrid[MapSize * MapSize];
extern int LevelWidth;    // W: columns of the level, 0..998
extern int LevelHeight;   // H: rows of the level, 0..1000

struct LevelItem {
  int type;        // ItemType
  float x, y;      // centre, world units
  float vx, vy;    // velocity; particles only
  float life;      // particles: remaining life, also the drawn size
};
extern LevelItem ItemTable[MaxItems];
extern int ItemCount;

struct BallRecord {
  float x, y;            // centre
  float vx, vy;          // world units per 60 Hz frame
  bool attached;         // the tether holds an anchor
  bool onGround;         // the last move was stopped on the gravity side
  float anchorX, anchorY;// (-10, -10) while released
  float tetherLength;    // 0 while released
  int gravity;           // GravityDir
};
extern BallRecord Ball;

struct CameraRecord {
  float camX, camY;      // world point at the centre of the view
  float viewHeight;      // world units from the top of the view to the bottom
  bool leads;            // play leads the view toward the pointer (a run's start sets it); false: the
                         // older rule, a point between ball and aim, that replays before version 3 ran under
  float leadX, leadY;    // the leading view's present lead off the ball, world units; 0 at a run's start
};
extern CameraRecord Camera;

struct AimPointRecord {
  float mouseNX, mouseNY;  // pointer mapped to -1..1 across the window
  float aimX, aimY;        // world point under the pointer
};
extern AimPointRecord AimPoint;

extern float LevelTimer;   // tenths of a second left, never below 0
extern float TrailTimer;   // paces the ball's trail particles
extern int CurrentLevel;   // 1..MaxLevels, the level being played or edited

// The cell type at (x, y); maptype_nothing anywhere outside the W x H rectangle.
int CellAt(int x, int y);

// The cell type under the world point (px, py); maptype_nothing outside the
// level, for negative, huge or non-finite coordinates too.
int CellUnder(float px, float py);

// Sets cell (x, y) when it lies inside the level and type is 0..11.
void SetCell(int x, int y, int type);

// Appends an item at (x, y) with zero velocity and life; null when the table is full.
LevelItem* AppendItem(int type, float x, float y);

// Removes record index; later records move down one place.
void RemoveItem(int index);

// Turns spawn, extra-time and finish cells into the ball's start and items.
void ScanLevel();
