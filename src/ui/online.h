// online: the Online screen, the hub's levels 20 a page in one of three
// orders (newest, most played, best rated; Tab changes it, N turns the page),
// the level of the day above page 1. The search key opens a field for words
// (Return sends them, an empty one shows every level again); two keys cycle
// the size and difficulty filters. Each row (ui/online_rows) shows a level's
// picture, title and author, its size, plays, thumbs-up, record and the share
// of players who finish it; the rows scroll like the level lists. Return (or
// a click) opens the level's leaderboard beside its picture, where Return
// plays the level, G races the record's ghost and the report key opens a list
// of reasons to report it; B goes back (to the list, then the title screen).
// The line at the bottom says what is under way, the hub's refusal, or that
// the hub cannot be reached. Nothing waits for the network: every frame draws
// what is in.
//   OpenOnline()        the screen has just opened: the list, page 1 asked for
//   OnlineFrame()       input, then drawing
//   OnlineTyping()      the search field has the keys
//   DrawLinkedLevelLine()   on the title screen: a level named by the page's link
//                       fetched, and what is under way or went wrong said
#pragma once

void OpenOnline();
void OnlineFrame();
bool OnlineTyping();

// Once a frame on the title screen: the fetch of a linked level steps on (its
// level starts once it is in) and its line is drawn; nothing without a link.
void DrawLinkedLevelLine();
