// The results card after a run.
#include "ui/results.h"

#include <cstdio>
#include <cstring>

#include "game/base/controls.h"
#include "game/base/file_save.h"
#include "game/base/lang.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/files/level_files.h"
#include "game/lobby/online_play.h"
#include "game/online/online_vote.h"
#include "game/run/medals.h"
#include "game/run/run_end.h"
#include "render/draw.h"
#include "render/medal_view.h"
#include "ui/assist_sign.h"
#include "ui/bars.h"
#include "ui/results_hub.h"
#include "ui/run_flow.h"
#include "ui/scene.h"

const float FramesPerSecond60 = 60;   // t counts 60 Hz frames

// The card in ScreenOrtho units: the inner rectangle of its panel and its lines.
const float CardLeft = -CardWidth / 2, CardTop = -190, CardHeight = 360;
const int CardPanelLayers = 2;        // the see-through panel twice, so play shows less behind the text
const float CardLevelY = -180, CardOutcomeY = -125, CardTimeY = -38, CardMedalsY = 10, CardBestY = 50;
const float CardNewBestY = 97, CardSaveNoteY = 128, CardKeysY = 160;
const float CardMedalX = 270, CardMedalY = -100, CardMedalSize = 72;   // the run's medal, top right
const float CardHubY = 200;           // the hub's lines, on a card grown by ResultsHubHeight()

static char CardText[32 + TitleSlotSize];
static char BestLine[96];
static char MedalsLine[160];   // room for the line in two-byte letters
static char SaveNote[256];
static int CardNextLevel;   // the level N plays, found as the card opens; 0 when none
static int CardNextFrom;    // the run's level CardNextLevel was found for

void ResultsInput(float t)
{
  bool ready = RunEnd.cardAge >= ResultsInputDelay;
  if (RunEnd.cardAge == 0 || CardNextFrom != RunEnd.level) {
    CardNextFrom = RunEnd.level;
    bool slotRun = RunEnd.outcome == runend_finished && !HubLevelInPlay();   // a hub level has no next
    CardNextLevel = slotRun ? NextLevelAfter(RunEnd.level) : 0;
  }
  RunEnd.cardAge += t / FramesPerSecond60;
  ResultsHubInput();
  if (!ready) {
    if (RunEnd.cardAge >= ResultsInputDelay)
      PushSound(sound_results);
    return;
  }
  if (ResultsHubNaming())
    return;   // the name field has the keys
  int next = CardNextLevel;
  if (Controls.cardLeave) {
    RequestScreen(gamestate_title);
    PushSound(sound_menu_choose);
  } else if (Controls.restart && HubLevelInPlay()) {
    RestartHubLevel();
    PushSound(sound_menu_choose);
  } else if (Controls.restart && PlayLevel(RunEnd.level)) {
    PushSound(sound_menu_choose);
  } else if (Controls.nextLevel && next && PlayLevel(next)) {
    PushSound(sound_menu_choose);
  } else if (Controls.thumbsUp && HubVote.state != hubvote_off) {
    SendHubThumbsUp();
    PushSound(sound_menu_choose);
  }
}

// The author score of the run's level: the hub's for a hub level; 0 for none.
static int CardAuthorScore()
{
  return HubLevelInPlay() ? HubPlay.authorScore : RunEnd.level ? AuthorScore[RunEnd.level - 1] : 0;
}

int ResultsMedal()
{
  if (RunEnd.outcome != runend_finished)
    return medal_none;
  return MedalFor(ScoreShown(RunEnd.timeLeft), CardAuthorScore());
}

const char* ResultsMedalsLine()
{
  FormatMedalNeeds(CardAuthorScore(), MedalsLine, (int)sizeof MedalsLine);
  return MedalsLine;
}

const char* ResultsBestLine()
{
  if (!RunEnd.best)
    return RunEnd.assisted ? Tr("No assisted best yet") : Tr("No best yet");
  snprintf(BestLine, sizeof BestLine, RunEnd.assisted ? Tr("Assisted best %i") : Tr("Best score %i"), RunEnd.best);
  return BestLine;
}

const char* ResultsSaveNote()
{
  SaveNote[0] = 0;
  if (RunEnd.newBest && RunEnd.saveError)
    snprintf(SaveNote, sizeof SaveNote, RunEnd.scoreSaved ? Tr("Best run not saved: %s") : Tr("Not saved: %s"),
             SaveFailureReason(RunEnd.saveError));
  return SaveNote;
}

// The text centred on x = 0 with its top at y, cut to the card's width.
static void DrawCentred(const char* text, float y, float size)
{
  snprintf(CardText, sizeof CardText, "%s", text);
  FitTextToWidth(CardText, CardWidth, size);
  float width = TextWidth(CardText, size);
  DrawText(-width / 2, y, CardText, size);
}

void DrawResults()
{
  DrawGameScene();
  float height = CardHeight + (ResultsHubShown() ? ResultsHubHeight() : 0);
  for (int i = 0; i < CardPanelLayers; i++)
    DrawPanel(AtlasPanelNormal, CardLeft, CardTop, CardWidth, height);
  DrawResultsHub(CardHubY, CardWidth);
  char line[32 + TitleSlotSize];
  int level = RunEnd.level;
  const char* title = level ? LevelTitles[level - 1] : HubPlay.title;
  if (HubLevelInPlay())
    snprintf(line, sizeof line, "%s - %.*s", Tr("Hub"), (int)strcspn(title, "\r\n"), title);
  else
    snprintf(line, sizeof line, Tr("Level %i - %.*s"), level, (int)strcspn(title, "\r\n"), title);
  DrawCentred(line, CardLevelY, CardLevelSize);
  DrawCentred(OutcomeText(RunEnd.outcome), CardOutcomeY, CardOutcomeSize);
  DrawMedal(ResultsMedal(), CardMedalX, CardMedalY, CardMedalSize);
  int tenths = ScoreShown(RunEnd.timeLeft);
  snprintf(line, sizeof line, Tr("Time left %i.%i s"), tenths / 10, tenths % 10);
  DrawCentred(line, CardTimeY, CardLineSize);
  DrawCentred(ResultsMedalsLine(), CardMedalsY, CardMedalsSize);
  DrawCentred(ResultsBestLine(), CardBestY, CardLineSize);
  if (RunEnd.assisted)
    DrawAssistSign(CardLeft + CardWidth - AssistSignSize, CardTop);
  if (RunEnd.newBest)
    DrawCentred(Tr("New best!"), CardNewBestY, CardLineSize);
  DrawCentred(ResultsSaveNote(), CardSaveNoteY, CardSaveNoteSize);
  if (RunEnd.cardAge < ResultsInputDelay)
    return;
  DrawCentred(CardNextLevel ? Tr("Return: title    R: again    N: next level") : Tr("Return: title    R: again"),
              CardKeysY, CardKeysSize);
}

void ResultsFrame(float t)
{
  ResultsInput(t);
  DrawResults();
}
