// hub_words: the texts of the hub's pages in every language of the game
// (game/base/lang.h). The texts are written in English in one table, marked with
// N_() for the game's catalogues (tools/make-po.sh reads this file), and
// their translations are copied out of each language's compiled catalogue
// once at start-up, so request threads only read them.
//   PageWord                    one text of the pages; PageWordCount of them
//   LoadPageWords(localeDir)    reads <localeDir>/LANG/LC_MESSAGES/tetherorb2.mo for each language;
//                               a language whose catalogue cannot be read shows English
//   Word(language, word)        the text in that language (an index in Languages[])
#pragma once

#include <string>

enum PageWord {
  word_hub_title, word_hub_description, word_level_of_the_day, word_newest, word_most_played, word_best_rated,
  word_search, word_search_levels, word_next_page, word_previous_page, word_maker, word_size, word_published,
  word_plays, word_tried, word_finishes, word_clear_rate, word_thumbs_up, word_author_score, word_medal_scores,
  word_top_records, word_rank, word_name, word_score, word_date, word_replay, word_play_in_browser, word_download,
  word_no_records, word_no_levels, word_levels_by, word_records, word_gold_medals, word_silver_medals,
  word_bronze_medals, word_any_size, word_small, word_medium, word_large, word_any_difficulty, word_easy,
  word_hard, word_unbeaten, word_difficulty, word_not_found, word_level, word_record, word_level_description,
  word_player_description, word_home, word_medal_line,
  PageWordCount
};

void LoadPageWords(const std::string& localeDir);
const char* Word(int language, PageWord word);
