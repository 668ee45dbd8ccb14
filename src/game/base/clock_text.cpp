// The dashboard's date and clock texts from a broken-down local time.
#include "game/base/clock_text.h"

#include <cstdio>
#include <cstring>

#include "game/base/lang.h"

char DateText[256];
char ClockText[256];

static const int HoursPerHalfDay = 12;
static const int WeekdayCount = 7;    // tm_wday, Sunday = 0
static const int MonthCount = 12;     // tm_mon, January = 0
static const int DayOrdinalCount = 31;
static const int TmYearBase = 1900;   // tm_year counts from 1900

static const char* WeekdayNames[] = {
  N_("Sunday"), N_("Monday"), N_("Tuesday"), N_("Wednesday"), N_("Thursday"), N_("Friday"), N_("Saturday")
};
static_assert(sizeof WeekdayNames / sizeof WeekdayNames[0] == WeekdayCount, "one entry per WeekdayCount");
static const char* MonthNames[] = {
  N_("January"), N_("February"), N_("March"), N_("April"), N_("May"), N_("June"), N_("July"),
  N_("August"), N_("September"), N_("October"), N_("November"), N_("December")
};
static_assert(sizeof MonthNames / sizeof MonthNames[0] == MonthCount, "one entry per MonthCount");
static const char* DayOrdinals[] = {
  // TRANSLATORS: the days of the month as the date line says them ("7th"; "7." in German).
  N_("1st"), N_("2nd"), N_("3rd"), N_("4th"), N_("5th"), N_("6th"), N_("7th"), N_("8th"), N_("9th"), N_("10th"),
  N_("11th"), N_("12th"), N_("13th"), N_("14th"), N_("15th"), N_("16th"), N_("17th"), N_("18th"), N_("19th"), N_("20th"),
  N_("21st"), N_("22nd"), N_("23rd"), N_("24th"), N_("25th"), N_("26th"), N_("27th"), N_("28th"), N_("29th"), N_("30th"),
  N_("31st")
};
static_assert(sizeof DayOrdinals / sizeof DayOrdinals[0] == DayOrdinalCount, "one entry per DayOrdinalCount");

// A name from a table, or "" for an index the table does not have.
static const char* TableName(const char** table, int count, int index)
{
  return index >= 0 && index < count ? Tr(table[index]) : "";
}

void FormatDateText(const struct tm* t)
{
  // TRANSLATORS: weekday, month, day of the month and year ("Monday December 7th 2026");
  // reorder them with %1$s, %2$s, %3$s and %4$d.
  snprintf(DateText, sizeof(DateText), Tr("%s %s %s %d"), TableName(WeekdayNames, WeekdayCount, t->tm_wday),
           TableName(MonthNames, MonthCount, t->tm_mon), TableName(DayOrdinals, DayOrdinalCount, t->tm_mday - 1),
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
  if (LanguageClock24()) {
    snprintf(ClockText, sizeof(ClockText), "%02d", t->tm_hour);
    AppendTwoDigits(t->tm_min);
    AppendTwoDigits(t->tm_sec);
    return;
  }
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
           // TRANSLATORS: after the 12-hour clock, with its space ("1:45:30 PM").
           t->tm_hour >= HoursPerHalfDay ? Tr(" PM") : Tr(" AM"));
}
