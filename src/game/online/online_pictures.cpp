// The hub levels' pictures: slots, the cache folder, the requests.
#include "game/online/online_pictures.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "game/files/level_files.h"
#include "game/online/online_queue.h"

HubPicture HubPictures[HubPictureSlots];

static const int HubStatusOk = 200;
static const char PictureFolderName[] = "pictures";
static int Frame = 1;   // counts StepHubPictures calls, to tell the least lately wanted slot

// The eight bytes every PNG opens with, then the header chunk's length and name.
static const unsigned char PngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                             'I', 'H', 'D', 'R'};
static const int PngSizeAt = sizeof PngSignature;   // width, then height, 4 bytes each, big-endian

static long BigEndian32(const unsigned char* b)
{
  return ((long)b[0] << 24) | ((long)b[1] << 16) | ((long)b[2] << 8) | (long)b[3];
}

bool HubPictureSize(const std::string& png, int* w, int* h)
{
  const unsigned char* b = (const unsigned char*)png.data();
  if (png.size() < (size_t)PngSizeAt + 8 || memcmp(b, PngSignature, sizeof PngSignature) != 0)
    return false;
  long width = BigEndian32(b + PngSizeAt), height = BigEndian32(b + PngSizeAt + 4);
  if (width < 1 || height < 1 || width > HubPictureMaxSide || height > HubPictureMaxSide)
    return false;
  *w = (int)width;
  *h = (int)height;
  return true;
}

bool HubPictureCachePath(PathBuffer& out, const char* id)
{
  PathBuffer folder;
  char name[LevelIdChars + 8];
  snprintf(name, sizeof name, "%s.png", id);
  out[0] = 0;
  return Places.cache[0] && IsLevelIdText(id) && PlacePath(folder, Places.cache, PictureFolderName) &&
         PlacePath(out, folder, name);
}

// Takes png into the slot when it is a picture that fits; else the slot has none.
static bool TakePng(HubPicture& p)
{
  bool fits = HubPictureSize(p.png, &p.width, &p.height);
  p.state = fits ? hubpicture_bytes : hubpicture_missing;
  if (!fits)
    p.png.clear();
  return fits;
}

// The cached picture into the slot; false when there is none (or none that fits).
static bool ReadCached(HubPicture& p)
{
  PathBuffer path;
  FILE* f = HubPictureCachePath(path, p.id) ? fopen(path, "rb") : nullptr;
  if (!f)
    return false;
  char part[4096];
  size_t n;
  p.png.clear();
  while ((n = fread(part, 1, sizeof part, f)) > 0 && p.png.size() <= (size_t)HubPictureMaxBytes)
    p.png.append(part, n);
  fclose(f);
  return p.png.size() <= (size_t)HubPictureMaxBytes && TakePng(p);
}

// A picture the hub sent is kept for the next time; a cache that cannot be
// written costs only the next fetch.
static void WriteCached(const HubPicture& p)
{
  PathBuffer path, folder;
  if (!HubPictureCachePath(path, p.id) || !PlacePath(folder, Places.cache, PictureFolderName))
    return;
  const mode_t FolderMode = 0700;
  PrepareFolder(Places.cache);   // with its parents, where the player's folders are made
  mkdir(Places.cache, FolderMode);   // the game's own folders, made even where those are not (the repository)
  mkdir(folder, FolderMode);
  SaveFileBytes(path, (const unsigned char*)p.png.data(), p.png.size());
}

int WantHubPicture(const char* id)
{
  if (!IsLevelIdText(id))
    return -1;
  int slot = -1;
  for (int i = 0; i < HubPictureSlots && slot < 0; i++)
    if (HubPictures[i].state != hubpicture_free && strcmp(HubPictures[i].id, id) == 0)
      slot = i;
  for (int i = 0; i < HubPictureSlots && slot < 0; i++) {
    // The least lately wanted slot that is not out at the hub (a free one first).
    if (HubPictures[i].state == hubpicture_free)
      slot = i;
  }
  for (int i = 0; i < HubPictureSlots && slot < 0; i++) {
    const HubPicture& p = HubPictures[i];
    bool older = slot < 0 || p.wantedFrame < HubPictures[slot].wantedFrame;
    if (p.state != hubpicture_fetching && p.wantedFrame != Frame && older)
      slot = i;
  }
  if (slot < 0)
    return -1;   // every slot is in use this frame or out at the hub
  HubPicture& p = HubPictures[slot];
  if (p.state == hubpicture_free || strcmp(p.id, id) != 0) {
    snprintf(p.id, sizeof p.id, "%s", id);
    p.state = hubpicture_waiting;
    p.png.clear();
    p.call.slot = -1;
  }
  p.wantedFrame = Frame;
  return slot;
}

// How many picture requests are out.
static int Fetching()
{
  int n = 0;
  for (const HubPicture& p : HubPictures)
    n += p.state == hubpicture_fetching;
  return n;
}

// The first waiting slot started: from the cache, else asked of the hub.
static void StartWaiting()
{
  for (HubPicture& p : HubPictures) {
    if (p.state != hubpicture_waiting)
      continue;
    if (ReadCached(p))
      return;
    if (Fetching() >= HubPictureFetches)
      return;
    char path[HubPathSize];
    snprintf(path, sizeof path, "/levels/%s.png", p.id);
    p.state = StartHubCall(&p.call, hubask_picture, hubmethod_get, path, "") ? hubpicture_fetching
                                                                            : hubpicture_missing;
    return;
  }
}

void StepHubPictures()
{
  Frame++;
  for (HubPicture& p : HubPictures) {
    if (p.state != hubpicture_fetching)
      continue;
    int polled = PollHubCall(&p.call);
    if (polled == hubcall_waiting)
      continue;
    if (polled == hubcall_done) {
      const HubRequest& r = HubRequests[p.call.slot];
      p.png = r.status == HubStatusOk ? r.answer : std::string();
      if (TakePng(p))
        WriteCached(p);
    } else {
      p.state = hubpicture_missing;   // failed, too large, or the call was lost
    }
    EndHubCall(&p.call);
  }
  StartWaiting();
}
