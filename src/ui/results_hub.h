// results_hub: the results card's part about the level hub, below its keys
// while a hub is set: one line with the level's rank and record (or that the
// run is on its way, the hub's refusal, or that it cannot be reached) and,
// the first time a run is sent, a field for the player's name on the hub,
// typed through the frame's text queue. Return sends the name (an empty one
// sends nothing this time).
//   ResultsHubShown()     the card is taller for these lines
//   ResultsHubNaming()    the name field has the keys (the card's own keys wait)
//   ResultsHubInput()     a frame of the card: answers in, the field's keys
//   DrawResultsHub(y)     the lines from y down
#pragma once

const float ResultsHubHeight = 80;   // ScreenOrtho units the card grows by

bool ResultsHubShown();
bool ResultsHubNaming();
void ResultsHubInput();
void DrawResultsHub(float y, float width);
