// file_save: replacing a file whole, through its symbolic links, keeping its
// permission bits.
#include "game/file_save.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char TempSuffix[] = ".tmp";
const int MaxLinkHops = 40;            // more links in a row than this are taken for a loop
const mode_t NewFileBits = 0666;       // a file that did not exist, before the umask
const mode_t PermissionBits = 07777;

// The file that path names once every symbolic link on the way is followed;
// false for a loop of links or a path too long.
static bool FollowLinks(const char* path, char* out, size_t size)
{
  if ((size_t)snprintf(out, size, "%s", path) >= size)
    return false;
  for (int hop = 0; hop < MaxLinkHops; hop++) {
    struct stat st;
    if (lstat(out, &st) != 0 || !S_ISLNK(st.st_mode))
      return true;
    char link[SavePathSize];
    ssize_t length = readlink(out, link, sizeof(link) - 1);
    if (length < 0 || length >= (ssize_t)sizeof(link) - 1)
      return false;
    link[length] = 0;
    char* slash = strrchr(out, '/');
    if (link[0] == '/' || !slash) {
      snprintf(out, size, "%s", link);
      continue;
    }
    slash[1] = 0;   // a relative link starts from the link's own folder
    size_t used = strlen(out);
    if ((size_t)snprintf(out + used, size - used, "%s", link) >= size - used)
      return false;
  }
  return false;
}

// Flushes the folder holding path, so a rename in it survives a power cut.
static void SyncFolder(const char* path)
{
  char folder[SavePathSize];
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

// The temporary file, with the bits of the file it will replace; -1 when it
// cannot be made (a folder without write permission, something in its way).
static int CreateTemp(SaveFile* save)
{
  if ((size_t)snprintf(save->temp, sizeof(save->temp), "%s%s", save->target, TempSuffix) >=
      sizeof(save->temp))
    return -1;
  int fd = open(save->temp, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, NewFileBits);
  if (fd < 0)
    return -1;
  struct stat st;
  if (stat(save->target, &st) == 0 && S_ISREG(st.st_mode))
    fchmod(fd, st.st_mode & PermissionBits);
  return fd;
}

FILE* BeginSave(const char* path, SaveFile* save, const char* mode)
{
  save->target[0] = save->temp[0] = 0;
  if (!PrepareFolderOf(path) || !FollowLinks(path, save->target, sizeof(save->target)))
    return nullptr;
  int fd = CreateTemp(save);
  if (fd < 0) {
    save->temp[0] = 0;
    return fopen(save->target, mode);
  }
  FILE* f = fdopen(fd, mode);
  if (!f) {
    close(fd);
    remove(save->temp);
  }
  return f;
}

bool EndSave(FILE* f, const SaveFile* save)
{
  bool ok = !ferror(f) && fflush(f) == 0 && fsync(fileno(f)) == 0;
  if (fclose(f) != 0)
    ok = false;
  if (!save->temp[0])
    return ok;
  if (ok && rename(save->temp, save->target) != 0)
    ok = false;
  if (ok)
    SyncFolder(save->target);
  else
    remove(save->temp);
  return ok;
}
