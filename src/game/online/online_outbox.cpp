// Finishing runs kept for the hub while it cannot be reached, sent oldest first.
#include "game/online/online_outbox.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "game/base/file_save.h"
#include "game/base/places.h"
#include "game/files/level_files.h"
#include "game/online/online_account.h"
#include "game/online/online_queue.h"

HubOutboxRecord HubOutbox = {{}, -1, 0, false, {-1, 0}};

static const char FileMagic[] = "tetherorb2-outbox 1";
static const long MostFileBytes = 1024 * 1024;   // a kept run's file; a longer one is not ours
static const int HubStatusServerErrors = 500;   // 5xx: the hub may take it later; 4xx refused it for good
static const int HubStatusTooMany = 429;        // but for this one: asked too often, later

static bool EntryPath(PathBuffer& path, int entry)
{
  char name[32];
  snprintf(name, sizeof name, "hub-outbox-%d", entry);
  return PlacePath(path, Places.userSettings, name);
}

// The serial and level of entry's file from its first line; false when it is not a kept run.
static bool ReadHeader(FILE* f, HubOutboxEntry* out)
{
  char line[96], level[LevelIdChars + 2];
  int serial = 0;
  if (!fgets(line, sizeof line, f) || strncmp(line, FileMagic, sizeof FileMagic - 1) != 0)
    return false;
  if (sscanf(line + sizeof FileMagic - 1, " %d %17s", &serial, level) != 2 || serial <= 0 || !IsLevelIdText(level))
    return false;
  out->serial = serial;
  strcpy(out->level, level);
  return true;
}

void LoadHubOutbox()
{
  HubOutbox.sending = -1;
  HubOutbox.waitFrames = 0;
  HubOutbox.unreached = false;
  for (int i = 0; i < HubOutboxRuns; i++) {
    HubOutboxEntry& e = HubOutbox.runs[i];
    e = HubOutboxEntry();
    PathBuffer path;
    FILE* f = EntryPath(path, i) ? fopen(path, "rb") : nullptr;
    if (!f)
      continue;
    if (!ReadHeader(f, &e))
      e = HubOutboxEntry();
    fclose(f);
  }
}

int HubOutboxCount()
{
  int count = 0;
  for (const HubOutboxEntry& e : HubOutbox.runs)
    count += e.serial > 0;
  return count;
}

// The entry a new run goes in: a free one, else the oldest not on its way.
static int EntryForNewRun()
{
  int pick = -1;
  for (int i = 0; i < HubOutboxRuns; i++) {
    if (HubOutbox.runs[i].serial == 0)
      return i;
    if (i != HubOutbox.sending && (pick < 0 || HubOutbox.runs[i].serial < HubOutbox.runs[pick].serial))
      pick = i;
  }
  return pick;
}

bool KeepRunForHub(const char* level, const std::string& replay)
{
  if (!IsLevelIdText(level) || replay.empty() || (long)replay.size() > MostFileBytes / 2)
    return false;
  int newest = 0;
  for (const HubOutboxEntry& e : HubOutbox.runs)
    newest = e.serial > newest ? e.serial : newest;
  int entry = EntryForNewRun();
  PathBuffer path;
  if (entry < 0 || !EntryPath(path, entry))
    return false;
  SaveFile save;
  FILE* f = BeginSave(path, &save, "wb");
  if (!f)
    return false;
  fprintf(f, "%s %d %s\n", FileMagic, newest + 1, level);
  fwrite(replay.data(), 1, replay.size(), f);
  if (!EndSave(f, &save))
    return false;   // the entry's file is as it was
  SavedFileCount++;   // the browser's store keeps it too
  HubOutbox.runs[entry].serial = newest + 1;
  strcpy(HubOutbox.runs[entry].level, level);
  if (HubOutbox.sending < 0) {   // kept as the hub could not be reached: tried again later
    HubOutbox.unreached = true;
    HubOutbox.waitFrames = HubOutboxRetryFrames;
  }
  return true;
}

static void Forget(int entry)
{
  PathBuffer path;
  if (EntryPath(path, entry))
    unlink(path);
  SavedFileCount++;
  HubOutbox.runs[entry] = HubOutboxEntry();
}

// The replay kept in entry's file; "" when it cannot be read whole.
static std::string ReadReplay(int entry)
{
  PathBuffer path;
  FILE* f = EntryPath(path, entry) ? fopen(path, "rb") : nullptr;
  if (!f)
    return "";
  HubOutboxEntry header;
  std::string replay;
  char bytes[4096];
  bool ours = ReadHeader(f, &header) && header.serial == HubOutbox.runs[entry].serial;
  for (size_t n; ours && (n = fread(bytes, 1, sizeof bytes, f)) > 0 && (long)replay.size() < MostFileBytes;)
    replay.append(bytes, n);
  fclose(f);
  return ours ? replay : "";
}

static void ReadAnswer(const HubRequest& r)
{
  int entry = HubOutbox.sending;
  HubOutbox.sending = -1;
  HubOutbox.unreached = false;
  if (r.status >= HubStatusServerErrors || r.status == HubStatusTooMany) {
    HubOutbox.waitFrames = HubOutboxRetryFrames;
    return;
  }
  if (entry >= 0)
    Forget(entry);   // taken, or refused for good: sent once
}

static void Failed()
{
  HubOutbox.sending = -1;
  HubOutbox.unreached = true;
  HubOutbox.waitFrames = HubOutboxRetryFrames;
}

static void SendOldest()
{
  int oldest = -1;
  for (int i = 0; i < HubOutboxRuns; i++)
    if (HubOutbox.runs[i].serial > 0 && (oldest < 0 || HubOutbox.runs[i].serial < HubOutbox.runs[oldest].serial))
      oldest = i;
  if (oldest < 0)
    return;
  std::string replay = ReadReplay(oldest);
  if (replay.empty()) {   // a file lost or mangled since: nothing to send
    Forget(oldest);
    return;
  }
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s/runs", HubOutbox.runs[oldest].level);
  if (StartHubCall(&HubOutbox.call, hubask_run, hubmethod_post, path, HubJsonBody("replay", replay, nullptr, "")))
    HubOutbox.sending = oldest;
  else
    HubOutbox.waitFrames = HubOutboxRetryFrames;   // no room in the queue now
}

void StepHubOutbox()
{
  if (HubOutbox.sending >= 0) {
    FinishHubCall(&HubOutbox.call, ReadAnswer, Failed);
    return;
  }
  if (HubOutbox.unreached && !HubUnreachable)
    HubOutbox.waitFrames = 0;   // the hub answered another request: it can be reached again
  if (HubOutbox.waitFrames > 0) {
    HubOutbox.waitFrames--;
    return;
  }
  if (HubAddress[0] && HubName[0] && HubToken[0] && !HubTokenLost)
    SendOldest();
}
