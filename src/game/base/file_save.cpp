// file_save: replacing a file whole, through its symbolic links, keeping its
// permission bits.
#include "game/base/file_save.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/base/lang.h"

const char TempSuffix[] = ".tmp";
const int MaxTempTries = 100;          // names in use passed over before a save gives up
const int MaxLinkHops = 40;            // more links in a row than this are taken for a loop
const mode_t PermissionBits = 07777;

int LastSaveError;
void (*SaveStepHook)(SaveStep step);

// Tells the hook, if any, that a save has reached step.
static void ReachStep(SaveStep step)
{
  if (SaveStepHook)
    SaveStepHook(step);
}

struct SaveReason {
  int error;
  const char* text;
};
static const int SaveReasonCount = 13;
static const SaveReason SaveReasons[] = {
  {EACCES, N_("the folder is read-only")},
  {EPERM, N_("the file may not be changed")},
  {EROFS, N_("the disk is read-only")},
  {ENOSPC, N_("the disk is full")},
  {EDQUOT, N_("the disk quota is used up")},
  {EFBIG, N_("the file is too large")},
  {ENOENT, N_("the folder is missing")},
  {ENOTDIR, N_("a file stands where a folder should be")},
  {EISDIR, N_("a folder stands in the file's place")},
  {ELOOP, N_("its links go round in a loop")},
  {ENAMETOOLONG, N_("the folder's path is too long")},
  {EIO, N_("the disk could not be written")},
  {EMFILE, N_("too many files are open")},
};
static_assert(sizeof SaveReasons / sizeof SaveReasons[0] == SaveReasonCount, "one entry per SaveReasonCount");

const char* SaveFailureReason(int error)
{
  for (int i = 0; i < SaveReasonCount; i++)
    if (SaveReasons[i].error == error)
      return Tr(SaveReasons[i].text);
  return Tr("the system refused it");
}

// Notes the errno of a failed step (fallback when the step left none) and returns false.
static bool SaveFailed(int fallback)
{
  LastSaveError = errno ? errno : fallback;
  return false;
}

bool SavePathTooLong()
{
  LastSaveError = ENAMETOOLONG;
  return false;
}

// Sets errno for a path that does not fit a PathBuffer; returns false.
static bool PathTooLong()
{
  errno = ENAMETOOLONG;
  return false;
}

// The file that path names once every symbolic link on the way is followed;
// false, with errno, for a loop of links or a path too long.
static bool FollowLinks(const char* path, PathBuffer& out)
{
  if (!PlacePath(out, "", path))
    return PathTooLong();
  for (int hop = 0; hop < MaxLinkHops; hop++) {
    struct stat st;
    if (lstat(out, &st) != 0 || !S_ISLNK(st.st_mode))
      return true;
    PathBuffer link;
    ssize_t length = readlink(out, link, sizeof(link));
    if (length < 0)
      return false;
    if (length >= (ssize_t)sizeof(link))
      return PathTooLong();
    link[length] = 0;
    char* slash = strrchr(out, '/');
    if (link[0] == '/' || !slash) {
      snprintf(out, sizeof(out), "%s", link);
      continue;
    }
    slash[1] = 0;   // a relative link starts from the link's own folder
    size_t used = strlen(out);
    if ((size_t)snprintf(out + used, sizeof(out) - used, "%s", link) >= sizeof(out) - used)
      return PathTooLong();
  }
  errno = ELOOP;
  return false;
}

// Flushes the folder holding path, so a rename in it survives a power cut.
static void SyncFolder(const char* path)
{
  PathBuffer folder;
  snprintf(folder, sizeof(folder), "%s", path);
  char* slash = strrchr(folder, '/');
  if (slash)
    *slash = 0;
  else
    snprintf(folder, sizeof(folder), "%s", ".");
  int fd = open(folder, O_RDONLY | O_DIRECTORY);
  if (fd < 0)
    return;
  fsync(fd);
  close(fd);
}

// The temporary file, made new with bits, then given the bits of the file
// it will replace less those bits withholds; -1 with errno when it cannot be
// made (a folder without write permission, a full disk, a name too long).
// Each save takes a name no other save holds (target.tmp.PID.N, made with
// O_EXCL), so two saves of one file at once, in this program or another,
// never write into the same temporary file; a name in use, by a file or a
// folder, passes to the next number.
static int CreateTemp(SaveFile* save, int bits)
{
  static unsigned SavesMade;   // numbers this program's temporary names
  for (int tries = 0; tries < MaxTempTries; tries++) {
    if ((size_t)snprintf(save->temp, sizeof(save->temp), "%s%s.%ld.%u", save->target, TempSuffix,
                         (long)getpid(), SavesMade++) >= sizeof(save->temp)) {
      PathTooLong();
      return -1;
    }
    int fd = open(save->temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, (mode_t)bits);
    if (fd < 0 && errno == EEXIST)
      continue;
    if (fd < 0)
      return -1;
    struct stat st;
    if (stat(save->target, &st) == 0 && S_ISREG(st.st_mode))
      fchmod(fd, st.st_mode & PermissionBits & ~(mode_t)(SaveFileBits & ~bits));
    return fd;
  }
  errno = EEXIST;
  return -1;
}

FILE* BeginSave(const char* path, SaveFile* save, const char* mode, int bits)
{
  save->target[0] = save->temp[0] = 0;
  LastSaveError = 0;
  errno = 0;
  if (!PrepareFolderOf(path)) {
    SaveFailed(ENOTDIR);   // a folder on the way is a file, or could not be made
    return nullptr;
  }
  if (!FollowLinks(path, save->target)) {
    SaveFailed(ELOOP);
    return nullptr;
  }
  int fd = CreateTemp(save, bits);
  if (fd < 0) {
    save->temp[0] = 0;
    if (errno != EACCES && errno != EPERM) {   // only a folder refusing new files is written in place
      SaveFailed(EIO);
      return nullptr;
    }
    errno = 0;
    FILE* f = fopen(save->target, mode);
    if (!f)
      SaveFailed(EACCES);
    return f;
  }
  ReachStep(savestep_temp_made);
  FILE* f = fdopen(fd, mode);
  if (!f) {
    SaveFailed(EIO);
    close(fd);
    remove(save->temp);
  }
  return f;
}

bool EndSave(FILE* f, const SaveFile* save)
{
  bool ok = !ferror(f);   // a failed write left its errno
  ReachStep(savestep_written);
  if (ok) {
    errno = 0;
    ok = fflush(f) == 0;
    ReachStep(savestep_flushed);
    ok = ok && fsync(fileno(f)) == 0;
    ReachStep(savestep_synced);
  }
  if (!ok)
    SaveFailed(EIO);
  if (fclose(f) != 0 && ok)
    ok = SaveFailed(EIO);
  ReachStep(savestep_closed);
  if (!save->temp[0])
    return ok;
  if (ok && rename(save->temp, save->target) != 0)
    ok = SaveFailed(EIO);
  if (!ok) {
    remove(save->temp);
    return ok;
  }
  ReachStep(savestep_renamed);
  SyncFolder(save->target);
  ReachStep(savestep_done);
  return ok;
}
