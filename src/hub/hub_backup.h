// hub_backup: a consistent copy of a SQLite hub, taken while it serves.
// SQLite's online backup copies every page in one read transaction, so the
// copy holds exactly the commits made before it began, and the hub's
// writers go on meanwhile (WAL mode). The copy is written beside its
// destination and linked in under its name only when complete and synced,
// so FILE is never half a database, and an existing FILE is never replaced.
// A PostgreSQL hub is backed up with pg_dump (README).
//   BackupDatabase(db, file, why)   true when file holds the copy; else false and why
#pragma once

#include <string>

bool BackupDatabase(const std::string& db, const std::string& file, std::string* why);
