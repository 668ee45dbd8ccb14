// Shared helpers for the headless tests: a scratch working directory (the game
// reads and writes every file relative to the working directory) and small
// file readers and writers.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "game/screen.h"

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
