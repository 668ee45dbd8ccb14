// hub_db_sqlite: a SQLite connection in WAL mode. Writers begin with BEGIN
// IMMEDIATE, so a transaction takes the one write lock before it reads
// rather than failing when it first writes; readers keep reading the last
// commit meanwhile. Every commit is synced (synchronous=FULL): a run the hub
// acknowledged survives the hub being killed and the machine losing power.
#include "hub/hub_db_sqlite.h"

#include <chrono>
#include <sqlite3.h>
#include <thread>
#include <unordered_map>

static const int WalRetryMilliseconds = 10;   // between tries to turn WAL on while another copy does

struct SqliteLink : DbLink {
  sqlite3* db = nullptr;
  std::unordered_map<const char*, sqlite3_stmt*> statements;   // by the text's address: the SQL is static
  bool single = false;   // the open "transaction" is a tx_single: nothing to begin or commit

  ~SqliteLink() override
  {
    for (auto& s : statements)
      sqlite3_finalize(s.second);
    sqlite3_close(db);
  }

  [[noreturn]] void Fail(int code)
  {
    int base = code & 0xff;
    throw DbError(base == SQLITE_BUSY || base == SQLITE_LOCKED ? dberror_busy : dberror_fault,
                  std::string("sqlite: ") + sqlite3_errmsg(db));
  }

  void Execute(const std::string& sql) override
  {
    int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
      Fail(code);
  }

  // A single statement runs in SQLite's own transaction around it. BEGIN
  // and COMMIT are prepared once, as every statement is: sqlite3_exec
  // parsed them again for every transaction.
  void Begin(int kind) override
  {
    single = kind == tx_single;
    if (!single)
      Step(kind == tx_write ? "BEGIN IMMEDIATE" : "BEGIN");
  }
  void Commit() override
  {
    if (!single)
      Step("COMMIT");
  }
  void Step(const char* sql)
  {
    DbRows none;
    Run(sql, nullptr, 0, &none);
  }
  void Rollback() override { sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr); }
  void LockSchema() override {}   // BEGIN IMMEDIATE already holds the only write lock

  sqlite3_stmt* Prepare(const char* sql)
  {
    auto found = statements.find(sql);
    if (found != statements.end())
      return found->second;
    sqlite3_stmt* s = nullptr;
    int code = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    if (code != SQLITE_OK)
      Fail(code);
    statements[sql] = s;
    return s;
  }

  long long Run(const char* sql, const DbParam* params, int count, DbRows* rows) override
  {
    sqlite3_stmt* s = Prepare(sql);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    for (int i = 0; i < count; i++) {
      const DbParam& p = params[i];
      if (p.isNumber)
        sqlite3_bind_int64(s, i + 1, p.number);
      else
        sqlite3_bind_text(s, i + 1, p.text.data(), (int)p.text.size(), SQLITE_TRANSIENT);
    }
    *rows = DbRows();
    rows->columns = sqlite3_column_count(s);
    int code;
    while ((code = sqlite3_step(s)) == SQLITE_ROW) {
      for (int c = 0; c < rows->columns; c++) {
        const unsigned char* text = sqlite3_column_text(s, c);
        rows->cells.emplace_back(text ? (const char*)text : "", sqlite3_column_bytes(s, c));
        rows->nulls.push_back(sqlite3_column_type(s, c) == SQLITE_NULL);
      }
      rows->count++;
    }
    bool writes = !sqlite3_stmt_readonly(s);
    sqlite3_reset(s);
    if (code != SQLITE_DONE)
      Fail(code);
    if (rows->columns > 0)
      return rows->count;
    return writes ? sqlite3_changes(db) : 0;
  }
};

DbLink* OpenSqliteLink(const std::string& path, std::string* error)
{
  SqliteLink* link = new SqliteLink;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &link->db, flags, nullptr) != SQLITE_OK) {
    *error = "cannot open " + path + ": " + sqlite3_errmsg(link->db);
    delete link;
    return nullptr;
  }
  sqlite3_busy_timeout(link->db, DbBusyMilliseconds);
  try {
    // Copies opening a new file at once race to turn WAL on, and SQLite
    // answers the loser busy at once, without its busy time-out.
    for (int waited = 0;; waited += WalRetryMilliseconds) {
      try {
        link->Execute("PRAGMA journal_mode=WAL");
        break;
      } catch (const DbError& e) {
        if (e.kind != dberror_busy || waited >= DbBusyMilliseconds)
          throw;
        std::this_thread::sleep_for(std::chrono::milliseconds(WalRetryMilliseconds));
      }
    }
    link->Execute("PRAGMA synchronous=FULL");
  } catch (const DbError& e) {
    *error = "cannot use " + path + ": " + e.what();
    delete link;
    return nullptr;
  }
  return link;
}
