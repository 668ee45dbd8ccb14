// hub_db: the connection pool and the transaction around each request.
#include "hub/hub_db.h"
#include "hub/hub_db_link.h"
#include "hub/hub_db_pg.h"
#include "hub/hub_db_sqlite.h"
#include "hub/hub_pool.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <vector>

const int TransactionTries = 3;   // a conflict PostgreSQL rolled back is run again this often

static DbLink* Links[MaxPoolSlots];
static int LinkCount;
static SlotPool LinkPool;
const int MaxBatchWrites = 64;     // SQLite writes committed together at most

// SQLite has one writer at a time, makes the others poll with sleeps that
// grow, and syncs every commit to disk: at a few milliseconds a sync,
// writes committed one by one cap the runs a second whatever the
// processors could do. So this copy's writes queue here, in order, and go
// in batches: a writer that finds no batch running leads one, takes the
// writes waiting, runs each in a savepoint of one transaction (a write that
// throws undoes its own changes only), commits once, wakes the writers of
// the batch and hands the lead to the first writer still waiting. A write
// returns only after the commit that holds it. Each writer is woken on its
// own: waking them all at every commit woke those left for the next batch
// for nothing, a thread switch each.
struct BatchedWrite {
  const std::function<void(DbTx&)>* body;
  std::exception_ptr thrown;
  bool done;
  bool leads;                        // handed the lead of the next batch
  std::condition_variable woken;     // on done or leads
};
// The batches go through a connection of their own. SQLite drops a
// connection's page cache whenever another connection wrote since its
// last transaction, so batches on whichever pooled connection was free
// read the paths down every index they touch again; on one connection
// they find them still cached.
static DbLink* BatchLink;
const char BatchCachePragma[] = "PRAGMA cache_size=-16384";   // KiB: the index paths of a million runs
static std::mutex BatchLock;
static std::deque<BatchedWrite*> BatchQueue;
static bool BatchLeading;            // a writer leads a batch, or has been handed the lead
// A run at a verifier reaches the queue within about one re-run. A batch's
// leader waits that long at most for such writes, so that their commit
// and its sync to disk are shared: at two verifiers' pace the batches
// otherwise held one or two runs, and their commits took nearly a third
// of the request threads' time.
const int BatchGatherMicroseconds = 700;
static int (*WritesComing)();
static BatchedWrite* Gathering;      // the leader waiting for writes to come, woken by each
static std::string Where;
static bool Postgres;

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
  LinkCount = LinkPool.count;
  for (int i = 0; i < LinkCount; i++) {
    Links[i] = OpenLink(error);
    if (!Links[i])
      return false;
  }
  if (!Postgres) {
    BatchLink = OpenLink(error);
    if (!BatchLink)
      return false;
    BatchLink->Execute(BatchCachePragma);
  }
  return true;
}

void CloseDatabase()
{
  for (int i = 0; i < LinkCount; i++) {
    delete Links[i];
    Links[i] = nullptr;
  }
  delete BatchLink;
  BatchLink = nullptr;
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
    GiveBack(slot);
    throw;
  }
  GiveBack(slot);
}

// One SQLite transaction for the batch. A database failure fails the
// whole batch; anything else a write throws (a refusal) is its own.
static void RunBatch(const std::vector<BatchedWrite*>& batch)
{
  DbLink* link = BatchLink;
  try {
    link->Begin(tx_write);
    DbTx tx(link);
    for (BatchedWrite* w : batch) {
      tx.Run("SAVEPOINT batched", {});
      try {
        (*w->body)(tx);
      } catch (const DbError&) {
        throw;
      } catch (...) {
        w->thrown = std::current_exception();
        tx.Run("ROLLBACK TO batched", {});
      }
      tx.Run("RELEASE batched", {});
    }
    link->Commit();
  } catch (...) {
    if (link)
      link->Rollback();
    for (BatchedWrite* w : batch)
      w->thrown = std::current_exception();
  }
}

void GatherWritesFrom(int (*count)())
{
  WritesComing = count;
}

// The leader's wait for the writes coming soon, or the batch's limit.
static void Gather(BatchedWrite* me, std::unique_lock<std::mutex>& hold)
{
  int coming = WritesComing ? WritesComing() : 0;
  if (coming <= 0)
    return;
  size_t want = std::min(BatchQueue.size() + (size_t)coming, (size_t)MaxBatchWrites);
  Gathering = me;
  me->woken.wait_for(hold, std::chrono::microseconds(BatchGatherMicroseconds),
                     [&] { return BatchQueue.size() >= want; });
  Gathering = nullptr;
}

static void WriteInBatch(const std::function<void(DbTx&)>& body)
{
  BatchedWrite me{&body, nullptr, false, false, {}};
  std::unique_lock<std::mutex> hold(BatchLock);
  BatchQueue.push_back(&me);
  if (Gathering)
    Gathering->woken.notify_one();
  if (BatchLeading)
    me.woken.wait(hold, [&] { return me.done || me.leads; });
  if (!me.done) {   // this writer leads, and is first in the queue
    BatchLeading = true;
    Gather(&me, hold);
    std::vector<BatchedWrite*> batch;
    while (!BatchQueue.empty() && (int)batch.size() < MaxBatchWrites) {
      batch.push_back(BatchQueue.front());
      BatchQueue.pop_front();
    }
    hold.unlock();
    RunBatch(batch);
    hold.lock();
    for (BatchedWrite* w : batch) {
      w->done = true;
      if (w != &me)
        w->woken.notify_one();
    }
    BatchLeading = !BatchQueue.empty();
    if (BatchLeading) {
      BatchQueue.front()->leads = true;
      BatchQueue.front()->woken.notify_one();
    }
  }
  if (me.thrown)
    std::rethrow_exception(me.thrown);
}

void InTransaction(int kind, const std::function<void(DbTx&)>& body)
{
  if (kind == tx_write && !Postgres) {
    WriteInBatch(body);
    return;
  }
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
