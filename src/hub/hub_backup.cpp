// hub_backup: the online backup into a new file.
#include "hub/hub_backup.h"

#include "hub/hub_db_link.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

static const int BackupAttempts = 20;          // copies begun again while the source stays busy
static const int BackupRetryMilliseconds = 250;

// Copies every page of source into dest in one step; false with why.
static bool CopyPages(sqlite3* source, sqlite3* dest, std::string* why)
{
  for (int attempt = 0; attempt < BackupAttempts; attempt++) {
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    if (!b) {
      *why = sqlite3_errmsg(dest);
      return false;
    }
    int code = sqlite3_backup_step(b, -1);   // all pages under one read transaction
    sqlite3_backup_finish(b);
    if (code == SQLITE_DONE)
      return true;
    if (code != SQLITE_BUSY && code != SQLITE_LOCKED) {
      *why = sqlite3_errstr(code);
      return false;
    }
    sqlite3_sleep(BackupRetryMilliseconds);
  }
  *why = "the database stayed busy";
  return false;
}

// The copy into a new file at path, synced; false with why.
static bool WriteCopy(const std::string& db, const std::string& path, std::string* why)
{
  sqlite3 *source = nullptr, *dest = nullptr;
  bool done = false;
  if (sqlite3_open_v2(db.c_str(), &source, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
    *why = "cannot open " + db + ": " + sqlite3_errmsg(source);
  else if (sqlite3_open_v2(path.c_str(), &dest, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
    *why = "cannot open " + path + ": " + sqlite3_errmsg(dest);
  else {
    sqlite3_busy_timeout(source, DbBusyMilliseconds);
    done = CopyPages(source, dest, why);
  }
  sqlite3_close(dest);
  sqlite3_close(source);
  if (!done)
    return false;
  int fd = open(path.c_str(), O_RDONLY);
  done = fd >= 0 && fsync(fd) == 0;
  if (fd >= 0)
    close(fd);
  if (!done)
    *why = "cannot sync " + path + ": " + strerror(errno);
  return done;
}

bool BackupDatabase(const std::string& db, const std::string& file, std::string* why)
{
  struct stat st;
  if (stat(file.c_str(), &st) == 0) {
    *why = file + " exists: the backup replaces no file";
    return false;
  }
  if (stat(db.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *why = "no SQLite database at " + db;
    return false;
  }
  std::string partial = file + ".partial";
  int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);   // an empty file is an empty database
  if (fd < 0) {
    *why = "cannot make " + partial + ": " + strerror(errno);
    return false;
  }
  close(fd);
  bool done = WriteCopy(db, partial, why);
  // link() fails on an existing name where rename() would replace it.
  if (done && link(partial.c_str(), file.c_str()) != 0) {
    *why = "cannot name the copy " + file + ": " + strerror(errno);
    done = false;
  }
  unlink(partial.c_str());
  for (const char* left : {"-journal", "-wal", "-shm"})
    unlink((partial + left).c_str());
  return done;
}
