// hub_db_rows: a statement's parameters and rows.
#include "hub/hub_db_rows.h"

#include <cstdlib>

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
