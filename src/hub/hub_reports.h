// hub_reports: players reporting a level as broken, offensive or copied.
// Each player has one report a level (a second replaces its reason). A level
// that HoldReporters players have reported is held: it stays playable by its
// id, but no list, search or level of the day shows it, until the operator
// hides it (tetherorb2-hub hide) or clears its reports (clear-reports).
//   HoldReporters                   players whose reports hold a level
//   ReadReportReason(text)          report_*, or -1 for a word it is not
//   ReportLevel(tx, player, id, why) files or replaces the player's report; Refusal 404 for an unlisted level
//   ReportedLevels(tx, text)        one line a reported level: counts by reason, held or not; the count of levels
//   ClearReports(tx, id)            drops the level's reports and lets it be listed; false when it had none
//   AddReportRoutes(server)         POST /api/v1/levels/ID/reports
#pragma once

#include "hub/hub_db.h"
#include "hub/hub_store.h"

#include <httplib.h>
#include <string>

const int HoldReporters = 5;

enum { report_broken, report_offensive, report_copied, ReportReasonCount };

int ReadReportReason(const std::string& text);
void ReportLevel(DbTx& tx, const Player& player, const std::string& id, int reason);
int ReportedLevels(DbTx& tx, std::string* text);
bool ClearReports(DbTx& tx, const std::string& id);
void AddReportRoutes(httplib::Server& server);
