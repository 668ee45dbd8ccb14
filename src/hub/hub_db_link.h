// hub_db_link: one connection of either database, as hub_db's pool sees it:
// the interface the two back ends (hub_db_sqlite.h, hub_db_pg.h) implement.
//   DbLink                   Begin, Commit, Rollback, Run, Execute and LockSchema on one connection
//   DbBusyMilliseconds       SQLite's busy time-out, and the wait for a free connection
#pragma once

#include "hub/hub_db_rows.h"

#include <string>

const int DbBusyMilliseconds = 5000;   // SQLite's busy time-out, and the wait for a free connection

struct DbLink {
  virtual ~DbLink() {}
  virtual void Begin(int kind) = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;   // never throws
  virtual long long Run(const char* sql, const DbParam* params, int count, DbRows* rows) = 0;
  virtual void Execute(const std::string& sql) = 0;
  virtual void LockSchema() = 0;
  bool broken = false;           // set on a lost connection: the pool opens another
};
