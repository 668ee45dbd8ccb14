// editor_share: the editor's share key and the name field on its bottom bar.
// The share key (P) publishes the level on the hub (game/lobby/online_share.h); the
// first time, the bar asks for the player's name on the hub, typed through
// the frame's text queue, and Return sends it.
//   EditorShareNaming()   the name field has the keys
//   EditorShareKeys(saved)  a frame of the editor: answers in, the key, the field;
//                         true when the field took the keys; saved: the level is as
//                         last saved, so the author run saved with it stands
//   EditorShareText()     the bar's line for the share, "" for none
#pragma once

bool EditorShareNaming();
bool EditorShareKeys(bool saved);
const char* EditorShareText();
