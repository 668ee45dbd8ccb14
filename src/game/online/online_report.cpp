// Reporting a hub level: the reasons, the request, the line said of it.
#include "game/online/online_report.h"

#include <cstdio>

#include "game/base/lang.h"
#include "game/online/online_account.h"
#include "game/online/online_queue.h"

HubReportRecord HubReport;

static const int HubStatusNoContent = 204;
static const int HubStatusOk = 200;
static const char* const ReasonQueries[] = {"broken", "offensive", "copied"};
static_assert(sizeof ReasonQueries / sizeof ReasonQueries[0] == hubreason_count, "one entry per hubreason_count");
static const char* const ReasonNames[] = {N_("Broken: it cannot be played"), N_("Offensive"),
                                          N_("Copied from someone else")};
static_assert(sizeof ReasonNames / sizeof ReasonNames[0] == hubreason_count, "one entry per hubreason_count");
static char ReportLine[HubRefusalSize + 64];

const char* HubReasonName(int reason)
{
  return Tr(ReasonNames[reason >= 0 && reason < hubreason_count ? reason : 0]);
}

void OpenHubReport(const char* id)
{
  if (!IsLevelIdText(id) || HubReport.state == hubreport_sending)
    return;
  snprintf(HubReport.level, sizeof HubReport.level, "%s", id);
  HubReport.choosing = true;
  HubReport.reason = hubreason_broken;
  HubReport.state = hubreport_idle;
}

void MoveHubReport(int step)
{
  int r = HubReport.reason + step;
  HubReport.reason = r < 0 ? 0 : r >= hubreason_count ? hubreason_count - 1 : r;
}

void CloseHubReport()
{
  HubReport.choosing = false;
}

static void Unreachable()
{
  HubReport.state = hubreport_unreachable;
}

static void ReadAnswer(const HubRequest& r)
{
  bool taken = r.status == HubStatusNoContent || r.status == HubStatusOk;
  HubReport.state = taken ? hubreport_sent : hubreport_refused;
  if (!taken)
    HubRefusal(r.answer, r.status, HubReport.why);
}

void SendHubReport()
{
  if (!HubReport.choosing)
    return;
  HubReport.choosing = false;
  if (HubTokenLost || !EnsureHubToken()) {
    HubReport.state = hubreport_refused;
    snprintf(HubReport.why, sizeof HubReport.why, "%s", Tr("Hub token unreadable - R: register anew"));
    return;
  }
  char path[HubPathSize];
  snprintf(path, sizeof path, "/api/v1/levels/%s/reports", HubReport.level);
  std::string body = HubJsonBody("reason", ReasonQueries[HubReport.reason], nullptr, "");
  HubReport.state = hubreport_sending;
  if (!StartHubCall(&HubReport.call, hubask_report, hubmethod_post, path, body))
    Unreachable();
}

void StepHubReport()
{
  FinishHubCall(&HubReport.call, ReadAnswer, Unreachable);
}

const char* HubReportLine()
{
  switch (HubReport.state) {
  case hubreport_sending: return Tr("Sending the report...");
  case hubreport_sent: return Tr("Report sent - thank you");
  case hubreport_refused:
    snprintf(ReportLine, sizeof ReportLine, "%s: %s", Tr("Report not taken"), HubReport.why);
    return ReportLine;
  case hubreport_unreachable: return Tr("The hub cannot be reached");
  default: return "";
  }
}
