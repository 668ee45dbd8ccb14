// online_pictures: the pictures of the hub's levels the Online screen shows
// beside their rows, in a fixed table of slots. A level's id comes from its
// content, so its picture never changes: one fetched is kept in the player's
// cache folder (Places.cache/pictures/ID.png; with no cache folder, as in the
// browser whose fetch keeps its own, in the slot alone) and read from there
// the next time. A slot's PNG is checked before it is taken: the PNG
// signature and a size of at most HubPictureMaxSide a side (the bytes are
// bounded by the request's HubPictureMaxBytes). The view (render/hub_picture_view)
// decodes a slot's bytes into a texture and marks it shown.
// Work per frame is bounded: one slot at most is started (a cache file read,
// or a request), and at most HubPictureFetches requests are out at once.
//   HubPicture, HubPictures[]     the slots
//   WantHubPicture(id)            the slot of id's picture, claimed (the least lately wanted one) when
//                                 none holds it yet; -1 for an id that is no level id
//   StepHubPictures()             once a frame: answers in, the next slot started
//   HubPictureSize(png, w, h)     a PNG's size from its header; false for bytes that are no PNG
//                                 or a picture larger than HubPictureMaxSide
//   HubPictureCachePath(out, id)  Places.cache/pictures/ID.png; false without a cache folder
#pragma once

#include <string>

#include "game/base/places.h"
#include "game/files/level_id.h"
#include "game/online/online_answers.h"

const int HubPictureSlots = 8;       // pictures kept at once: the rows shown and a few more
const int HubPictureMaxSide = 512;   // pixels; the hub makes none larger
const int HubPictureFetches = 2;     // picture requests out at once, leaving the queue room for the rest

enum {
  hubpicture_free = 0,
  hubpicture_waiting,    // claimed, not started yet
  hubpicture_fetching,   // asked of the hub
  hubpicture_bytes,      // the PNG is in png, for the view to decode
  hubpicture_shown,      // decoded into the view's texture
  hubpicture_missing     // none to show: the hub has none, or refused, or could not be reached
};

struct HubPicture {
  LevelId id;
  int state;          // hubpicture_*
  std::string png;    // the PNG's bytes while state is hubpicture_bytes
  int width, height;  // pixels, from the PNG's header
  int wantedFrame;    // the last frame WantHubPicture asked for it
  HubCall call;
};
extern HubPicture HubPictures[HubPictureSlots];

int WantHubPicture(const char* id);
void StepHubPictures();
bool HubPictureSize(const std::string& png, int* w, int* h);
bool HubPictureCachePath(PathBuffer& out, const char* id);
