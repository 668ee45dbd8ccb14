// results_hub: the results card's part about the level hub, below its keys
// while a hub is set: one line with the level's rank and record (or that the
// run is on its way, the hub's refusal, or that it cannot be reached) and,
// the first time a run is sent, a field for the player's name on the hub,
// typed through the frame's text queue. Return sends the name (an empty one
// sends nothing this time). After a finish of a level played from the hub a
// line offers the thumbs-up (its key; game/online/online_vote) and one says the share
// of players who finish the level.
//   ResultsHubShown()     the card is taller for these lines
//   ResultsHubHeight()    by how much
//   ResultsHubNaming()    the name field has the keys (the card's own keys wait)
//   ResultsHubInput()     a frame of the card: answers in, the field's keys
//   DrawResultsHub(y)     the lines from y down
#pragma once

bool ResultsHubShown();
float ResultsHubHeight();
bool ResultsHubNaming();
void ResultsHubInput();
void DrawResultsHub(float y, float width);
