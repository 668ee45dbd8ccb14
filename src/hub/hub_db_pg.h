// hub_db_pg: hub_db's PostgreSQL back end.
//   OpenPostgresLink(url, error)   a connection to a PostgreSQL server; null with *error when it fails
#pragma once

#include "hub/hub_db_link.h"

#include <string>

DbLink* OpenPostgresLink(const std::string& url, std::string* error);
