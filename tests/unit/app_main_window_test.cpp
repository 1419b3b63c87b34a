#include <gtest/gtest.h>

#include "app/main_window_logic.h"
#include "app/tray_icon.h"
#include "framework/texts.h"
#include "resource.h"

namespace {

EnvSettings Defaults() {
    EnvSettings env;
    ResetSettings(env);
    env.changetime = 15;
    env.min_sec = 1000;
    env.maxwinstop = 1;
    env.isweekday = 1;
    env.isiptooltip = 1;
    return env;
}

// The change timer's tick: pause, the foreground check under `maxwinstop`, and the enable flag,
// tested in that order.
TEST(ChangeTick, PauseThenTheForegroundCheckUnderMaxwinstopThenTheEnableFlag) {
    const struct {
        const char* what;
        bool pause, maxwinstop, otherActive;
        BOOL enabled;
        bool composes;
        int checks;
    } cases[] = {
        {"nothing holds it back", false, true, false, TRUE, true, 1},
        {"pause skips the tick without asking the foreground check", true, true, false, TRUE, false, 0},
        {"another program in use holds it", false, true, true, TRUE, false, 1},
        {"only with maxwinstop", false, false, true, TRUE, true, 0},
        {"disabled changes wait, the foreground check asked first", false, true, false, FALSE, false, 1},
    };
    for (const auto& c : cases) {
        EnvSettings env = Defaults();
        env.ispause = c.pause;
        env.maxwinstop = c.maxwinstop;
        int checks = 0;
        EXPECT_EQ(c.composes, ShouldComposeOnChangeTick(env, c.enabled, [&] {
            ++checks;
            return c.otherActive;
        })) << c.what;
        EXPECT_EQ(c.checks, checks) << c.what;
    }
}

// changetime x min_sec, never wrapped into a tiny interval; a non-positive changetime or a unit
// never loaded from the file takes the default, never zero.
TEST(ChangeInterval, IsChangetimeTimesMinSec) {
    const struct {
        int changetime, minSec;
        UINT expected;
    } cases[] = {{15, 1000, 15000u},  {5, 60000, 300000u}, {99999, 60000, 0x7FFFFFFFu}, {-3, 1000, 15000u},
                 {0, 1000, 15000u},   {-32768, 60000, 900000u}, {-32768, -60000, 15000u}};
    for (const auto& c : cases) {
        EnvSettings env = Defaults();
        env.changetime = c.changetime;
        env.min_sec = c.minSec;
        EXPECT_EQ(c.expected, ChangeInterval(env)) << c.changetime << " x " << c.minSec;
    }
}

// The day's key: full English month, two-digit day, four-digit year; Sunday to Saturday's icons.
TEST(DateKey, FullEnglishMonthTwoDigitDayFourDigitYearAndTheWeekdaysIcons) {
    EXPECT_EQ("January-05-2026", FormatDateKey({2026, 1, 5, 1}));
    EXPECT_EQ("December-31-2025", FormatDateKey({2025, 12, 31, 3}));
    EXPECT_EQ("September-17-2024", FormatDateKey({2024, 9, 17, 2}));
    EXPECT_EQ(static_cast<UINT>(IDI_WEEKDAY_SUNDAY), WeekdayIconId(0));
    EXPECT_EQ(141u, WeekdayIconId(6));
}

// The date timer across midnight: a new day shows the new weekday's picture, and recomposes for
// the calendar even when paused; the whole date is compared, not only the day.
TEST(DateWatch, ANewDayShowsItsWeekdayAndRecomposesOnlyForTheCalendar) {
    const fw::LocalDate newYearsEve{2025, 12, 31, 3}, newYear{2026, 1, 1, 4};  // Wednesday, Thursday
    const struct {
        const char* what;
        std::string last;
        fw::LocalDate today;
        bool calendar, weekday, newDay, icon, compose;
    } cases[] = {
        {"same day", FormatDateKey(newYearsEve), newYearsEve, false, true, false, false, false},
        {"new day", FormatDateKey(newYearsEve), newYear, false, true, true, true, false},
        {"new day, calendar, paused", FormatDateKey(newYearsEve), newYear, true, false, true, false, true},
        {"same day of another month", "January-31-2026", {2026, 3, 31, 2}, false, true, true, true, false},
        {"no day before", "", newYear, false, true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EnvSettings env = Defaults();
        env.iscalender = c.calendar;
        env.isweekday = c.weekday;
        env.ispause = c.calendar;
        const DateTickAction action = DecideDateTick(c.last, c.today, env);
        EXPECT_EQ(c.newDay, action.newDay);
        EXPECT_EQ(c.icon, action.setWeekdayIcon);
        EXPECT_EQ(c.compose, action.compose);
    }
    EXPECT_EQ(139u, DecideDateTick("", newYear, Defaults()).weekdayIcon);  // Thursday
}

// Name, version and address on two lines or the version alone, cut to 63 bytes.
TEST(TrayTip, NameVersionAndAddressOnTwoLinesOrTheVersionAloneCutTo63Bytes) {
    EnvSettings env = Defaults();
    EXPECT_EQ("Dioramix v1.56\r\nMY IP: 192.168.0.7", TrayTipText(env, "1.56", "MY IP: 192.168.0.7"));
    env.isiptooltip = 0;
    EXPECT_EQ("1.56", TrayTipText(env, "1.56", "MY IP: 192.168.0.7"));
    const std::string longest = "Dioramix v1.56\r\nMY IP: 255.255.255.255" + std::string(40, 'x');
    EXPECT_EQ(63u, CutTip(longest).size());
    EXPECT_EQ(longest.substr(0, 63), CutTip(longest));
    EXPECT_EQ("1.56", CutTip("1.56"));
    // A double-byte character across the 63rd byte goes whole.
    EXPECT_EQ(std::string(62, 'x'), CutTip(std::string(62, 'x') + "\xB0\xA1"));
}

TEST(TrayMenuState, ShownIconsOfferToHideThemAndPauseIsChecked) {
    EnvSettings env = Defaults();
    TrayMenuState state = TrayMenuStateFor(env);
    EXPECT_TRUE(state.replaceIconItemText);
    EXPECT_EQ(fw::LoadText(IDS_HIDE_ICONS_ITEM), state.iconItemText);
    EXPECT_FALSE(state.pauseChecked);
    // Hidden icons keep the resource's text.
    env.isiconhide = 1;
    env.ispause = 1;
    state = TrayMenuStateFor(env);
    EXPECT_FALSE(state.replaceIconItemText);
    EXPECT_TRUE(state.pauseChecked);
}

}  // namespace
