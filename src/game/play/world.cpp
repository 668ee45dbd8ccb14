// world: the cell grid, the item table, the ball, camera, aim point and timers.
#include "game/play/world.h"

MapCell MapGrid[MapSize * MapSize];
int LevelWidth;
int LevelHeight;

LevelItem ItemTable[MaxItems];
int ItemCount;

BallRecord Ball;
CameraRecord Camera;
AimPointRecord AimPoint;

float LevelTimer;
float TrailTimer;
int CurrentLevel;

const float CellCentre = 0.5f;        // offset from a cell's corner to its centre

static bool InsideLevel(int x, int y)
{
  return x >= 0 && y >= 0 && x < LevelWidth && y < LevelHeight && x < MapSize && y < MapSize;
}

int CellAt(int x, int y)
{
  if (!InsideLevel(x, y))
    return maptype_nothing;
  return MapGrid[x * MapSize + y];
}

int CellUnder(float px, float py)
{
  // Compared as floats first: NaN fails both tests, and only values that fit
  // the level's range are ever converted to int.
  if (!(px >= 0 && px < (float)LevelWidth))
    return maptype_nothing;
  if (!(py >= 0 && py < (float)LevelHeight))
    return maptype_nothing;
  return CellAt((int)px, (int)py);
}

void SetCell(int x, int y, int type)
{
  if (!InsideLevel(x, y) || type < 0 || type >= MapTypeCount)
    return;
  MapGrid[x * MapSize + y] = (MapCell)type;
}

LevelItem* AppendItem(int type, float x, float y)
{
  if (ItemCount < 0 || ItemCount >= MaxItems)
    return nullptr;
  LevelItem* item = &ItemTable[ItemCount++];
  item->type = type;
  item->x = x;
  item->y = y;
  item->vx = 0;
  item->vy = 0;
  item->life = 0;
  return item;
}

void RemoveItem(int index)
{
  if (index < 0 || index >= ItemCount)
    return;
  for (int i = index; i < ItemCount - 1; i++)
    ItemTable[i] = ItemTable[i + 1];
  ItemCount--;
}

void ScanLevel()
{
  for (int x = 0; x < LevelWidth; x++) {
    for (int y = 0; y < LevelHeight; y++) {
      float cx = x + CellCentre;
      float cy = y + CellCentre;
      switch (CellAt(x, y)) {
      case maptype_playerspawn:
        Ball.x = cx;
        Ball.y = cy;
        break;
      case maptype_extratime:
        AppendItem(itemtype_extratime, cx, cy);
        break;
      case maptype_finish:
        AppendItem(itemtype_finish, cx, cy);
        break;
      default:
        break;
      }
    }
  }
}
