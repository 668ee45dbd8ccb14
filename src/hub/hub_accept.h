// hub_accept: the language a browser asks for. Accept-Language lists
// language tags with optional weights ("de-CH, de;q=0.9, en;q=0.5, *;q=0.1");
// the page's language is the game's language of the highest weight, the
// earlier tag winning a tie. A tag the game lacks, "*", and a weight of 0 name
// nothing; a header that names nothing the game has gives English.
//   MaxAcceptTags                  tags read from one header; the rest are ignored
//   AcceptedLanguage(header)       an index in Languages[] (game/base/lang.h)
#pragma once

#include <string>

const int MaxAcceptTags = 32;

int AcceptedLanguage(const std::string& header);
