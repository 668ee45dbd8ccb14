// hub_accept: Accept-Language, read tag by tag with its weight.
#include "hub/hub_accept.h"

#include "game/base/lang.h"

#include <cstring>
#include <strings.h>

static const int MaxTagChars = 35;      // a language tag with its region and script
static const int WeightUnits = 1000;    // q=0.001 is the finest weight allowed

// "q=0.5" as 500; -1 for anything else.
static int ReadWeight(const std::string& text)
{
  size_t at = 0;
  while (at < text.size() && text[at] == ' ')
    at++;
  if (text.compare(at, 2, "q=") != 0 && text.compare(at, 2, "Q=") != 0)
    return -1;
  at += 2;
  if (at >= text.size() || (text[at] != '0' && text[at] != '1'))
    return -1;
  int whole = text[at++] - '0', thousandths = 0, digits = 0;
  if (at < text.size() && text[at] == '.') {
    for (at++; at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 3; at++, digits++)
      thousandths = thousandths * 10 + (text[at] - '0');
    for (; digits < 3; digits++)
      thousandths *= 10;
  }
  while (at < text.size() && text[at] == ' ')
    at++;
  int weight = whole * WeightUnits + thousandths;
  return at == text.size() && weight <= WeightUnits ? weight : -1;
}

// The game's language a tag names, or -1. LanguageOfLocale gives English for
// a language it lacks, so English is matched here by name.
static int TagLanguage(const std::string& tag)
{
  if (tag.empty() || tag.size() > MaxTagChars || tag == "*")
    return -1;
  int language = LanguageOfLocale(tag.c_str());
  if (language != 0)
    return language;
  bool english = tag.size() >= 2 && (tag.size() == 2 || tag[2] == '-' || tag[2] == '_') &&
                 strncasecmp(tag.c_str(), "en", 2) == 0;
  return english ? 0 : -1;
}

int AcceptedLanguage(const std::string& header)
{
  int best = 0, bestWeight = 0;
  size_t start = 0;
  for (int tags = 0; start <= header.size() && tags < MaxAcceptTags; tags++) {
    size_t end = header.find(',', start);
    if (end == std::string::npos)
      end = header.size();
    std::string item = header.substr(start, end - start);
    start = end + 1;
    size_t semicolon = item.find(';');
    int weight = semicolon == std::string::npos ? WeightUnits : ReadWeight(item.substr(semicolon + 1));
    std::string tag = item.substr(0, semicolon);
    size_t first = tag.find_first_not_of(' '), last = tag.find_last_not_of(' ');
    tag = first == std::string::npos ? "" : tag.substr(first, last - first + 1);
    int language = TagLanguage(tag);
    if (language >= 0 && weight > bestWeight) {
      best = language;
      bestWeight = weight;
    }
  }
  return best;
}
