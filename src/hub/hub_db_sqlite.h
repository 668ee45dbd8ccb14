// hub_db_sqlite: hub_db's SQLite back end, a connection in WAL mode.
//   OpenSqliteLink(path, error)   a connection to a SQLite file; null with *error when it fails
#pragma once

#include "hub/hub_db_link.h"

#include <string>

DbLink* OpenSqliteLink(const std::string& path, std::string* error);
