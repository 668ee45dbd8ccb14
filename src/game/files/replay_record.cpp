// replay_record: the recording of the run in play and its text.
#include "game/files/replay_record.h"

#include <memory>

#include "game/base/controls.h"
#include "game/base/screen.h"
#include "game/files/replay.h"
#include "game/play/world.h"

bool ReplayRecording;

static const int HeaderBytes = 64;          // the version and first screen lines
static const int ScreenLineBytes = 32;      // a change of window before a run

static Replay Recording;
static int RoomFrames;                      // frames the recording and the text have room for
static std::unique_ptr<char[]> Text;        // left uninitialised: only what is written is touched
static size_t TextRoom;

void BeginReplayRecording(int frames)
{
  if (frames != RoomFrames) {
    std::vector<ReplayRun>().swap(Recording.runs);
    Recording.runs.reserve(frames);
    TextRoom = HeaderBytes + (size_t)frames * (MaxReplayLineBytes + ScreenLineBytes);
    Text.reset(new char[TextRoom]);
    RoomFrames = frames;
  }
  ClearReplay(&Recording);
  Recording.version = ReplayLeadVersion;   // until the first frame names it
  Recording.maxRuns = frames;
  Text[0] = 0;
  ReplayRecording = true;
}

void RecordReplayFrame(float t)
{
  if (!ReplayRecording)
    return;
  int width = (int)ScreenWidth, height = (int)ScreenHeight;
  if (Recording.runs.empty()) {   // the run's first frame names its window and its camera
    Recording.screenWidth = width;
    Recording.screenHeight = height;
    Recording.version = Camera.leads ? ReplayLeadVersion : ReplayControlsVersion;
  }
  PlayControls c = {Controls.steerX, Controls.steerY, Controls.aimX, Controls.aimY,
                    Controls.jump, Controls.tether, Controls.tetherShot};
  // Without room, or without a window a replay can name, the run keeps no replay.
  bool kept = Recording.frameCount < RoomFrames && width >= 1 && height >= 1 && width <= MaxReplayScreen &&
              height <= MaxReplayScreen && AppendReplayControls(&Recording, 1, t, c, width, height);
  ReplayRecording = kept;
}

void EndReplayRecording()
{
  if (ReplayRecording && ReplayToText(&Recording, Text.get(), TextRoom) < 0)
    Text[0] = 0;
  ReplayRecording = false;
}

const char* RecordedReplayText()
{
  return Text ? Text.get() : "";
}
