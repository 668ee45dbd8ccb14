// The program-wide controls record.
#include "game/base/controls.h"

ControlsRecord Controls;
bool KeyCaptureWanted;
