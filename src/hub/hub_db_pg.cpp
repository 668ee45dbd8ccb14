// hub_db_pg: a PostgreSQL connection through libpqxx. Statements are
// prepared once per connection, with the ? placeholders numbered $1, $2 ..;
// transactions run at READ COMMITTED, and the hub's statements are written
// so that each holds under it (INSERT .. ON CONFLICT, UPDATE .. WHERE).
#include "hub/hub_db_pg.h"

#include <memory>
#include <pqxx/pqxx>
#include <unordered_map>

static const char SchemaLockKey[] = "7316254";   // pg_advisory_xact_lock's key for the hub's schema

// The statement with each ? outside quotes numbered as PostgreSQL wants.
static std::string NumberedPlaceholders(const char* sql)
{
  std::string out;
  bool quoted = false;
  int n = 0;
  for (const char* c = sql; *c; c++) {
    if (*c == '\'')
      quoted = !quoted;
    if (*c == '?' && !quoted)
      out += "$" + std::to_string(++n);
    else
      out += *c;
  }
  return out;
}

struct PostgresLink : DbLink {
  std::unique_ptr<pqxx::connection> conn;
  std::unique_ptr<pqxx::transaction_base> tx;
  std::unordered_map<const char*, std::string> prepared;   // statement text -> its name

  [[noreturn]] void Fail(const std::exception& e)
  {
    if (dynamic_cast<const pqxx::broken_connection*>(&e)) {
      broken = true;
      throw DbError(dberror_broken, std::string("postgresql: ") + e.what());
    }
    if (dynamic_cast<const pqxx::transaction_rollback*>(&e))
      throw DbError(dberror_retry, std::string("postgresql: ") + e.what());
    throw DbError(dberror_fault, std::string("postgresql: ") + e.what());
  }

  void Begin(int kind) override
  {
    try {
      if (kind == tx_write)
        tx.reset(new pqxx::work(*conn));
      else if (kind == tx_single)
        tx.reset(new pqxx::nontransaction(*conn));
      else
        tx.reset(new pqxx::read_transaction(*conn));
    } catch (const std::exception& e) {
      Fail(e);
    }
  }

  void Commit() override
  {
    try {
      tx->commit();
      tx.reset();
    } catch (const std::exception& e) {
      tx.reset();
      Fail(e);
    }
  }

  void Rollback() override
  {
    try {
      if (tx)
        tx->abort();
    } catch (...) {
    }
    tx.reset();
  }

  void Execute(const std::string& sql) override
  {
    try {
      tx->exec(sql);
    } catch (const std::exception& e) {
      Fail(e);
    }
  }

  void LockSchema() override { Execute(std::string("SELECT pg_advisory_xact_lock(") + SchemaLockKey + ")"); }

  long long Run(const char* sql, const DbParam* params, int count, DbRows* rows) override
  {
    try {
      auto found = prepared.find(sql);
      if (found == prepared.end()) {
        std::string name = "q" + std::to_string(prepared.size());
        conn->prepare(name, NumberedPlaceholders(sql));
        found = prepared.emplace(sql, name).first;
      }
      std::vector<std::string> values;
      for (int i = 0; i < count; i++)
        values.push_back(params[i].isNumber ? std::to_string(params[i].number) : params[i].text);
      pqxx::result r = tx->exec_prepared(found->second, pqxx::prepare::make_dynamic_params(values));
      *rows = DbRows();
      rows->columns = (int)r.columns();
      for (const auto& row : r) {
        for (const auto& field : row) {
          rows->cells.emplace_back(field.c_str(), field.size());
          rows->nulls.push_back(field.is_null());
        }
        rows->count++;
      }
      return rows->columns > 0 ? rows->count : (long long)r.affected_rows();
    } catch (const std::exception& e) {
      Fail(e);
    }
  }
};

DbLink* OpenPostgresLink(const std::string& url, std::string* error)
{
  PostgresLink* link = new PostgresLink;
  try {
    link->conn.reset(new pqxx::connection(url));
  } catch (const std::exception& e) {
    *error = std::string("cannot connect to PostgreSQL: ") + e.what();
    delete link;
    return nullptr;
  }
  return link;
}
