// The program-wide controls record.
#include "game/controls.h"

ControlsRecord Controls;
bool KeyCaptureWanted;
