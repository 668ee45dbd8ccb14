// lang: the player's language. Every text a player sees is written in English
// in the code and goes through Tr() on its way to the screen; a text kept in a
// table is marked with N_() where it is written and goes through Tr() where it
// is drawn. Tr() gives the text in the player's language, or the English text
// itself when there is no translation for it.
//   Tr(english)   the text to show for english
//   N_(english)   english itself, marked for the translators' catalogue
#pragma once

#define N_(english) english

const char* Tr(const char* english);
