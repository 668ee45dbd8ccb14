// The languages: the .mo reader at its edges, the choice of language, and
// every catalogue in po/ complete, its formats matching English, its letters
// in the glyph set.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <vector>

#include "game/base/clock_text.h"
#include "game/base/file_save.h"
#include "game/base/lang.h"
#include "game/base/mo_catalog.h"
#include "game/base/plural_rule.h"
#include "game/base/utf8.h"
#include "game/files/level_check.h"
#include "game/files/level_files.h"
#include "game/run/medals.h"
#include "game/run/run_end.h"
#include "game/settings/options.h"
#include "game/settings/settings_write.h"
#include "render/atlas.h"
#include "render/draw.h"
#include "render/glyph_set.h"
#include "render/overlay.h"
#include "test_support.h"
#include "ui/bars.h"
#include "ui/editor_help.h"
#include "ui/editor_save.h"
#include "ui/hint_view.h"
#include "ui/level_note.h"
#include "ui/list_layout.h"
#include "ui/menus.h"
#include "ui/options_layout.h"
#include "ui/options_screen.h"
#include "ui/results.h"

typedef std::vector<std::pair<std::string, std::string>> Texts;

static void PutWord(std::string& out, unsigned v, bool big)
{
  for (int i = 0; i < 4; i++)
    out += (char)(v >> (big ? 24 - 8 * i : 8 * i));
}

// A .mo file of the texts (sorted by English), in either byte order.
static std::string MoFile(const Texts& texts, bool big)
{
  unsigned n = (unsigned)texts.size(), strings = 28 + 16 * n;
  std::string head, tables[2], pool;
  for (int t = 0; t < 2; t++)
    for (const auto& text : texts) {
      const std::string& s = t ? text.second : text.first;
      PutWord(tables[t], (unsigned)s.size(), big);
      PutWord(tables[t], strings + (unsigned)pool.size(), big);
      pool += s + '\0';
    }
  for (unsigned v : {0x950412deu, 0u, n, 28u, 28 + 8 * n, 0u, strings})
    PutWord(head, v, big);
  return head + tables[0] + tables[1] + pool;
}

TEST(Languages, CatalogueReaderFindsEveryEntryAndRefusesDamagedFiles)
{
  ScratchDir dir;
  Texts texts = {{"", "Language: xx\n"}, {"Alpha", "A1"}, {"Middle", "M1"}, {"Zulu", "Z1"}};
  for (bool big : {false, true}) {
    WriteFile("a.mo", MoFile(texts, big));
    ASSERT_TRUE(LoadMoCatalog("a.mo"));
    EXPECT_STREQ("A1", MoTranslation("Alpha"));
    EXPECT_STREQ("Z1", MoTranslation("Zulu"));
    EXPECT_EQ(nullptr, MoTranslation("Beta"));
    EXPECT_EQ(nullptr, MoTranslation(""));
  }
  std::string good = MoFile(texts, false);
  WriteFile("cut.mo", good.substr(0, good.size() - 1));   // the last translation loses its terminator
  EXPECT_FALSE(LoadMoCatalog("cut.mo"));
  EXPECT_EQ(0, MoCatalogEntries());
  EXPECT_EQ(nullptr, MoTranslation("Alpha"));
  std::string huge = good;
  huge[8] = huge[9] = huge[10] = '\xff';   // a count no file of this size holds
  WriteFile("huge.mo", huge);
  EXPECT_FALSE(LoadMoCatalog("huge.mo"));
  WriteFile("full.mo", good + std::string(MoCatalogBytes - good.size(), '\0'));
  EXPECT_TRUE(LoadMoCatalog("full.mo"));
  WriteFile("over.mo", good + std::string(MoCatalogBytes + 1 - good.size(), '\0'));
  EXPECT_FALSE(LoadMoCatalog("over.mo"));
  ClearMoCatalog();
}

