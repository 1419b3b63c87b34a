#pragma once
// The main window's decisions, free of window handles: when a timer tick composes, the date
// watch, the timer interval, the tray tooltip and the tray menu's state.

#include <windows.h>

#include <functional>
#include <string>

#include "framework/system.h"
#include "state/settings.h"

// The date as the date watch compares it: "%B-%d-%Y" with English month names ("March-07-2026").
std::string FormatDateKey(const fw::LocalDate& date);

constexpr int kDefaultChangeTime = 15;  // changetime when env.ini has none
constexpr int kMinChangeUnit = 1000;    // the shortest min_sec

// The change timer's interval in milliseconds: changetime times min_sec. A changetime that is
// not positive counts as the default, so the interval is never shorter than one second.
UINT ChangeInterval(const EnvSettings& env);

// A tick of the change timer composes only when changing is not paused, the foreground check
// does not hold it back (asked only when `maxwinstop` is set) and timed changes are enabled.
bool ShouldComposeOnChangeTick(const EnvSettings& env, BOOL changeEnabled,
                               const std::function<bool()>& isOtherProgramActive);

// What a tick of the date timer does.
struct DateTickAction {
    bool newDay = false;
    bool setWeekdayIcon = false;
    UINT weekdayIcon = 0;
    bool compose = false;  // the calendar shows the new day, paused or not
};
DateTickAction DecideDateTick(const std::string& lastDate, const fw::LocalDate& today, const EnvSettings& env);

// Icon resource of a weekday picture: 135 (Sunday) to 141 (Saturday).
UINT WeekdayIconId(int weekday);

// The tray tooltip: "Dioramix v<version>\r\nMY IP: ..." with `isiptooltip`, else the version alone.
std::string TrayTipText(const EnvSettings& env, const std::string& version, const std::string& ipText);

// The tray menu's variable parts: the pause check and the fourth entry's text (UTF-16).
struct TrayMenuState {
    bool pauseChecked = false;
    bool replaceIconItemText = false;  // false: the resource text stays
    std::wstring iconItemText;
};
TrayMenuState TrayMenuStateFor(const EnvSettings& env);
