// online_tries: the session's table of levels tried on the hub and the one request out.
#include "game/lobby/online_tries.h"

#include <cstdio>
#include <cstring>

#include "game/lobby/online_play.h"
#include "game/online/online_account.h"
#include "game/online/online_queue.h"
#include "game/run/run_end.h"

HubTriesRecord HubTries = {{}, 0, 0, {-1, 0}};

void NoteHubRunEnd()
{
  if (HubLevelInPlay() && RunEnd.outcome != runend_finished)
    NoteHubTry(HubPlay.id);
}

bool NoteHubTry(const char* id)
{
  if (!IsLevelIdText(id) || HubTries.count == HubTriesLevels)
    return false;
  for (int i = 0; i < HubTries.count; i++)
    if (strcmp(HubTries.levels[i], id) == 0)
      return false;
  snprintf(HubTries.levels[HubTries.count++], sizeof(LevelId), "%s", id);
  return true;
}

void StepHubTries()
{
  if (HubTries.call.slot >= 0) {
    if (PollHubCall(&HubTries.call) == hubcall_waiting)
      return;
    EndHubCall(&HubTries.call);
  }
  if (HubTries.sent == HubTries.count || !HubName[0] || HubTokenLost)
    return;
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s/tries", HubTries.levels[HubTries.sent]);
  // With no hub set or no free slot, the try waits for a later frame.
  if (StartHubCall(&HubTries.call, hubask_try, hubmethod_post, path, "{}"))
    HubTries.sent++;
}
