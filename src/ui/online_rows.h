// online_rows: the Online screen's list as drawn: the heading with the order
// and page, the line of what narrows the list (the search words and both
// filters, each after its key, or the search field being typed), the rows
// (the level's picture at the left, its title and author, size, plays,
// thumbs-up, record, the share of players who finish it, and the medal of
// the player's own best; the level of the day first and marked), and the
// lines under the list. Pictures come through game/online/online_pictures and
// render/hub_picture_view and never hold a frame up: a row without its
// picture yet shows an empty frame.
//   DrawOnlineList(typing, typed)   the whole list; typing: the search field is open with typed in it
//   DrawOnlinePicture(id, x, y, w, h)   the level's picture in the box, wanted this frame
#pragma once

void DrawOnlineList(bool typing, const char* typed);
void DrawOnlinePicture(const char* id, float x, float y, float w, float h);
