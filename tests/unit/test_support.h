// Shared helpers for the headless tests: a scratch working directory (the game
// reads and writes every file relative to the working directory) and small
// file readers and writers.
#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "game/base/screen.h"

// A fresh temporary directory that is the working directory while the object
// lives; the previous working directory comes back and the directory is
// removed with everything in it when the object goes.
struct ScratchDir {
  std::string path;
  std::filesystem::path home;

  ScratchDir()
  {
    home = std::filesystem::current_path();
    char name[] = "/tmp/tetherorb2-unit-XXXXXX";
    if (!mkdtemp(name))
      abort();
    path = name;
    std::filesystem::current_path(path);
  }

  ~ScratchDir()
  {
    std::error_code ignored;
    std::filesystem::current_path(home, ignored);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
  }

  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
};

// Writes bytes to path, replacing the file; creates missing parent folders.
inline void WriteFile(const std::string& path, const std::string& bytes)
{
  std::filesystem::path p(path);
  if (p.has_parent_path())
    std::filesystem::create_directories(p.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The temporary files of saves beside path (path.tmp.PID.N), under way or left by a killed save.
inline int TempFilesOf(const std::string& path)
{
  std::filesystem::path p(path);
  std::string stem = p.filename().string() + ".tmp.";
  int n = 0;
  std::error_code missing;
  for (const auto& e : std::filesystem::directory_iterator(p.has_parent_path() ? p.parent_path() : ".", missing))
    n += e.path().filename().string().compare(0, stem.size(), stem) == 0;
  return n;
}

// While the object lives, a write that would grow any file past bytes fails
// with EFBIG, as on a full disk, instead of the signal ending the program.
struct FileSizeLimit {
  struct rlimit was;
  void (*handler)(int);

  explicit FileSizeLimit(rlim_t bytes)
  {
    getrlimit(RLIMIT_FSIZE, &was);
    handler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = was;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }

  ~FileSizeLimit()
  {
    setrlimit(RLIMIT_FSIZE, &was);
    signal(SIGXFSZ, handler);
  }

  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};

// Writes Levels/level<n>.dat with the given text.
inline void WriteLevel(int n, const std::string& text)
{
  WriteFile("Levels/level" + std::to_string(n) + ".dat", text);
}

// The screen after the host's point of change: the request applied, as the
// host applies it at the end of a frame.
inline int ScreenNow()
{
  ApplyScreenRequest();
  return GameState;
}
