// The dashboard's date and clock texts from a broken-down local time.
#include "game/clock_text.h"

#include <cstdio>
#include <cstring>

char DateText[256];
char ClockText[256];

static const int HoursPerHalfDay = 12;
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
