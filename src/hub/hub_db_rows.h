// hub_db_rows: what passes between the hub's database and its two back ends
// (hub_db_sqlite, hub_db_pg): a statement's parameters and rows, what can go
// wrong, and the kinds of transaction.
//   DbParam, Num(n), Text(s)   a statement's parameter: a number or a text
//   DbRows                     a statement's rows, as text; Number(row, column) is 0 for NULL
//   DbError                    what failed: busy, worth a retry, a lost connection, or a fault
//   tx_read, tx_write, tx_single   the kinds of transaction hub_db's InTransaction runs
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

struct DbParam {
  bool isNumber;
  long long number;
  std::string text;
};
DbParam Num(long long n);
DbParam Text(const std::string& s);

struct DbRows {
  int columns = 0;
  int count = 0;
  std::vector<std::string> cells;   // row by row
  std::vector<char> nulls;

  const std::string& At(int row, int column) const { return cells[row * columns + column]; }
  long long Number(int row, int column) const;
  bool IsNull(int row, int column) const { return nulls[row * columns + column] != 0; }
};

enum {
  dberror_busy,     // the database or the pool stayed busy past its time-out
  dberror_retry,    // a conflict rolled the transaction back: running it again can succeed
  dberror_broken,   // the connection was lost; the next borrower opens another
  dberror_fault     // anything else
};

class DbError : public std::runtime_error {
public:
  DbError(int kind, const std::string& what) : std::runtime_error(what), kind(kind) {}
  int kind;
};

// tx_single: no transaction around the statements, each its own, for a
// read of one statement (or of several that need no common snapshot); on
// PostgreSQL it saves the round trips of BEGIN and COMMIT.
enum { tx_read, tx_write, tx_single };
