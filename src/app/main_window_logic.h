#pragma once
// The main window's decisions, free of window handles: when a timer tick composes, the date
// watch, the timer interval, the tray tooltip and the tray menu's state.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

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
    uint32_t nextMonitors = 0;   // monitors (bit i: the layout's monitor i) that get their next photo
    uint32_t freshMonitors = 0;  // monitors composed anew: a photo of theirs was banned
    bool back = false;           // the picture before the last change goes back up (twice: forth again)
    std::vector<std::string> banned;  // photos for the ban list, as the user saw them
    std::vector<std::string> kept;    // photos for the favourites

    // Something to compose; the lists alone need no composition.
    bool Any() const { return tick || change || fresh || display || nextMonitors || freshMonitors || back; }
    bool AnyVerdict() const { return !banned.empty() || !kept.empty(); }
};

// Adds what is asked to what is owed. A composition with a new photo on every monitor under way
// answers a tick, a plain change or a monitor's next itself; a fresh background, a new display, a
// ban's recomposition and a back are owed after it. Two backs cancel out (back and forth again);
// a photo asked twice for a list is listed once.
void Owe(OwedChanges& owed, const OwedChanges& asked, bool photoUnderWay);

// What the owed changes make now: a new picture (`fresh` then says whether on a fresh
// background), the last picture's overlays redrawn, or nothing. `monitorsChanged`: the desktop's
// monitors or their sizes differ from the last picture's, so its collage cannot go on.
// A back goes first, alone: the rest is made on the picture it puts back.
enum class Composition { None, NewPicture, Redraw, Back };
struct CompositionPlan {
    Composition kind = Composition::None;
    bool fresh = false;
    uint32_t monitors = 0;       // a new picture for these monitors alone (0: every monitor)
    uint32_t freshMonitors = 0;  // of those, the ones started afresh
};
CompositionPlan PlanComposition(const OwedChanges& owed, bool tickAllowed, bool monitorsChanged);
// What stays owed once the plan is made: what a back leaves for after it.
OwedChanges OwedAfter(const CompositionPlan& plan, OwedChanges owed);

// The verbs that reach the main window from a hotkey or the command line.
enum class Verb { Next = 1, Back, Pause, Resume, Ban, Keep, PauseOrResume };
// The layout's monitor (0-based) for a verb: the display numbered `displayNumber` (1-based, in
// the order Windows lists `displays`) when given, else the one under `pointer`; the primary when
// the layout has one monitor or none holds the point; -1 for a display number that does not exist.
int VerbMonitor(const std::vector<fw::MonitorInfo>& layoutMonitors, const std::vector<fw::MonitorInfo>& displays,
                int displayNumber, POINT pointer);
