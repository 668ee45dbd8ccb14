// The Online screen's requests and their answers.
#include "game/lobby/online_browse.h"

#include <cstdio>
#include <cstring>

#include "game/base/lang.h"
#include "game/files/level_files.h"
#include "game/files/level_slots.h"
#include "game/lobby/online_play.h"
#include "game/online/online_account.h"
#include "game/online/online_queue.h"
#include "game/online/online_search.h"

HubBrowseRecord HubBrowse;

static const int HubStatusOk = 200;
static const int HubStatusNotFound = 404;
static const char* const SortQueries[] = {"new", "plays", "rating"};
static_assert(sizeof SortQueries / sizeof SortQueries[0] == hubsort_count, "one entry per hubsort_count");
static const char* const SortNames[] = {N_("newest"), N_("most played"), N_("best rated")};
static_assert(sizeof SortNames / sizeof SortNames[0] == hubsort_count, "one entry per hubsort_count");

const char* HubSortName(int sort)
{
  return Tr(SortNames[sort >= 0 && sort < hubsort_count ? sort : 0]);
}

static int LevelBestOnHub(const HubLevelEntry& e);

static void Ask(int busy, int kind, const char* path)
{
  EndHubCall(&HubBrowse.call);
  HubBrowse.retryBusy = hubbrowse_idle;
  HubBrowse.note[0] = 0;
  HubBrowse.busy = StartHubCall(&HubBrowse.call, kind, hubmethod_get, path, "") ? busy : hubbrowse_idle;
  if (!HubBrowse.busy)
    snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", Tr("The hub cannot be reached"));
}

void AskHubPage(int sort, int page)
{
  HubBrowse.sort = sort;
  HubBrowse.page = page < 1 ? 1 : page;
  char path[HubPathSize];
  HubListPath(SortQueries[HubBrowse.sort], HubBrowse.page, path);   // the words always fit the path
  Ask(hubbrowse_listing, hubask_levels, path);
}

void OpenHubBrowse()
{
  if (HubBrowse.busy == hubbrowse_level)
    return;   // a linked level is on its way; the list comes when asked
  HubBrowse.linked = false;
  HubBrowse.listRead = false;
  HubBrowse.list.count = 0;
  HubBrowse.boardRow = -1;
  AskHubPage(HubBrowse.sort, 1);
  EndHubCall(&HubBrowse.dailyCall);
  StartHubCall(&HubBrowse.dailyCall, hubask_daily, hubmethod_get, "/api/v1/daily", "");
}

// The level of the day above page 1 of the whole list, once both are in;
// the same level further down the page is left out.
static void PlaceDaily()
{
  HubLevelPage& list = HubBrowse.list;
  bool placed = list.count > 0 && list.levels[0].daily;
  if (placed || !HubBrowse.dailyRead || !HubBrowse.listRead || HubBrowse.page != 1 || HubListNarrowed())
    return;
  int kept = 0;
  for (int i = 0; i < list.count; i++)
    if (strcmp(list.levels[i].id, HubBrowse.daily.id) != 0)
      list.levels[kept++] = list.levels[i];
  list.count = kept < HubPageLevels ? kept : HubPageLevels;
  memmove(&list.levels[1], &list.levels[0], sizeof list.levels[0] * list.count);
  list.levels[0] = HubBrowse.daily;
  list.levels[0].daily = true;
  list.count++;
}

static void ReadDaily(const HubRequest& r)
{
  // No level of the day (404), or one that cannot be read: the list goes without.
  HubBrowse.dailyRead = r.status == HubStatusOk && ReadHubLevelRow(r.answer, &HubBrowse.daily);
  if (HubBrowse.dailyRead)
    HubBrowse.daily.best = LevelBestOnHub(HubBrowse.daily);
  PlaceDaily();
}

static void DailyUnreached()
{
}

void AskHubBoard(int row)
{
  if (row < 0 || row >= HubBrowse.list.count)
    return;
  HubBrowse.row = row;
  HubBrowse.boardRow = -1;
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s/records?limit=%d", HubBrowse.list.levels[row].id, HubBoardRows);
  Ask(hubbrowse_board, hubask_records, path);
}

void FetchHubLevel(int row, bool race)
{
  if (row < 0 || row >= HubBrowse.list.count)
    return;
  HubBrowse.row = row;
  HubBrowse.race = race && HubBrowse.boardRow == row && HubBrowse.board.count > 0;
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s", HubBrowse.list.levels[row].id);
  Ask(hubbrowse_level, hubask_level, path);
}

void FetchHubLevelById(const char* id)
{
  if (!IsLevelIdText(id))
    return;
  HubBrowse.list = HubLevelPage();
  HubBrowse.list.count = 1;
  HubBrowse.list.levels[0].clearPercent = -1;
  snprintf(HubBrowse.list.levels[0].id, sizeof HubBrowse.list.levels[0].id, "%s", id);
  HubBrowse.boardRow = -1;
  HubBrowse.linked = true;
  FetchHubLevel(0, false);
}

