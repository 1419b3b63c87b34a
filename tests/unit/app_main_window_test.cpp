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
class ChangeTick : public ::testing::Test {
protected:
    EnvSettings env = Defaults();
    int checks = 0;
    bool otherActive = false;

    bool Tick(BOOL enabled) {
        return ShouldComposeOnChangeTick(env, enabled, [this] {
            ++checks;
            return otherActive;
        });
    }
};

TEST_F(ChangeTick, ComposesWhenNothingHoldsItBack) {
    EXPECT_TRUE(Tick(TRUE));
    EXPECT_EQ(1, checks);
}

TEST_F(ChangeTick, PauseSkipsTheTickWithoutAskingTheForegroundCheck) {
    env.ispause = 1;
    EXPECT_FALSE(Tick(TRUE));
    EXPECT_EQ(0, checks);
}

TEST_F(ChangeTick, OtherProgramInUseHoldsTheChangeOnlyWithMaxwinstop) {
    otherActive = true;
    EXPECT_FALSE(Tick(TRUE));
    env.maxwinstop = 0;
    checks = 0;
    EXPECT_TRUE(Tick(TRUE));
    EXPECT_EQ(0, checks);
}

TEST_F(ChangeTick, DisabledChangesWaitEvenWithAFreeDesktop) {
    EXPECT_FALSE(Tick(FALSE));
    EXPECT_EQ(1, checks);  // the foreground check comes before the flag
}

TEST(ChangeInterval, IsChangetimeTimesMinSec) {
    EnvSettings env = Defaults();
    EXPECT_EQ(15000u, ChangeInterval(env));
    env.changetime = 5;
    env.min_sec = 60000;
    EXPECT_EQ(300000u, ChangeInterval(env));
    env.changetime = 99999;
    EXPECT_EQ(0x7FFFFFFFu, ChangeInterval(env));  // no wrap-around into a tiny interval
}

TEST(ChangeInterval, NonPositiveChangetimeTakesTheDefaultNeverZero) {
    EnvSettings env = Defaults();
    env.changetime = -3;
    EXPECT_EQ(15000u, ChangeInterval(env));
    env.changetime = 0;
    EXPECT_EQ(15000u, ChangeInterval(env));
    env.min_sec = 60000;
    env.changetime = -32768;
    EXPECT_EQ(900000u, ChangeInterval(env));
    env.min_sec = -60000;  // a record never loaded from the file
    EXPECT_EQ(15000u, ChangeInterval(env));
}

TEST(DateKey, FullEnglishMonthTwoDigitDayFourDigitYear) {
    EXPECT_EQ("January-05-2026", FormatDateKey({2026, 1, 5, 1}));
    EXPECT_EQ("December-31-2025", FormatDateKey({2025, 12, 31, 3}));
    EXPECT_EQ("September-17-2024", FormatDateKey({2024, 9, 17, 2}));
}

// The date timer across midnight.
class DateWatch : public ::testing::Test {
protected:
    EnvSettings env = Defaults();
    const fw::LocalDate newYearsEve{2025, 12, 31, 3};  // Wednesday
    const fw::LocalDate newYear{2026, 1, 1, 4};        // Thursday
    const std::string lastDate = FormatDateKey(newYearsEve);
};

TEST_F(DateWatch, SameDayDoesNothing) {
    DateTickAction action = DecideDateTick(lastDate, newYearsEve, env);
    EXPECT_FALSE(action.newDay);
    EXPECT_FALSE(action.setWeekdayIcon);
    EXPECT_FALSE(action.compose);
}

TEST_F(DateWatch, NewDayShowsTheNewWeekdayPicture) {
    DateTickAction action = DecideDateTick(lastDate, newYear, env);
    EXPECT_TRUE(action.newDay);
    EXPECT_TRUE(action.setWeekdayIcon);
    EXPECT_EQ(139u, action.weekdayIcon);  // Thursday
    EXPECT_FALSE(action.compose);         // no calendar
}

TEST_F(DateWatch, NewDayRecomposesForTheCalendarEvenWhenPausedOrDisabled) {
    env.iscalender = 1;
    env.isweekday = 0;
    env.ispause = 1;
    DateTickAction action = DecideDateTick(lastDate, newYear, env);
    EXPECT_TRUE(action.compose);
    EXPECT_FALSE(action.setWeekdayIcon);
}

TEST_F(DateWatch, ComparesTheWholeDateNotOnlyTheDay) {
    EXPECT_TRUE(DecideDateTick("January-31-2026", {2026, 3, 31, 2}, env).newDay);
    EXPECT_TRUE(DecideDateTick("", newYear, env).newDay);
}

TEST(WeekdayIcon, SundayToSaturdayAre135To141) {
    EXPECT_EQ(static_cast<UINT>(IDI_WEEKDAY_SUNDAY), WeekdayIconId(0));
    EXPECT_EQ(141u, WeekdayIconId(6));
}

TEST(TrayTip, NameVersionAndAddressOnTwoLines) {
    EnvSettings env = Defaults();
    EXPECT_EQ("Dioramix v1.56\r\nMY IP: 192.168.0.7", TrayTipText(env, "1.56", "MY IP: 192.168.0.7"));
}

TEST(TrayTip, VersionAloneWithoutTheAddressOption) {
    EnvSettings env = Defaults();
    env.isiptooltip = 0;
    EXPECT_EQ("1.56", TrayTipText(env, "1.56", "MY IP: 192.168.0.7"));
}

TEST(TrayTip, CutTo63Characters) {
    const std::string longest = "Dioramix v1.56\r\nMY IP: 255.255.255.255" + std::string(40, 'x');
    EXPECT_EQ(63u, CutTip(longest).size());
    EXPECT_EQ(longest.substr(0, 63), CutTip(longest));
    EXPECT_EQ("1.56", CutTip("1.56"));
    // A double-byte character across the 63rd byte goes whole.
    EXPECT_EQ(std::string(62, 'x'), CutTip(std::string(62, 'x') + "\xB0\xA1"));
}

TEST(TrayMenuState, ShownIconsOfferToHideThem) {
    EnvSettings env = Defaults();
    TrayMenuState state = TrayMenuStateFor(env);
    EXPECT_TRUE(state.replaceIconItemText);
    EXPECT_EQ(fw::LoadText(IDS_HIDE_ICONS_ITEM), state.iconItemText);
    EXPECT_FALSE(state.pauseChecked);
}

TEST(TrayMenuState, HiddenIconsKeepTheResourceTextAndPauseIsChecked) {
    EnvSettings env = Defaults();
    env.isiconhide = 1;
    env.ispause = 1;
    TrayMenuState state = TrayMenuStateFor(env);
    EXPECT_FALSE(state.replaceIconItemText);
    EXPECT_TRUE(state.pauseChecked);
}

}  // namespace
