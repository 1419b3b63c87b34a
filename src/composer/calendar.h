#pragma once
// The one-line month calendar over the bottom right of the work area, with the user's special days.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <map>
#include <string>

#include "composer/text.h"
#include "framework/system.h"
#include "state/settings.h"
#include "state/xday_list.h"

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);        // 0 outside 1-12
int FirstWeekdayOfMonth(int year, int month);  // 0 = Sunday

// Where the calendar's parts go on a work area at a monitor's DPI. At 96 DPI: a 200 x 30 year-month
// bar 82 pixels above the work area's bottom with 30-pixel text, an 800 x 16 day bar 44 above it
// with 16-pixel days, each day 16 (two digits) or 10 pixels wide beside its margin, and today's
// 32-pixel marker; at another DPI all of it in proportion, so that it looks as large everywhere.
struct CalendarGeometry {
    Gdiplus::Rect monthBar, dayBar;
    Gdiplus::REAL monthFontSize = 0, dayFontSize = 0;
    Gdiplus::REAL twoDigitDay = 0, oneDigitDay = 0;
    TextSpacing spacing;
    int markerSize = 0;
    int markerTwoDigits = 0, markerOneDigit = 0;  // its left edge this far left of the day's right end
    int markerRaise = 0;                          // its top this far above the day bar's
};
CalendarGeometry CalendarLayout(const fw::WorkArea& wa, UINT dpi);

bool DrawCalendar(Gdiplus::Graphics& g, const fw::WorkArea& wa, const EnvSettings& env, const SpecialDays& days,
                  const fw::LocalDate& today, UINT dpi = fw::kDefaultDpi);
