// hub_page_front: the hub's front page, /: the level of the day, a search
// box, and the newest, most played or best rated levels (?sort=new, plays,
// rating), 20 a page (?page=N) with links to the next and previous pages.
// A sort or page it cannot read shows the first page of the newest.
//   AddFrontPage(server)          registers /
//   SearchForm(language, q, size, difficulty)   the search box with its filters, as chosen
#pragma once

#include <httplib.h>
#include <string>

void AddFrontPage(httplib::Server& server);
std::string SearchForm(int language, const std::string& q, const std::string& size, const std::string& difficulty);
