// hub_page_players: a player's page, /players/NAME (the name percent-encoded,
// any case): the levels they made, their records (their rank on each level,
// best rank first) and their gold, silver and bronze medals; and the search
// page, /search?q=WORDS&size=&difficulty=&page=N, with the search box.
//   AddPlayerPages(server)     registers /players/NAME and /search
#pragma once

#include <httplib.h>

void AddPlayerPages(httplib::Server& server);
