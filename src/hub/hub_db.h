// hub_db: the hub's database, SQLite (a file path) or PostgreSQL (a
// postgresql:// address), behind one small interface and the same SQL for
// both: statements are written with ? placeholders, which become $1, $2 ..
// for PostgreSQL. A fixed pool of connections serves the request threads;
// each request borrows one for a transaction, which commits whole or not at
// all. Any failed statement throws DbError.
//   DbParam, DbRows, DbError   hub_db_rows.h: a statement's parameters, rows and failures
//   OpenDatabase(where, n)     opens the pool of n connections (on SQLite one more, the batches')
//   InTransaction(kind, body)  runs body in one transaction (tx_read, tx_write; tx_single:
//                              statements each on their own) on a borrowed connection and
//                              commits; rolls back and rethrows what body throws; retries
//                              a transaction PostgreSQL rolled back for a conflict; SQLite
//                              writes waiting at once share one transaction and one sync to
//                              disk, each in a savepoint of its own
//   DbTx::Run(sql, params)     one statement; returns the rows it changed or returned
//   DbTx::Execute(sql)         one statement without parameters or result (the schema)
//   DbTx::LockSchema()         the lock that serialises copies starting at once
//   GatherWritesFrom(count)    count() tells how many writes will come soon (runs at a
//                              verifier): a SQLite batch waits a little for them
//   UsesPostgres()             true when the pool speaks to PostgreSQL
//   IsPostgresAddress(where)   true for a postgresql:// (or postgres://) address
#pragma once

#include "hub/hub_db_rows.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

struct DbLink;

class DbTx {
public:
  explicit DbTx(DbLink* link) : link(link) {}
  long long Run(const char* sql, std::initializer_list<DbParam> params, DbRows* rows = nullptr);
  void Execute(const std::string& sql);
  void LockSchema();

private:
  DbLink* link;
};

bool OpenDatabase(const std::string& where, int connections, std::string* error);
void CloseDatabase();
void GatherWritesFrom(int (*count)());
bool UsesPostgres();
bool IsPostgresAddress(const std::string& where);
void InTransaction(int kind, const std::function<void(DbTx&)>& body);
