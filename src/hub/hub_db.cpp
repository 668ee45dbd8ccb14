// hub_db: the connection pool and the transaction around each request.
#include "hub/hub_db.h"
#include "hub/hub_db_link.h"
#include "hub/hub_pool.h"

#include <cstdlib>

const int TransactionTries = 3;   // a conflict PostgreSQL rolled back is run again this often

static DbLink* Links[MaxPoolSlots];
static int LinkCount;
static SlotPool LinkPool;
// SQLite has one writer at a time and makes the others poll with sleeps
// that grow; this copy's writers queue for it here instead, in order.
static SlotPool SqliteWriteTurn;
static std::string Where;
static bool Postgres;

DbParam Num(long long n)
{
  return DbParam{true, n, std::string()};
}

DbParam Text(const std::string& s)
{
  return DbParam{false, 0, s};
}

long long DbRows::Number(int row, int column) const
{
  return IsNull(row, column) ? 0 : atoll(At(row, column).c_str());
}

static DbLink* OpenLink(std::string* error)
{
  return Postgres ? OpenPostgresLink(Where, error) : OpenSqliteLink(Where, error);
}

bool IsPostgresAddress(const std::string& where)
{
  return where.compare(0, 13, "postgresql://") == 0 || where.compare(0, 11, "postgres://") == 0;
}

bool OpenDatabase(const std::string& where, int connections, std::string* error)
{
  Where = where;
  Postgres = IsPostgresAddress(where);
  StartPool(&LinkPool, connections);
  StartPool(&SqliteWriteTurn, 1);
  LinkCount = LinkPool.count;
  for (int i = 0; i < LinkCount; i++) {
    Links[i] = OpenLink(error);
    if (!Links[i])
      return false;
  }
  return true;
}

void CloseDatabase()
{
  for (int i = 0; i < LinkCount; i++) {
    delete Links[i];
    Links[i] = nullptr;
  }
  LinkCount = 0;
}

bool UsesPostgres()
{
  return Postgres;
}

static int Borrow()
{
  int slot = TakeSlot(&LinkPool, DbBusyMilliseconds);
  if (slot < 0)
    throw DbError(dberror_busy, "every database connection stayed busy");
  return slot;
}

// A lost connection is replaced here, outside the pool's lock, by the next borrower.
static DbLink* LinkOf(int slot)
{
  if (Links[slot] && !Links[slot]->broken)
    return Links[slot];
  delete Links[slot];
  std::string error;
  Links[slot] = OpenLink(&error);
  if (!Links[slot])
    throw DbError(dberror_broken, "cannot reach the database: " + error);
  return Links[slot];
}

static void GiveBack(int slot)
{
  GiveSlot(&LinkPool, slot);
}

// One try of the transaction on a borrowed connection.
static void TryTransaction(int kind, const std::function<void(DbTx&)>& body)
{
  int slot = Borrow();
  bool turn = kind == tx_write && !Postgres;
  if (turn && TakeSlot(&SqliteWriteTurn, DbBusyMilliseconds) < 0) {
    GiveBack(slot);
    throw DbError(dberror_busy, "the database stayed busy with other writers");
  }
  DbLink* link = nullptr;
  try {
    link = LinkOf(slot);
    link->Begin(kind);
    DbTx tx(link);
    body(tx);
    link->Commit();
  } catch (...) {
    if (link)
      link->Rollback();
    if (turn)
      GiveSlot(&SqliteWriteTurn, 0);
    GiveBack(slot);
    throw;
  }
  if (turn)
    GiveSlot(&SqliteWriteTurn, 0);
  GiveBack(slot);
}

void InTransaction(int kind, const std::function<void(DbTx&)>& body)
{
  for (int attempt = 1;; attempt++) {
    try {
      TryTransaction(kind, body);
      return;
    } catch (const DbError& e) {
      if (e.kind != dberror_retry || attempt == TransactionTries)
        throw;
    }
  }
}

long long DbTx::Run(const char* sql, std::initializer_list<DbParam> params, DbRows* rows)
{
  DbRows scratch;
  return link->Run(sql, params.begin(), (int)params.size(), rows ? rows : &scratch);
}

void DbTx::Execute(const std::string& sql)
{
  link->Execute(sql);
}

void DbTx::LockSchema()
{
  link->LockSchema();
}
