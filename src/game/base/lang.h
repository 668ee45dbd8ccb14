// Room game/base: what every room shares: text and the catalogues, places,
// saving, sha256, PNG writing, a held key's repeat, and the program-wide
// controls, screen and sound records. Includes no other room.
//
// lang: the player's language. Every text a player sees is written in English
// in the code and goes through Tr() on its way to the screen; a text kept in a
// table is marked with N_() where it is written and goes through Tr() where it
// is drawn. Tr() gives the text in the language in use, from its compiled
// catalogue (game/base/mo_catalog), or the English text itself when there is no
// translation for it. The language is the `language` setting's when it names
// one of the table, else the system's: the platform layer hands over the
// locale the environment or the browser asks for.
//   Languages[], LanguageCount   the languages offered, English first
//   Tr(english)                  the text to show for english
//   TrN(one, other, n)           the form of a counted text for n ("%i more below"), by the
//                                catalogue's plural rule; English's one for n == 1, else other
//   LanguageClock24()            the language in use writes the time on a 24-hour clock
//   N_(english)                  english itself, marked for the translators' catalogue
//   LanguageOfLocale(locale)     the table's language for a locale name ("de_DE.UTF-8", "pt-BR")
//   SetSystemLanguage(locale)    the language the system asks for, followed by UseLanguage("")
//   UseLanguage(code)            switch to a language of the table ("" follows the system)
//   LanguageInUse()              the code of the language texts are shown in
//   CataloguePath(out, code)     where a language's compiled catalogue is read from
#pragma once

#include "game/base/places.h"

#define N_(english) english

struct LanguageEntry {
  const char* code;   // "en", "de", "pt_BR", ...: the catalogue's name and the setting's value
  const char* name;   // the language's own name for itself ("Deutsch"), never translated
  bool clock24;       // its speakers' clock runs 0..23, with no AM / PM
};
extern const LanguageEntry Languages[];
extern const int LanguageCount;

// format_arg: the compiler checks a translated format's arguments against the English one.
const char* Tr(const char* english) __attribute__((format_arg(1)));

// xgettext takes one and other as a counted text's two English forms (--keyword=TrN:1,2).
const char* TrN(const char* one, const char* other, unsigned long n) __attribute__((format_arg(1), format_arg(2)));

bool LanguageClock24();

// The index in Languages[] of the language a locale name asks for: its
// language and region ("pt_BR" from "pt_BR.UTF-8@x" or "pt-br"), else its
// language alone ("de" from "de_AT"; "pt" gives "pt_BR"); 0 (English) for
// "C", "POSIX", an empty or null name, or a language the table lacks.
int LanguageOfLocale(const char* locale);

// Keeps LanguageOfLocale(locale) as the system's language; takes effect at the next UseLanguage("").
void SetSystemLanguage(const char* locale);

// Switches every later Tr() to the language code names; "" (or an unknown code)
// follows the system's choice. False when the code is neither "" nor in the table.
// A language whose catalogue cannot be read shows English.
bool UseLanguage(const char* code);

// The code of the language texts are shown in now ("en" when untranslated).
const char* LanguageInUse();

// <Places.locale>/<code>/LC_MESSAGES/tetherorb2.mo; false when it does not fit.
bool CataloguePath(PathBuffer& out, const char* code);
