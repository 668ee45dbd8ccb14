// online_report: the player's report of a hub level to the hub's keepers, from
// the level's leaderboard on the Online screen: a short list of reasons
// (broken, offensive, copied), one chosen and sent with the player's token
// in the background; what became of it is said on the screen's bottom line.
//   HubReport                  the record the screen reads
//   OpenHubReport(id)          the list of reasons opens for the level id
//   MoveHubReport(step)        the lit reason, -1 up, 1 down, kept in the list
//   SendHubReport()            the lit reason sent; the list closes
//   CloseHubReport()           the list closes, nothing sent
//   StepHubReport()            once a frame: the answer in
//   HubReasonName(reason)      as the list shows it
//   HubReportLine()            what is under way or became of the report; "" for nothing
#pragma once

#include "game/files/level_id.h"
#include "game/online/online_answers.h"

enum { hubreason_broken = 0, hubreason_offensive, hubreason_copied, hubreason_count };
enum { hubreport_idle = 0, hubreport_sending, hubreport_sent, hubreport_refused, hubreport_unreachable };

struct HubReportRecord {
  bool choosing;              // the list of reasons is open
  int reason;                 // the lit one, hubreason_*
  LevelId level;
  int state;                  // hubreport_*
  char why[HubRefusalSize];
  HubCall call;
};
extern HubReportRecord HubReport;

void OpenHubReport(const char* id);
void MoveHubReport(int step);
void SendHubReport();
void CloseHubReport();
void StepHubReport();
const char* HubReasonName(int reason);
const char* HubReportLine();
