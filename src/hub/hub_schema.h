// hub_schema: the numbered migrations that make and change the hub's
// tables, applied at start in one transaction under a lock (PostgreSQL's
// advisory lock; SQLite's write lock), so that several copies starting at
// once apply each migration once. schema_version holds the number of the
// last one applied.
//   PrepareSchema(error)   brings the database up to the newest migration
#pragma once

#include <string>

bool PrepareSchema(std::string* error);
