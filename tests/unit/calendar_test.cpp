// Calendar arithmetic and the xdaylist.txt rules.
#include <gtest/gtest.h>

#include <string>

#include "composer/calendar.h"
#include "support/test_support.h"

using namespace testing_support;

TEST(CalendarArithmeticTest, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2026));
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

// Known first weekdays, and every month starting the weekday after the previous one ended.
TEST(CalendarArithmeticTest, FirstWeekdaysAndEveryMonthFollowsThePrevious) {
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

// Keys are taken exactly as written, a later line wins, and a comment needs two slashes.
TEST_F(SpecialDaysTest, HolidaysMarkedDaysCommentsAndExactKeys) {
    SpecialDays days = Load("// holidays\n1.1-New Year\n*12.24-party\n12.25-x\n//5.5-not read\n05.05-x\n5.5 -x\n 5.6-x\n"
                            "8.15-first\n8.15-second\n/8.16-x\n");
    EXPECT_EQ(8u, days.size());
    EXPECT_EQ("New Year\n", days.at("1.1"));
    EXPECT_EQ("party\n", days.at("*12.24"));
    EXPECT_EQ("x\n", days.at("12.25"));
    EXPECT_EQ(0u, days.count("//5.5"));
    EXPECT_EQ(0u, days.count("5.5"));
    EXPECT_EQ(0u, days.count("5.6"));
    EXPECT_EQ(1u, days.count("05.05"));
    EXPECT_EQ(1u, days.count("5.5 "));
    EXPECT_EQ(1u, days.count(" 5.6"));
    EXPECT_EQ("second\n", days.at("8.15"));
    EXPECT_EQ("x\n", days.at("/8.16"));
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

TEST_F(SpecialDaysTest, LongLinesAreReadInPiecesOf99AndCrLfAndNoFinalLineBreakAreRead) {
    std::string text(120, 'a');
    SpecialDays days = Load("9.9-" + text + "\n10.10-y\n");
    EXPECT_EQ(std::string(95, 'a'), days.at("9.9"));
    EXPECT_EQ(1u, days.count(std::string(25, 'a') + "\n")) << "the rest of the line reads as a line of its own";
    EXPECT_EQ("y\n", days.at("10.10"));

    days = Load("1.1-a\r\n2.2-b");
    EXPECT_EQ(1u, days.count("1.1"));
    EXPECT_EQ("b", days.at("2.2"));
}

TEST_F(SpecialDaysTest, MissingFileLeavesTheMapAloneAndBinaryJunkDoesNotCrash) {
    SpecialDays kept{{"1.1", "kept"}};
    EXPECT_EQ(0, LoadSpecialDays(dir.File("absent.txt"), kept));
    EXPECT_EQ(1u, kept.size());
    EXPECT_EQ(0, LoadSpecialDays(dir.path(), kept)) << "a folder of that name is no file";

    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
    junk[100] = '\0';
    WriteFile(path, junk);
    SpecialDays days;
    EXPECT_EQ(1, LoadSpecialDays(path, days));
}
