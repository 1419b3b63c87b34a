#pragma once
// The one-line month calendar over the bottom right of the work area, with the user's special days.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <map>
#include <string>

#include "framework/system.h"
#include "state/settings.h"
#include "state/special_days.h"

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);        // 0 outside 1-12
int FirstWeekdayOfMonth(int year, int month);  // 0 = Sunday

bool DrawCalendar(Gdiplus::Graphics& g, const fw::WorkArea& wa, const EnvSettings& env, const SpecialDays& days,
                  const fw::LocalDate& today);
