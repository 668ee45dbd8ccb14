// hub_db_link: one connection of either database, as hub_db's pool sees it.
// Shared by hub_db.cpp and the two back ends only.
//   OpenSqliteLink(path)     a connection to a SQLite file in WAL mode
//   OpenPostgresLink(url)    a connection to a PostgreSQL server
#pragma once

#include <string>

struct DbParam;   // hub_db.h
struct DbRows;

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

DbLink* OpenSqliteLink(const std::string& path, std::string* error);
DbLink* OpenPostgresLink(const std::string& url, std::string* error);
