// Every test starts from the program's state as it stood before the first
// one: the program-wide records are copied once, before any test, and put
// back before each, and the modules with state of their own start again
// (English, no sounds, an empty edit history, no editor notes). So a test
// never leans on, or suffers from, what another left set, in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "game/base/controls.h"
#include "game/base/file_save.h"
#include "game/base/lang.h"
#include "game/base/places.h"
#include "game/base/screen.h"
#include "game/base/sound_events.h"
#include "game/edit/edit_history.h"
#include "game/files/assist_best.h"
#include "game/files/best_save.h"
#include "game/files/ghost.h"
#include "game/files/level_files.h"
#include "game/files/replay_record.h"
#include "game/lobby/online_browse.h"
#include "game/lobby/online_play.h"
#include "game/lobby/online_share.h"
#include "game/online/online_account.h"
#include "game/online/online_card.h"
#include "game/online/online_queue.h"
#include "game/play/hints.h"
#include "game/play/world.h"
#include "game/run/medals.h"
#include "game/run/pause_state.h"
#include "game/run/run_end.h"
#include "game/run/test_run.h"
#include "game/settings/assists.h"
#include "game/settings/key_bindings.h"
#include "game/settings/options.h"
#include "game/settings/settings.h"
#include "game/settings/settings_write.h"
#include "platform/gamepad.h"
#include "platform/input.h"
#include "platform/pacing.h"
#include "ui/editor.h"
#include "ui/editor_save.h"
#include "ui/level_note.h"

namespace {

std::vector<std::function<void()>> PutBack;   // one per record, each puts its start back

// Keeps a copy of record as it stands, for OnTestStart to put back.
template <class T> void Keep(T& record)
{
  if constexpr (std::is_trivially_copyable<T>::value) {
    auto start = std::make_shared<std::vector<unsigned char>>((unsigned char*)&record, (unsigned char*)&record + sizeof record);
    PutBack.push_back([&record, start] { memcpy((void*)&record, start->data(), sizeof record); });
  } else if constexpr (std::is_array<T>::value) {
    auto start = std::make_shared<std::vector<std::remove_extent_t<T>>>(std::begin(record), std::end(record));
    PutBack.push_back([&record, start] { std::copy(start->begin(), start->end(), std::begin(record)); });
  } else {
    auto start = std::make_shared<T>(record);
    PutBack.push_back([&record, start] { record = *start; });
  }
}

class StartAfresh : public testing::EmptyTestEventListener {
  void OnTestProgramStart(const testing::UnitTest&) override
  {
    Keep(Settings), Keep(SettingsLines), Keep(SettingsLineCount), Keep(SettingsWriteError);
    Keep(Controls), Keep(Places), Keep(Bindings), Keep(Options), Keep(InputState), Keep(PadState);
    Keep(GameState), Keep(ScreenRequest), Keep(MenuCursor), Keep(MenuFirstRow), Keep(QuitRequested);
    Keep(ScreenWidth), Keep(ScreenHeight), Keep(AspectRatio), Keep(KeyCaptureWanted);
    Keep(Camera), Keep(Ball), Keep(AimPoint), Keep(MapGrid), Keep(LevelWidth), Keep(LevelHeight);
    Keep(ItemTable), Keep(ItemCount), Keep(CurrentLevel), Keep(LevelTimer), Keep(TrailTimer);
    Keep(LevelTitles), Keep(LevelExists), Keep(LevelBest), Keep(HighestLevel), Keep(AuthorScore);
    Keep(LevelAssistBest), Keep(LevelHasGhost), Keep(LastSaveError), Keep(LevelNote);
    Keep(EditorBrush), Keep(EditorTitleEditing), Keep(EditTitle), Keep(EditorSaveFailed);
    Keep(PauseLevel), Keep(PauseWanted), Keep(PauseCursor), Keep(PauseConfirmRow), Keep(CloseAsking);
    Keep(ScreenshotWanted), Keep(Hint), Keep(HintsEnabled), Keep(HintLearnt), Keep(RunAssisted);
    Keep(RunEnd), Keep(BestSave), Keep(GhostTake), Keep(GhostBest), Keep(GhostLevel), Keep(GhostClock);
    Keep(GhostRecording), Keep(ReplayRecording), Keep(TestRunActive), Keep(SoundFrame);
    Keep(HubPlay), Keep(HubShare), Keep(HubBrowse), Keep(HubCard), Keep(HubRequests);
    Keep(HubAddress), Keep(HubUnreachable), Keep(HubToken), Keep(HubName);
    Keep(LastFrameTick), Keep(FrameTime), Keep(FramesPerSecond), Keep(PacingEnabled), Keep(PacingTicks),
        Keep(PacingDelay);
  }

  void OnTestStart(const testing::TestInfo&) override
  {
    for (const auto& putBack : PutBack)
      putBack();
    SetSystemLanguage("C");
    UseLanguage("");
    ClearSounds();
    HistoryClear();
    ResetEditorSave();
  }
};

const bool Listening = (testing::UnitTest::GetInstance()->listeners().Append(new StartAfresh), true);

}  // namespace
