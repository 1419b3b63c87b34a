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

// The changes of the wallpaper asked for while one is being made, a window of ours holds the
// picture, or nobody is looking: merged in one place and made as one composition when possible.
struct OwedChanges {
    bool tick = false;     // a timed change: made only if the tick's conditions allow it then
    bool change = false;   // a change that must happen (the start, a new day, the user asked)
    bool fresh = false;    // on a fresh background (the tidy command)
    bool display = false;  // the monitors, their sizes or their work areas changed

    bool Any() const { return tick || change || fresh || display; }
};

// Adds what is asked to what is owed. A composition with a new photo under way answers a tick or
// a plain change itself; a fresh background or a new display is owed after it.
void Owe(OwedChanges& owed, const OwedChanges& asked, bool photoUnderWay);

// What the owed changes make now: a new picture (`fresh` then says whether on a fresh
// background), the last picture's overlays redrawn, or nothing. `monitorsChanged`: the desktop's
// monitors or their sizes differ from the last picture's, so its collage cannot go on.
enum class Composition { None, NewPicture, Redraw };
struct CompositionPlan {
    Composition kind = Composition::None;
    bool fresh = false;
};
CompositionPlan PlanComposition(const OwedChanges& owed, bool tickAllowed, bool monitorsChanged);
