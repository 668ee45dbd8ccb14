// online_vote: what the results card offers after a hub level's run: the
// player's thumbs-up for the level (sent with the player's token in the
// background, once a card), and how many of the hub's players finish it.
// The thumbs-up is offered after a finish of a level played from the hub,
// never after a test run or while the player's token is lost, and taken
// once the card's run has gone to the hub (the hub takes it from a player
// who finished the level).
//   HubVote                   the record the card reads
//   BeginHubVote(finished, testRun)   a run ended (after BeginHubCard): what the card offers
//   SendHubThumbsUp()         the player pressed the thumbs-up key: sent, unless sent already or
//                             the card's run is still on its way
//   StepHubVote()             once a frame on the card: the answer in
//   HubVoteLine()             "U: thumbs up", what became of it, or "" when not offered
//   HubClearLine()            "N% of players finish this level", or "" when not known
#pragma once

#include "game/files/level_id.h"
#include "game/online/online_answers.h"

enum {
  hubvote_off = 0,      // not offered
  hubvote_offered,      // the key is shown
  hubvote_sending,
  hubvote_sent,         // the hub took it
  hubvote_refused,      // why holds the hub's cause
  hubvote_unreachable
};

struct HubVoteRecord {
  int state;                  // hubvote_*
  LevelId level;              // the level voted for
  int clearPercent;           // -1 when unknown
  char why[HubRefusalSize];
  HubCall call;
};
extern HubVoteRecord HubVote;

void BeginHubVote(bool finished, bool testRun);
void SendHubThumbsUp();
void StepHubVote();
const char* HubVoteLine();
const char* HubClearLine();
