// medals: how a score compares with the level's author run. A finish earns
// bronze, 75% of the author's score silver, 90% gold, and matching or
// beating it the author medal. The shipped levels' author runs are their
// committed solutions (levelN.replay in the shipped solutions folder); a
// level of the player's own gets one from the finishing test run saved with
// it (levelN.author.replay beside the level, written when the level is saved
// after a test run that finished it since the last edit, removed when it is
// saved without one); a hub level's author score comes from the hub. Author
// scores are found by re-running the runs once at start-up, and a level
// whose run does not finish there has no medals.
//   AuthorScore[]                  each slot's author score; 0 for none
//   MedalFor(score, author)        the medal a finish with score earns
//   MedalNeed(medal, author)       the least score that earns silver, gold or the star
//   FormatMedalNeeds(author, out, size)  "Silver 183  Gold 219  Star 243"; "" without an author score
//   FindAuthorScores()             re-runs every slot's author run (start-up)
//   KeepAuthorRun(n, replay, score) level n saved with its author run
//   DropAuthorRun(n)               level n saved without one
//   SavedAuthorRun(n)              the author run saved beside the player's level n; "" for none
#pragma once

#include <string>

#include "game/files/level_files.h"

enum { medal_none = 0, medal_bronze, medal_silver, medal_gold, medal_author, MedalKinds };

const int SilverPercent = 75;   // of the author's score
const int GoldPercent = 90;

extern int AuthorScore[MaxLevels];

// medal_none for no finish (score 0) or no author score.
int MedalFor(int score, int author);

// The least score with MedalFor(score, author) >= medal, for silver, gold
// and the author medal; 1 for bronze (any finish), 0 without an author score.
int MedalNeed(int medal, int author);

// The scores each medal above bronze needs, for the level banner and the
// results card; "" when author is 0.
void FormatMedalNeeds(int author, char* out, int size);

void FindAuthorScores();

// Writes levelN.author.replay beside level n (saved whole or not at all);
// false when it could not be written (the level then has no author run).
bool KeepAuthorRun(int n, const std::string& replay, int score);
void DropAuthorRun(int n);
std::string SavedAuthorRun(int n);
