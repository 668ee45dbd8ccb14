// The languages' texts in their room: every text drawn at a fixed size fits
// its bar in every language, or is no longer than the English where that is
// already cut.
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

static const int LastErrno = 133;   // errno values reach this far on Linux
static const float NoteRoom = MenuBarWidth + PanelBorder;   // to the window's edge at its narrowest

struct Placed {
  std::string text;
  float width, room;
};

// The options screen's row names, column heads, values and every foot line,
// with "N more below" at the foot's right.
template <typename Place> static void PlaceOptionsTexts(Place place)
{
  char a[LevelNoteSize];
  for (int row = 0; row < OptionRowCount; row++) {
    place(Tr(OptionLabel(row)), RowTextSize, LabelRoom);
    for (int c = 0; c < OptionCells(row); c++) {
      OptionValueText(row, c, a, sizeof a);
      place(a, CellMinSize, ColumnWidth);
    }
  }
  for (int c = 0; c < OptionColumns; c++)
    place(Tr(OptionColumnHead(c)), HeadSize, ColumnWidth);
  float gap = TextAdvance(FootSize);
  snprintf(a, sizeof a, TrN("%i more below", "%i more below", OptionRowCount), OptionRowCount);
  place(a, FootSize, -LabelLeft - (LabelLeft + FootWidth) - gap);
  Options = OptionsRecord{};
  Options.waiting = true;
  for (Options.row = OptionSettingRows; Options.row < OptionRowCount; Options.row++)
    for (Options.column = 0; Options.column < OptionColumns; Options.column += OptionPadColumn)
      if (Options.column != OptionPadColumn || OptionPadAction(Options.row) >= 0) {
        OptionsFootText(a, sizeof a);
        place(a, FootMinSize, FootWidth);
      }
  Options.waiting = false;
  Options.saveError = SettingsFileFull;
  for (Options.note = optnote_none; Options.note <= optnote_restored; Options.note++) {
    OptionsFootText(a, sizeof a);
    place(a, FootMinSize, FootWidth);
  }
  Options = OptionsRecord{};
}

// Texts drawn at a fixed size where nothing shrinks them (or they would be cut
// with "..."), at their longest: level 999, every errno's cause, the default keys.
static std::vector<Placed> PlacedTexts()
{
  std::vector<Placed> out;
  char a[LevelNoteSize];
  auto place = [&out](const char* text, float size, float room) { out.push_back({text, TextWidth(text, size), room}); };
  for (const char* row : {N_("Play"), N_("Edit"), N_("Quit"), N_("New level")})
    place(Tr(row), MenuTextSize, MenuBarWidth);
  float gap = TextAdvance(SmallTextSize);
  snprintf(a, sizeof a, TrN("%i more above", "%i more above", MaxLevels), MaxLevels);
  for (const char* heading : {Tr("Select a level to play"), Tr("Select a level to edit")})
    place(heading, SmallTextSize, MoreAboveRight - HeadingX - gap - TextWidth(a, SmallTextSize));
  snprintf(a, sizeof a, TrN("%i more below", "%i more below", MaxLevels), MaxLevels);
  place(Tr("Press B to go back"), SmallTextSize, FooterRight - MoreBelowLeft - gap - TextWidth(a, SmallTextSize));
  place(Tr("G watches the best run"), WatchHintSize, FooterRight - MenuBarLeft);

  for (const char* f : {N_("Press Delete again to delete level %i"), N_("Press Delete again to restore the shipped level %i"),
                        N_("Level %i comes with the game and cannot be deleted"), N_("Level %i deleted"),
                        N_("Level %i is the shipped version again"), N_("Level %i cannot be played: it has no spawn")}) {
    snprintf(a, sizeof a, Tr(f), MaxLevels);
    place(a, NoteTextSize, NoteRoom);
  }
  RunEnd.newBest = true;
  for (int e = 1; e <= LastErrno; e++) {
    snprintf(a, sizeof a, Tr("Level %i could not be deleted: %s"), MaxLevels, SaveFailureReason(e));
    place(a, NoteTextSize, NoteRoom);
    snprintf(a, sizeof a, Tr("Level %i cannot be read: %s"), MaxLevels, LevelReadReason(e));
    place(a, NoteTextSize, NoteRoom);
    RunEnd.saveError = e;
    for (bool ghostOnly : {false, true}) {
      RunEnd.scoreSaved = ghostOnly;
      place(ResultsSaveNote(), CardSaveNoteSize, CardWidth);
    }
  }
  for (const char* label : {N_("Resume game"), N_("Exit"), N_("Save screenshot"), N_("Back to title"),
                            N_("Restart level"), N_("Leave unsaved? Click again")})
    out.push_back({Tr(label), (float)(Utf8Length(Tr(label)) * SmallAdvance), 2 * ButtonFrameX});

  snprintf(a, sizeof a, Tr("Level %i - %.*s"), MaxLevels, 0, "");
  place(a, CardLevelSize, CardWidth);
  for (int outcome : {runend_finished, runend_timeup, runend_harmed})
    place(OutcomeText(outcome), CardOutcomeSize, CardWidth);
  snprintf(a, sizeof a, Tr("Time left %i.%i s"), MaxLevels, 9);
  place(a, CardLineSize, CardWidth);
  for (int best : {0, 99999}) {
    RunEnd.best = best;
    place(ResultsBestLine(), CardLineSize, CardWidth);
  }
  place(Tr("New best!"), CardLineSize, CardWidth);
  place(Tr("Return: title    R: again    N: next level"), CardKeysSize, CardWidth);
  FormatBannerKeys(a, sizeof a);
  place(a, BannerKeysSize, BannerMaxWidth);
  FormatMedalNeeds(99999, a, sizeof a);
  place(a, BannerKeysSize, BannerMaxWidth);
  place(a, CardMedalsSize, CardWidth);
  RunEnd = RunEndRecord{};
  PlaceOptionsTexts(place);
  char b[LevelNoteSize];
  for (int row = 0; row < EditorHelpRows; row++) {
    EditorHelpLine(row, a, sizeof a, b, sizeof b);
    place(a, EditorHelpTextSize, EditorHelpLabelRoom);
    place(b, EditorHelpTextSize, EditorHelpKeysRoom);
  }
  return out;
}

// Each text within its room, or, where the English is already cut, no longer than the English.
TEST(Languages, EveryLanguagesTextsFitTheirBars)
{
  PlacesRecord saved = Places;
  snprintf(Places.locale, PathSize, "%s", BUILD_LOCALE);
  FillFontGlyphs();   // the text's metrics
  UseLanguage("en");
  std::vector<Placed> english = PlacedTexts();
  for (int i = 1; i < LanguageCount; i++) {
    if (!UseLanguage(Languages[i].code) || strcmp(LanguageInUse(), Languages[i].code) != 0)
      continue;   // no catalogue built for it
    std::vector<Placed> shown = PlacedTexts();
    ASSERT_EQ(english.size(), shown.size());
    for (size_t k = 0; k < shown.size(); k++)
      EXPECT_LE(shown[k].width, std::max(shown[k].room, english[k].width))
          << Languages[i].code << ": \"" << shown[k].text << "\" for \"" << english[k].text << "\"";
  }
  UseLanguage("en");
  Places = saved;
}
