#pragma once
// The one-line month calendar over the bottom right of the work area, with xdaylist.txt's days.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <map>
#include <string>

#include "framework/system.h"
#include "state/settings.h"

// Key "%d.%d" (month.day) marks a holiday, "*%d.%d" a marked day; texts are kept, never shown.
using SpecialDays = std::map<std::string, std::string>;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);        // 0 outside 1-12
int FirstWeekdayOfMonth(int year, int month);  // 0 = Sunday

// One line of xdaylist.txt split at minus signs (empty pieces skipped): the first piece is the key,
// the second the text. False for comments and lines without any piece.
bool ParseSpecialDayLine(const std::string& line, std::string& key, std::string& text);

// Reads xdaylist.txt; 1 when the file was opened, 0 when not (the map is left as it was).
int LoadSpecialDays(const std::string& path, SpecialDays& days);

bool DrawCalendar(Gdiplus::Graphics& g, const fw::WorkArea& wa, const EnvSettings& env, const SpecialDays& days,
                  const fw::LocalDate& today);
