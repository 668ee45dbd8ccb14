// clock_text: the wall-clock texts of the pause dashboard. The pacing refreshes
// them once a frame from the local time; the dashboard only reads them.
#pragma once

#include <ctime>

extern char DateText[256];       // "Monday December 7th 2026"
extern char ClockText[256];      // "1:45:30 PM"; "13:45:30" in a language of the 24-hour clock

// DateText from a broken-down local time: "Monday December 7th 2026".
void FormatDateText(const struct tm* t);

// ClockText from a broken-down local time: "1:45:30 PM", "12:05:09 AM" in
// English; "13:45:30", "00:05:09" where the language in use keeps a 24-hour clock.
void FormatClockText(const struct tm* t);