// The level's text is in: saved, then raced or played.
static void LevelArrived(const std::string& text)
{
  const char* id = HubBrowse.list.levels[HubBrowse.row].id;
  HubPlay.clearPercent = HubBrowse.list.levels[HubBrowse.row].clearPercent;   // for the results card
  if (!SaveHubLevel(id, text)) {
    snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", Tr("The level could not be saved"));
    return;
  }
  if (HubBrowse.race) {
    char path[HubPathSize];
    snprintf(path, sizeof path, "/api/v1/runs/%s/replay", HubBrowse.board.rows[0].run);
    Ask(hubbrowse_race, hubask_replay, path);
    return;
  }
  if (!StartHubLevel(id, nullptr, HubBrowse.list.levels[HubBrowse.row].authorScore))
    snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", Tr("The level cannot be played"));
}

// The player's best of a listed level: kept beside it when played from the
// hub, or the shipped level's own best while the player's copy is the shipped one.
static int LevelBestOnHub(const HubLevelEntry& e)
{
  int best = HubLevelBest(e.id);
  if (e.shipped > 0 && LevelSlotKind(e.shipped) == slot_shipped && LevelBest[e.shipped - 1] > best)
    best = LevelBest[e.shipped - 1];
  return best;
}

static void ReadAnswer(int busy, const HubRequest& r)
{
  if (r.status != HubStatusOk) {
    HubRefusal(r.answer, r.status, HubBrowse.note);
    if (busy == hubbrowse_level && r.status == HubStatusNotFound)
      snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", Tr("That level is not on this hub"));
    return;
  }
  bool read = true;
  switch (busy) {
  case hubbrowse_listing:
    read = ReadHubLevelPage(r.answer, &HubBrowse.list);
    HubBrowse.listRead = read;
    for (int i = 0; i < HubBrowse.list.count; i++)
      HubBrowse.list.levels[i].best = LevelBestOnHub(HubBrowse.list.levels[i]);
    HubBrowse.boardRow = -1;
    PlaceDaily();
    break;
  case hubbrowse_board:
    read = ReadHubBoard(r.answer, &HubBrowse.board);
    HubBrowse.boardRow = read ? HubBrowse.row : -1;
    break;
  case hubbrowse_level:
    LevelArrived(r.answer);
    break;
  case hubbrowse_race:
    if (StartHubLevel(HubBrowse.list.levels[HubBrowse.row].id, &r.answer,
                      HubBrowse.list.levels[HubBrowse.row].authorScore))
      HubBrowse.busy = hubbrowse_rerun;   // play starts once the record's run is re-run
    else
      snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", Tr("The level cannot be played"));
    break;
  }
  if (!read)
    snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", HubUnreadLine());
}

static int AnsweredBusy;   // what the call being finished was for

static void ReadBrowseAnswer(const HubRequest& r)
{
  ReadAnswer(AnsweredBusy, r);
}

static void Unreachable()
{
  snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", Tr("The hub cannot be reached"));
  bool list = AnsweredBusy == hubbrowse_listing || AnsweredBusy == hubbrowse_board;
  HubBrowse.retryBusy = list ? AnsweredBusy : hubbrowse_idle;   // a level is fetched again only when asked
  HubBrowse.retryFrames = HubBrowseRetryFrames;
}

// A page or leaderboard the hub could not be reached for is asked again every few seconds.
static void RetryUnreached()
{
  if (HubBrowse.retryBusy == hubbrowse_idle || --HubBrowse.retryFrames > 0)
    return;
  int busy = HubBrowse.retryBusy;
  HubBrowse.retryBusy = hubbrowse_idle;
  if (busy == hubbrowse_listing)
    AskHubPage(HubBrowse.sort, HubBrowse.page);
  else
    AskHubBoard(HubBrowse.row);
}

void StepHubBrowse()
{
  FinishHubCall(&HubBrowse.dailyCall, ReadDaily, DailyUnreached);
  if (HubBrowse.busy == hubbrowse_rerun) {
    if (StepHubRace())
      HubBrowse.busy = hubbrowse_idle;
    return;
  }
  if (HubBrowse.busy == hubbrowse_idle)
    RetryUnreached();
  int slot = HubBrowse.call.slot;
  bool tooLarge = slot >= 0 && slot < HubMaxRequests && HubRequests[slot].tooLarge;
  AnsweredBusy = HubBrowse.busy;
  // Reading the answer may start the next request (a level's record run).
  HubBrowse.busy = hubbrowse_idle;
  if (!FinishHubCall(&HubBrowse.call, ReadBrowseAnswer, Unreachable)) {
    HubBrowse.busy = AnsweredBusy;
    return;
  }
  if (tooLarge)
    snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s", Tr("The hub's answer is too large"));
}

void RenewHubToken()
{
  if (!HubTokenLost)
    return;
  bool saved = RenewHubAccount();
  snprintf(HubBrowse.note, sizeof HubBrowse.note, "%s",
           saved ? Tr("New hub token: your next run asks a name")
                 : Tr("The new hub token could not be saved"));
}

const char* HubBrowseLine()
{
  if (HubBrowse.note[0])
    return HubBrowse.note;
  if (HubTokenLost && !HubBrowse.busy)
    return Tr("Hub token unreadable - R: register anew");
  switch (HubBrowse.busy) {
  case hubbrowse_listing: return Tr("Asking the hub...");
  case hubbrowse_board: return Tr("Fetching the leaderboard...");
  case hubbrowse_level:
  case hubbrowse_race:
  case hubbrowse_rerun: return Tr("Fetching the level...");
  default: return "";
  }
}
