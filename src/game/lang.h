// lang: the player's language. Every text a player sees is written in English
// in the code and goes through Tr() on its way to the screen; a text kept in a
// table is marked with N_() where it is written and goes through Tr() where it
// is drawn. Tr() gives the text in the language in use, or the English text
// itself when there is no translation for it.
//   Languages[], LanguageCount   the languages offered, English first
//   Tr(english)                  the text to show for english
//   N_(english)                  english itself, marked for the translators' catalogue
//   UseLanguage(code)            switch to a language of the table ("" follows the system)
//   LanguageInUse()              the code of the language texts are shown in
#pragma once

#define N_(english) english

struct LanguageEntry {
  const char* code;   // "en", "de", "pt_BR", ...: the catalogue's name and the setting's value
  const char* name;   // the language's own name for itself ("Deutsch"), never translated
};
extern const LanguageEntry Languages[];
extern const int LanguageCount;

const char* Tr(const char* english);

// Switches every later Tr() to the language code names; "" (or an unknown code)
// follows the system's choice. False when the code is neither "" nor in the table.
bool UseLanguage(const char* code);

// The code of the language texts are shown in now ("en" when untranslated).
const char* LanguageInUse();
