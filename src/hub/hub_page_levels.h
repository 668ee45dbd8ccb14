// hub_page_levels: a level's page, /levels/ID: its picture, its facts, the
// medal scores, the top records with their replays, and the links to play it
// in the browser (/play/ID) and to download it (/levels/ID.dat, named
// levelN.dat for the game's Levels folder).
//   PageRecords                 records on a level's page
//   AddLevelPages(server)       registers /levels/ID and /levels/ID.dat
#pragma once

#include <httplib.h>

const int PageRecords = 20;

void AddLevelPages(httplib::Server& server);
