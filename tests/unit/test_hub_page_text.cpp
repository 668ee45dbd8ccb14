// The hub pages' text handling over generated input: escaped text never
// holds markup and reads back whole, a percent-encoded part never holds a
// character a path or query gives meaning to, and the language chosen from
// an Accept-Language header is the game's language of the highest weight.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "game/base/lang.h"
#include "hub/hub_accept.h"
#include "hub/hub_page.h"

TEST(HubPageText, EscapedAndEncodedTextKeepsItsMeaning)
{
  std::mt19937 random(7);
  for (int i = 0; i < 2000; i++) {
    std::string text;
    for (int n = random() % 40; n > 0; n--)
      text += (char)(random() % 2 ? "<>&\"' /%?#a\xc3\xa9"[random() % 14] : (char)(random() % 256));
    std::string html = Html(text), url = UrlPart(text);
    EXPECT_EQ(html.find_first_of("<>\"'"), std::string::npos) << text;
    EXPECT_EQ(url.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~%"),
              std::string::npos);
    std::string back;
    for (size_t at = 0; at < html.size(); at++) {   // the five entities, read back
      static const char* const Entities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&#39;"};
      int e = 0;
      while (e < 5 && html.compare(at, strlen(Entities[e]), Entities[e]) != 0)
        e++;
      back += e < 5 ? "&<>\"'"[e] : html[at];
      at += e < 5 ? strlen(Entities[e]) - 1 : 0;
    }
    EXPECT_EQ(back, text);
  }
}

TEST(HubPageText, TheHeaviestLanguageOfTheGameWins)
{
  static const char* const Tags[] = {"de", "de-AT", "fr-CH", "pt-BR", "pt", "ru", "pl", "es-419", "en", "en-GB",
                                     "xx", "zh-Hant", "*", "C", "e", "english"};
  const int TagCount = sizeof Tags / sizeof Tags[0];
  std::mt19937 random(11);
  for (int i = 0; i < 2000; i++) {
    std::string header;
    int expected = 0, bestWeight = 0;
    for (int n = 1 + random() % 5; n > 0; n--) {
      const char* tag = Tags[random() % TagCount];
      int weight = random() % 3 ? (int)(random() % 1001) : 1000;
      char item[64];
      snprintf(item, sizeof item, weight == 1000 && random() % 2 ? "%s" : "%s;q=%d.%03d", tag, weight / 1000,
               weight % 1000);
      header += (header.empty() ? "" : random() % 2 ? ", " : ",") + std::string(item);
      bool known = strcmp(tag, "en") == 0 || strcmp(tag, "en-GB") == 0 || LanguageOfLocale(tag) != 0;
      if (known && weight > bestWeight) {
        expected = LanguageOfLocale(tag);
        bestWeight = weight;
      }
    }
    EXPECT_EQ(AcceptedLanguage(header), expected) << header;
  }
}
