#include "app/main_window_logic.h"

#include <algorithm>

#include <cstdio>

#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

}  // namespace

std::string FormatDateKey(const fw::LocalDate& date) {
    const char* month = date.month >= 1 && date.month <= 12 ? kMonthNames[date.month - 1] : "";
    char text[64];
    std::snprintf(text, sizeof(text), "%s-%02d-%d", month, date.day, date.year);
    return text;
}

UINT ChangeInterval(const EnvSettings& env) {
    const long long unit = env.min_sec >= kMinChangeUnit ? env.min_sec : kMinChangeUnit;
    // A hand-edited changetime of 0 or less is taken like an absent one: a timer of 0 would
    // run changes back to back.
    const long long count = env.changetime > 0 ? env.changetime : kDefaultChangeTime;
    const long long ms = count * unit;
    return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<UINT>(ms);
}

bool ShouldComposeOnChangeTick(const EnvSettings& env, BOOL changeEnabled,
                               const std::function<bool()>& isOtherProgramActive) {
    if (env.ispause) return false;
    if (env.maxwinstop && isOtherProgramActive()) return false;
    return changeEnabled != FALSE;
}

DateTickAction DecideDateTick(const std::string& lastDate, const fw::LocalDate& today, const EnvSettings& env) {
    DateTickAction action;
    action.newDay = FormatDateKey(today) != lastDate;
    if (!action.newDay) return action;
    action.setWeekdayIcon = env.isweekday != 0;
    action.weekdayIcon = WeekdayIconId(today.weekday);
    action.compose = env.iscalender != 0;
    return action;
}

UINT WeekdayIconId(int weekday) {
    if (weekday < 0 || weekday > 6) weekday = 0;
    return IDI_WEEKDAY_SUNDAY + static_cast<UINT>(weekday);
}

std::string TrayTipText(const EnvSettings& env, const std::string& version, const std::string& ipText) {
    if (!env.isiptooltip) return version;
    return mb::Narrow(fw::LoadText(IDS_TRAY_TIP_VERSION, {mb::Widen(version)})) + "\r\n" + ipText;
}

TrayMenuState TrayMenuStateFor(const EnvSettings& env) {
    TrayMenuState state;
    state.pauseChecked = env.ispause != 0;
    // While the icons are shown the entry offers to hide them.
    state.replaceIconItemText = env.isiconhide == 0;
    if (state.replaceIconItemText) state.iconItemText = fw::LoadText(IDS_HIDE_ICONS_ITEM);
    return state;
}

namespace {

void AddOnce(std::vector<std::string>& list, const std::vector<std::string>& more) {
    for (const std::string& path : more)
        if (std::find(list.begin(), list.end(), path) == list.end()) list.push_back(path);
}

}  // namespace

void Owe(OwedChanges& owed, const OwedChanges& asked, bool photoUnderWay) {
    if (!photoUnderWay) {
        owed.tick |= asked.tick;
        owed.change |= asked.change;
        owed.nextMonitors |= asked.nextMonitors;
    }
    owed.fresh |= asked.fresh;
    owed.display |= asked.display;
    owed.freshMonitors |= asked.freshMonitors;
    owed.back ^= asked.back;
    AddOnce(owed.banned, asked.banned);
    AddOnce(owed.kept, asked.kept);
}

CompositionPlan PlanComposition(const OwedChanges& owed, bool tickAllowed, bool monitorsChanged) {
    if (owed.back && !(owed.display && monitorsChanged)) return {Composition::Back};
    const bool newLayout = owed.display && monitorsChanged;
    if (owed.change || owed.fresh || newLayout || (owed.tick && tickAllowed))
        return {Composition::NewPicture, owed.fresh || newLayout, 0, newLayout ? 0u : owed.freshMonitors};
    if (owed.nextMonitors || owed.freshMonitors)
        return {Composition::NewPicture, false, owed.nextMonitors | owed.freshMonitors, owed.freshMonitors};
    if (owed.display) return {Composition::Redraw, false};
    return {};
}

OwedChanges OwedAfter(const CompositionPlan& plan, OwedChanges owed) {
    if (plan.kind == Composition::Back) {
        owed.back = false;
        return owed;
    }
    return {};
}

int VerbMonitor(const std::vector<fw::MonitorInfo>& layoutMonitors, const std::vector<fw::MonitorInfo>& displays,
                int displayNumber, POINT pointer) {
    if (displayNumber > 0 && static_cast<size_t>(displayNumber) > displays.size()) return -1;
    if (layoutMonitors.size() <= 1) return 0;
    if (displayNumber > 0) {
        const RECT& wanted = displays[static_cast<size_t>(displayNumber - 1)].rect;
        for (size_t i = 0; i < layoutMonitors.size(); ++i)
            if (::EqualRect(&layoutMonitors[i].rect, &wanted)) return static_cast<int>(i);
        return -1;  // a display without area is in no picture
    }
    for (size_t i = 0; i < layoutMonitors.size(); ++i)
        if (::PtInRect(&layoutMonitors[i].rect, pointer)) return static_cast<int>(i);
    return 0;
}