TEST(Languages, LocaleNamesTheLanguageAndTheSettingOverridesIt)
{
  const std::pair<const char*, const char*> cases[] = {
    {"de_DE.UTF-8", "de"}, {"pt-BR", "pt_BR"}, {"pt_pt", "pt_BR"}, {"ru_RU.KOI8-R@x", "ru"},
    {"en_GB", "en"},       {"C", "en"},        {"POSIX", "en"},     {"", "en"},  {"zz_ZZ", "en"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(c.second, Languages[LanguageOfLocale(c.first)].code) << c.first;
  EXPECT_STREQ("en", Languages[LanguageOfLocale(nullptr)].code);

  PlacesRecord saved = Places;
  snprintf(Places.locale, PathSize, "%s", BUILD_LOCALE);
  SetSystemLanguage("de_AT.UTF-8");
  EXPECT_TRUE(UseLanguage(""));
  EXPECT_STREQ("de", LanguageInUse());
  EXPECT_STRNE("Play", Tr("Play"));
  EXPECT_FALSE(UseLanguage("xx"));
  EXPECT_STREQ("de", LanguageInUse());
  struct tm evening = {};
  evening.tm_hour = 17, evening.tm_min = 26, evening.tm_sec = 57;
  FormatClockText(&evening);
  EXPECT_STREQ("17:26:57", ClockText);   // German keeps the 24-hour clock
  EditorNote = LevelCheckNote(LevelCheck{});   // kept across a switch of language, as the editor keeps it
  EXPECT_TRUE(UseLanguage("en"));
  EXPECT_STREQ("Play", Tr("Play"));
  EXPECT_STREQ("No spawn - saved anyway; press B to go back", EditorHintText());
  FormatClockText(&evening);
  EXPECT_STREQ("5:26:57 PM", ClockText);
  // The editor's bar, made in one language, shows in the next one as if made in it.
  RunEnd.outcome = runend_finished;
  for (bool refused : {false, true}) {
    UseLanguage("de");
    refused ? (void)TestRunRefused() : NoteTestRunEnd();
    UseLanguage("en");
    std::string switched = EditorHintText();
    refused ? (void)TestRunRefused() : NoteTestRunEnd();
    EXPECT_EQ(EditorHintText(), switched);
  }
  RunEnd = RunEndRecord{};
  ClearEditorNotes();
  SetSystemLanguage("C");
  EXPECT_TRUE(UseLanguage(""));
  EXPECT_STREQ("en", LanguageInUse());
  Places = saved;
}

struct PoEntry {
  std::string english;
  std::vector<std::string> forms;   // msgstr, or msgstr[0], msgstr[1], ...
  bool fuzzy, counted;              // counted: it has a msgid_plural
};

// The entries of a .po or .pot file, obsolete ones left out, header included.
static std::vector<PoEntry> ReadPo(const std::string& path)
{
  std::vector<PoEntry> entries;
  std::istringstream in(ReadFile(path));
  std::string line, *into = nullptr, plural;
  bool fuzzy = false;
  std::regex quoted(R"re(^(msgid|msgid_plural|msgstr(?:\[\d\])?)? ?"(.*)"$)re");
  for (std::smatch m; std::getline(in, line);) {
    if (line.rfind("#,", 0) == 0 && line.find("fuzzy") != std::string::npos)
      fuzzy = true;
    if (!std::regex_match(line, m, quoted) || (!into && m[1] == ""))
      continue;
    if (m[1] == "msgid") {
      entries.push_back({"", {}, fuzzy, false});
      fuzzy = false;
    }
    PoEntry& e = entries.back();
    if (m[1] == "msgid_plural")
      e.counted = true;
    if (m[1].str().rfind("msgstr", 0) == 0)
      e.forms.emplace_back();
    if (m[1] != "")
      into = m[1] == "msgid" ? &e.english : m[1] == "msgid_plural" ? &plural : &e.forms.back();
    into->append(std::regex_replace(m[2].str(), std::regex(R"(\\(.))"), "$1"));
  }
  return entries;
}

// The conversions of a printf format in argument order, "%%" left out.
static std::vector<std::string> Conversions(const std::string& format)
{
  std::map<int, std::string> byArgument;
  // "%%" is matched whole first, so that "%% of" is never read as "% o".
  std::regex conversion(R"(%%|%(?:(\d+)\$)?([-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?[a-z]))");
  int next = 1;
  for (std::sregex_iterator i(format.begin(), format.end(), conversion), end; i != end; ++i)
    if ((*i)[0] != "%%")
      byArgument[(*i)[1].matched ? std::stoi((*i)[1]) : next++] = (*i)[2];
  std::vector<std::string> out;
  for (const auto& c : byArgument)
    out.push_back(c.second);
  return out;
}

// The number of forms a catalogue's header asks for; 1 when it names no rule.
static int FormsOf(const std::vector<PoEntry>& entries)
{
  std::smatch m;
  for (const PoEntry& e : entries)
    if (e.english.empty() && !e.forms.empty() && std::regex_search(e.forms[0], m, std::regex(R"(nplurals=(\d+))")))
      return std::stoi(m[1]);
  return 1;
}

TEST(Languages, EveryCatalogueIsCompleteWithEnglishFormatsAndDrawableLetters)
{
  std::string po = std::string(REPO_ROOT) + "/po/";
  std::vector<PoEntry> english = ReadPo(po + "tetherorb2.pot");
  ASSERT_GT(english.size(), 100u);
  int catalogues = 0;
  for (const auto& file : std::filesystem::directory_iterator(po)) {
    if (file.path().extension() != ".po")
      continue;
    catalogues++;
    std::map<std::string, PoEntry> byEnglish;
    std::vector<PoEntry> entries = ReadPo(file.path());
    for (const PoEntry& e : entries)
      byEnglish[e.english] = e;
    for (const PoEntry& e : english) {
      auto found = byEnglish.find(e.english);
      ASSERT_NE(byEnglish.end(), found) << file.path() << " lacks \"" << e.english << "\"";
      const PoEntry& t = found->second;
      EXPECT_EQ(e.counted, t.counted) << file.path() << ": \"" << e.english << "\"";
      EXPECT_EQ(t.forms.size(), e.counted ? (size_t)FormsOf(entries) : 1u) << file.path() << ": \"" << e.english << "\"";
      for (const std::string& form : t.forms) {
        EXPECT_FALSE(t.fuzzy || form.empty()) << file.path() << ": \"" << e.english << "\"";
        EXPECT_EQ(Conversions(e.english), Conversions(form)) << file.path() << ": \"" << form << "\"";
        unsigned code;
        for (const char* c = form.c_str(); *c; c += Utf8Decode(c, &code)) {
          Utf8Decode(c, &code);
          EXPECT_TRUE(code == '\n' || (code >= ' ' && code < 127) || ExtraGlyphIndex(code) != ExtraGlyphPlaceholder)
              << file.path() << ": U+" << std::hex << code << " in \"" << form << "\"";
        }
      }
    }
  }
  EXPECT_GE(catalogues, 1);
}

// Each language's plural rule as its grammar has it, apart from the catalogue's text.
static int GrammarForm(const std::string& code, unsigned long n)
{
  bool few = n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20);
  if (code == "fr" || code == "pt_BR")
    return n > 1;
  if (code == "pl")
    return n == 1 ? 0 : few ? 1 : 2;
  if (code == "ru")
    return n % 10 == 1 && n % 100 != 11 ? 0 : few ? 1 : 2;
  return n != 1;
}

static std::string PluralFormsLine(const std::string& header)
{
  std::smatch m;
  return std::regex_search(header, m, std::regex("Plural-Forms:([^\\n]*)")) ? m[1].str() : "";
}

// Every catalogue's rule read as the game reads it gives each count its
// grammar's form; a .mo with a counted text finds each form, a form the
// entry lacks falls back to English, and a damaged rule refuses the file.
TEST(Languages, CountedTextsTakeTheFormOfEachLanguagesRule)
{
  std::string po = std::string(REPO_ROOT) + "/po/";
  for (const auto& file : std::filesystem::directory_iterator(po)) {
    if (file.path().extension() != ".po")
      continue;
    std::string code = file.path().stem().string(), forms = PluralFormsLine(ReadPo(file.path())[0].forms[0]);
    PluralRule rule;
    ASSERT_TRUE(ReadPluralRule(forms.c_str(), &rule)) << code << ": " << forms;
    for (unsigned long n = 0; n <= 1000; n++)
      ASSERT_EQ(GrammarForm(code, n), PluralIndex(rule, n)) << code << " " << n;
  }

  ScratchDir dir;
  std::string ru = "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);";
  Texts texts = {{"", "Plural-Forms: " + ru + "\n"}, {std::string("%d file\0%d files", 16), std::string("A\0B\0C", 5)},
                 {std::string("one\0many", 8), std::string("X\0Y", 3)}};
  WriteFile("ru.mo", MoFile(texts, false));
  ASSERT_TRUE(LoadMoCatalog("ru.mo"));
  for (unsigned long n = 0; n <= 300; n++)
    ASSERT_STREQ(std::string(1, "ABC"[GrammarForm("ru", n)]).c_str(), MoPluralTranslation("%d file", n)) << n;
  EXPECT_STREQ("X", TrN("one", "many", 21));
  EXPECT_STREQ("many", TrN("one", "many", 5));   // the entry holds no third form
  std::string deep = "nplurals=2; plural=" + std::string(40, '(') + "n" + std::string(40, ')') + ";";
  for (std::string bad : {"nplurals=3; plural=(n%10==1;", "nplurals=0; plural=0;", "nplurals=2; plural=n !! 1;",
                          "nplurals=2; plural=n != 1 x;", "nplurals=2 plural=n != 1;", deep.c_str()}) {
    texts[0].second = "Plural-Forms: " + bad + "\n";
    WriteFile("bad.mo", MoFile(texts, false));
    EXPECT_FALSE(LoadMoCatalog("bad.mo")) << bad;
    EXPECT_EQ(nullptr, MoPluralTranslation("%d file", 2));
  }
}
