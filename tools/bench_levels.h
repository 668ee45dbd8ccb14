// bench_levels: the benchmark's generated levels, dense and sparse at three
// sizes, written into a throw-away working directory with its own
// settings.ini and a link to the repository's Media/.
//   LevelPlan, LevelPlans     each generated level's size, kind and name, in slot order
//   MakeWorkDir(repo)         makes the working directory, enters it and writes the levels
//   RemoveWorkDir()           removes what MakeWorkDir and a run can leave there
#pragma once

// The generated levels, in slot order.
enum { level_small_dense = 1, level_small_sparse, level_mid_dense, level_mid_sparse,
       level_big_dense, level_big_sparse, level_count = level_big_sparse };

const int DenseBlockTypes = 8;          // maptype_blocknormal .. maptype_gravityright

struct LevelPlan {
  int width, height;
  bool dense;
  const char* name;
};
extern const LevelPlan LevelPlans[level_count + 1];

bool MakeWorkDir(const char* repo);
void RemoveWorkDir();
