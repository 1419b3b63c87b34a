// Calendar arithmetic and the xdaylist.txt rules.
#include <gtest/gtest.h>

#include <string>

#include "composer/calendar.h"
#include "support/test_support.h"

using testing_support::ScratchDir;
using testing_support::WriteFile;

TEST(CalendarArithmeticTest, LeapYears) {
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2026));
}

TEST(CalendarArithmeticTest, MonthLengths) {
    EXPECT_EQ(29, DaysInMonth(2024, 2));
    EXPECT_EQ(28, DaysInMonth(2100, 2));
    EXPECT_EQ(29, DaysInMonth(2000, 2));
    EXPECT_EQ(31, DaysInMonth(2026, 12));
    EXPECT_EQ(30, DaysInMonth(2026, 11));
    EXPECT_EQ(31, DaysInMonth(2026, 1));
    EXPECT_EQ(0, DaysInMonth(2026, 0));
    EXPECT_EQ(0, DaysInMonth(2026, 13));
    EXPECT_EQ(0, DaysInMonth(2026, -3));
}

TEST(CalendarArithmeticTest, FirstWeekdays) {
    EXPECT_EQ(2, FirstWeekdayOfMonth(2026, 12));  // Tuesday
    EXPECT_EQ(4, FirstWeekdayOfMonth(2024, 2));   // Thursday
    EXPECT_EQ(1, FirstWeekdayOfMonth(2100, 2));   // Monday
    EXPECT_EQ(3, FirstWeekdayOfMonth(2000, 3));   // Wednesday, after a leap February
    EXPECT_EQ(1, FirstWeekdayOfMonth(1, 1));      // Monday, 1 January of year 1
    EXPECT_EQ(4, FirstWeekdayOfMonth(2026, 1));   // Thursday
    for (int month = -2; month <= 14; ++month) {
        int weekday = FirstWeekdayOfMonth(2026, month);
        EXPECT_GE(weekday, 0);
        EXPECT_LE(weekday, 6);
    }
}

TEST(CalendarArithmeticTest, EveryMonthFollowsThePrevious) {
    for (int year = 1999; year <= 2101; ++year)
        for (int month = 1; month < 12; ++month)
            ASSERT_EQ((FirstWeekdayOfMonth(year, month) + DaysInMonth(year, month)) % 7,
                      FirstWeekdayOfMonth(year, month + 1))
                << year << "-" << month;
}

class SpecialDaysTest : public ::testing::Test {
protected:
    SpecialDays Load(const std::string& text) {
        WriteFile(path, text);
        SpecialDays days;
        EXPECT_EQ(1, LoadSpecialDays(path, days));
        return days;
    }

    ScratchDir dir;
    std::string path = dir.File("xdaylist.txt");
};

TEST_F(SpecialDaysTest, HolidaysMarkedDaysAndComments) {
    SpecialDays days = Load("// holidays\n1.1-New Year\n*12.24-party\n12.25-x\n//5.5-not read\n");
    EXPECT_EQ(3u, days.size());
    EXPECT_EQ("New Year\n", days.at("1.1"));
    EXPECT_EQ("party\n", days.at("*12.24"));
    EXPECT_EQ("x\n", days.at("12.25"));
    EXPECT_EQ(0u, days.count("//5.5"));
}

TEST_F(SpecialDaysTest, KeysMustMatchExactly) {
    SpecialDays days = Load("05.05-x\n5.5 -x\n 5.6-x\n");
    EXPECT_EQ(0u, days.count("5.5"));
    EXPECT_EQ(0u, days.count("5.6"));
    EXPECT_EQ(1u, days.count("05.05"));
    EXPECT_EQ(1u, days.count("5.5 "));
    EXPECT_EQ(1u, days.count(" 5.6"));
}

TEST_F(SpecialDaysTest, MinusSignsSplitAndEmptyPiecesAreSkipped) {
    SpecialDays days = Load("--3.3--spring-day\n4.4-\n6.6\n---\n---");
    EXPECT_EQ("spring", days.at("3.3"));
    EXPECT_EQ("\n", days.at("4.4"));
    EXPECT_EQ("", days.at("6.6\n")) << "a line without a minus keeps its line break in the key";
    EXPECT_EQ(0u, days.count("6.6"));
    EXPECT_EQ("", days.at("\n")) << "minus signs then a line break: the break is the key";
    EXPECT_EQ(4u, days.size()) << "minus signs alone add nothing";
}

TEST_F(SpecialDaysTest, LaterLineWinsAndCommentNeedsTwoSlashes) {
    SpecialDays days = Load("8.15-first\n8.15-second\n/8.16-x\n");
    EXPECT_EQ("second\n", days.at("8.15"));
    EXPECT_EQ("x\n", days.at("/8.16"));
}

TEST_F(SpecialDaysTest, LongLinesAreReadInPiecesOf99) {
    std::string text(120, 'a');
    SpecialDays days = Load("9.9-" + text + "\n10.10-y\n");
    EXPECT_EQ(std::string(95, 'a'), days.at("9.9"));
    EXPECT_EQ(1u, days.count(std::string(25, 'a') + "\n")) << "the rest of the line reads as a line of its own";
    EXPECT_EQ("y\n", days.at("10.10"));
}

TEST_F(SpecialDaysTest, CrLfLinesAndNoFinalLineBreak) {
    SpecialDays days = Load("1.1-a\r\n2.2-b");
    EXPECT_EQ(1u, days.count("1.1"));
    EXPECT_EQ("b", days.at("2.2"));
}

TEST_F(SpecialDaysTest, MissingFileLeavesTheMapAlone) {
    SpecialDays days{{"1.1", "kept"}};
    EXPECT_EQ(0, LoadSpecialDays(dir.File("absent.txt"), days));
    EXPECT_EQ(1u, days.size());
    EXPECT_EQ(0, LoadSpecialDays(dir.path(), days)) << "a folder of that name is no file";
}

TEST_F(SpecialDaysTest, BinaryJunkDoesNotCrash) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
    junk[100] = '\0';
    WriteFile(path, junk);
    SpecialDays days;
    EXPECT_EQ(1, LoadSpecialDays(path, days));
}
