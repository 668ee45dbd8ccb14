// Frame pacing on SDL's tick clock, the measured frame rate and the wall-clock texts.
#include "app/pacing.h"

#include <SDL.h>
#include <cstdio>
#include <cstring>

unsigned LastFrameTick;
int FrameTime;
float FramesPerSecond;
char DateText[256];
char ClockText[256];
bool PacingEnabled = true;

static unsigned SDLTicks() { return SDL_GetTicks(); }
static void SDLDelay(unsigned milliseconds) { SDL_Delay(milliseconds); }

unsigned (*PacingTicks)() = SDLTicks;
void (*PacingDelay)(unsigned milliseconds) = SDLDelay;

static const int HoursPerHalfDay = 12;
static const float MillisecondsPerSecond = 1000;

static const int WeekdayCount = 7;    // tm_wday, Sunday = 0
static const int MonthCount = 12;     // tm_mon, January = 0
static const int DayOrdinalCount = 31;
static const int TmYearBase = 1900;   // tm_year counts from 1900

static const char* WeekdayNames[WeekdayCount] = {
  "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"
};
static const char* MonthNames[MonthCount] = {
  "January", "February", "March", "April", "May", "June", "July",
  "August", "September", "October", "November", "December"
};
static const char* DayOrdinals[DayOrdinalCount] = {
  "1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th",
  "11th", "12th", "13th", "14th", "15th", "16th", "17th", "18th", "19th", "20th",
  "21st", "22nd", "23rd", "24th", "25th", "26th", "27th", "28th", "29th", "30th",
  "31st"
};

// A name from a table, or "" for an index the table does not have.
static const char* TableName(const char** table, int count, int index)
{
  return index >= 0 && index < count ? table[index] : "";
}

void FormatDateText(const struct tm* t)
{
  snprintf(DateText, sizeof(DateText), "%s%s%s%s%s%s%d",
           TableName(WeekdayNames, WeekdayCount, t->tm_wday), " ",
           TableName(MonthNames, MonthCount, t->tm_mon), " ",
           TableName(DayOrdinals, DayOrdinalCount, t->tm_mday - 1), " ",
           t->tm_year + TmYearBase);
}

// Appends ":" and the value with a leading "0" below 10 to ClockText.
static void AppendTwoDigits(int value)
{
  size_t len = strlen(ClockText);
  snprintf(ClockText + len, sizeof(ClockText) - len, "%s%d", value < 10 ? ":0" : ":", value);
}

void FormatClockText(const struct tm* t)
{
  int hour = t->tm_hour;
  if (hour == 0)
    hour = HoursPerHalfDay;
  else if (hour > HoursPerHalfDay)
    hour -= HoursPerHalfDay;
  snprintf(ClockText, sizeof(ClockText), "%d", hour);
  AppendTwoDigits(t->tm_min);
  AppendTwoDigits(t->tm_sec);
  size_t len = strlen(ClockText);
  snprintf(ClockText + len, sizeof(ClockText) - len, "%s",
           t->tm_hour >= HoursPerHalfDay ? " PM" : " AM");
}

void PaceFrame()
{
  // Signed, so a clock that reads a little behind LastFrameTick (an early
  // wake-up) waits a little longer instead of counting as a 49-day frame.
  int elapsed = (int)(PacingTicks() - LastFrameTick);
  if (!PacingEnabled) {
    FrameTime = elapsed > 1 ? elapsed : 1;
  } else if (elapsed < MinFrameMilliseconds) {
    PacingDelay((unsigned)(MinFrameMilliseconds - elapsed));
    FrameTime = MinFrameMilliseconds;
  } else {
    FrameTime = elapsed;
  }
  LastFrameTick += FrameTime;
  FramesPerSecond = MillisecondsPerSecond / FrameTime;

  // A time the C library cannot break down keeps the previous texts.
  time_t now = time(NULL);
  struct tm local;
  if (!localtime_r(&now, &local))
    return;
  FormatDateText(&local);
  FormatClockText(&local);
}
