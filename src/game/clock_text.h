// clock_text: the wall-clock texts of the pause dashboard. The pacing refreshes
// them once a frame from the local time; the dashboard only reads them.
#pragma once

#include <ctime>

extern char DateText[256];       // "Monday December 7th 2026"
extern char ClockText[256];      // "1:45:30 PM"

// DateText from a broken-down local time: "Monday December 7th 2026".
void FormatDateText(const struct tm* t);

// ClockText from a broken-down local time: "1:45:30 PM", "12:05:09 AM".
void FormatClockText(const struct tm* t);
