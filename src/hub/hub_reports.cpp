// hub_reports: the reports table, the held flag it sets, the route and the operator's commands.
#include "hub/hub_reports.h"

#include "hub/hub_api.h"
#include "hub/hub_body.h"
#include "hub/hub_cache.h"
#include "hub/hub_options.h"
#include "hub/hub_rate.h"
#include "hub/hub_refusal.h"

#include <ctime>

static const char* const ReasonNames[] = {"broken", "offensive", "copied"};
static_assert(sizeof ReasonNames / sizeof ReasonNames[0] == ReportReasonCount, "one entry per ReportReasonCount");

int ReadReportReason(const std::string& text)
{
  for (int r = 0; r < ReportReasonCount; r++)
    if (text == ReasonNames[r])
      return r;
  return -1;
}

void ReportLevel(DbTx& tx, const Player& player, const std::string& id, int reason)
{
  DbRows listed;
  tx.Run("SELECT 1 FROM levels WHERE id = ? AND state = 0", {Text(id)}, &listed);
  if (listed.count == 0)
    throw Refusal{404, "no level " + id};
  tx.Run("INSERT INTO reports (level_id, player_id, reason, created) VALUES (?, ?, ?, ?)"
         " ON CONFLICT (level_id, player_id) DO UPDATE SET reason = excluded.reason, created = excluded.created",
         {Text(id), Num(player.id), Num(reason), Num(time(nullptr))});
  tx.Run("UPDATE levels SET held = 1 WHERE id = ? AND held = 0"
         " AND (SELECT COUNT(*) FROM reports r WHERE r.level_id = levels.id) >= ?",
         {Text(id), Num(HoldReporters)});
}

int ReportedLevels(DbTx& tx, std::string* text)
{
  static_assert(report_broken == 0 && report_offensive == 1 && report_copied == 2, "the reasons' numbers below");
  DbRows r;
  tx.Run("SELECT l.id, l.held, l.state, l.title, SUM(CASE WHEN r.reason = 0 THEN 1 ELSE 0 END),"
         " SUM(CASE WHEN r.reason = 1 THEN 1 ELSE 0 END), SUM(CASE WHEN r.reason = 2 THEN 1 ELSE 0 END)"
         " FROM reports r JOIN levels l ON l.id = r.level_id GROUP BY l.id, l.held, l.state, l.title"
         " ORDER BY COUNT(*) DESC, l.id",
         {}, &r);
  for (int i = 0; i < r.count; i++) {
    static const char* const States[] = {"held", "hidden", "withdrawn", "listed"};
    int state = r.Number(i, 2) == level_hidden ? 1 : r.Number(i, 2) == level_withdrawn ? 2 : r.Number(i, 1) ? 0 : 3;
    char line[160];
    snprintf(line, sizeof line, "%s  %-9s  broken %lld  offensive %lld  copied %lld  ", r.At(i, 0).c_str(),
             States[state], r.Number(i, 4), r.Number(i, 5), r.Number(i, 6));
    *text += line + r.At(i, 3) + "\n";
  }
  return r.count;
}

bool ClearReports(DbTx& tx, const std::string& id)
{
  bool had = tx.Run("DELETE FROM reports WHERE level_id = ?", {Text(id)}) > 0;
  tx.Run("UPDATE levels SET held = 0 WHERE id = ?", {Text(id)});
  return had;
}

static void ReportRoute(const httplib::Request& req, httplib::Response& res)
{
  Guarded(res, [&] {
    std::string id = LevelIdIn(req), hash = TokenHashOf(req);
    int reason = ReadReportReason(BodyText(BodyOf(req), "reason"));
    if (reason < 0)
      throw Refusal{400, "reason is broken, offensive or copied"};
    Player player;
    InTransaction(tx_single, [&](DbTx& tx) { player = FindPlayer(tx, hash); });
    Limit(rate_reports_player, std::to_string(player.id), HubOptions.rates.reportsPerToken);
    Limit(rate_reports_address, ClientKey(req), HubOptions.rates.reportsPerAddress);
    CacheClearer clear(id);   // a level the report holds leaves the kept list pages too
    InTransaction(tx_write, [&](DbTx& tx) { ReportLevel(tx, player, id, reason); });
    res.status = 204;
  });
}

void AddReportRoutes(httplib::Server& server)
{
  server.Post("/api/v1/levels/([^/]+)/reports", WithBody(ReportRoute));
}
