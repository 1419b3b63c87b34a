// The calendar overlay on a real canvas: bars, day numbers right to left, colours, today's marker.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>

#include "composer/calendar.h"
#include "composer/text.h"
#include "support/test_support.h"

using testing_support::ScratchDir;

namespace {

enum Ink { kNone, kWhite, kBlue, kRed, kYellow, kGreen };

Ink Classify(const Gdiplus::Color& c) {
    int r = c.GetR(), g = c.GetG(), b = c.GetB();
    if (r > 200 && g > 200 && b > 220) return kWhite;
    if (r > 200 && g > 200 && b > 120 && b < 190) return kYellow;
    if (r > 180 && g < 70 && b < 70) return kRed;
    if (b > 180 && r < 70 && g < 70) return kBlue;
    if (g > 180 && r < 70 && b < 70) return kGreen;
    return kNone;
}

const char* InkName(int ink) {
    static const char* names[] = {"none", "white", "blue", "red", "yellow", "green"};
    return names[ink];
}

class CalendarTest : public ::testing::Test {
protected:
    CalendarTest() : canvas(1024, 768, PixelFormat24bppRGB), graphics(&canvas) {
        graphics.Clear(Gdiplus::Color(255, 100, 100, 100));
        env.m_exePath = dir.path();  // no red.png here
        env.ymfontname = env.ddfontname = "Georgia";
        env.isbold1 = env.isbold2 = 1;
        env.whitedaycolor = RGB(255, 255, 255);
        env.bluedaycolor = RGB(0, 0, 255);
        env.reddaycolor = RGB(255, 0, 0);
        env.yymmcolor = RGB(0, 255, 0);
    }

    void Draw(int year, int month, int day) {
        EXPECT_TRUE(DrawCalendar(graphics, wa, env, days, fw::LocalDate{year, month, day, 0}));
    }

    // Pixels of each ink in columns [left, right) and rows [top, bottom).
    std::map<int, int> Inks(int left, int right, int top, int bottom) {
        std::map<int, int> count;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                if (x < 0 || y < 0 || x >= 1024 || y >= 768) continue;
                Gdiplus::Color c;
                canvas.GetPixel(x, y, &c);
                Ink ink = Classify(c);
                if (ink != kNone) ++count[ink];
            }
        return count;
    }

    // Right edge of each day's text: the last day ends 10 pixels before the bar's end, then 26 pixels
    // per two-digit day and 20 per one-digit day.
    std::map<int, int> RightEdges(int days) const {
        std::map<int, int> edges;
        int right = wa.x + wa.width - 10;
        for (int d = days; d >= 1; --d) {
            edges[d] = right;
            right -= d >= 10 ? 26 : 20;
        }
        return edges;
    }

    int DayTop() const { return wa.y + wa.height - 44; }
    int Blue(int x, int y) {
        Gdiplus::Color c;
        canvas.GetPixel(x, y, &c);
        return c.GetB();
    }

    ::testing::AssertionResult DayHasInk(int day, int right, Ink expected) {
        auto inks = Inks(right - (day >= 10 ? 22 : 16), right, DayTop() - 2, DayTop() + 18);
        if (inks[expected] < 4)
            return ::testing::AssertionFailure() << "day " << day << " has " << inks[expected] << " "
                                                 << InkName(expected) << " pixels";
        for (auto& entry : inks)
            if (entry.first != expected && entry.second > 0)
                return ::testing::AssertionFailure() << "day " << day << " has " << entry.second << " "
                                                     << InkName(entry.first) << " pixels, expected only "
                                                     << InkName(expected);
        return ::testing::AssertionSuccess();
    }

    ScratchDir dir;
    EnvSettings env;
    SpecialDays days;
    fw::WorkArea wa{0, 0, 1024, 738};
    Gdiplus::Bitmap canvas;
    Gdiplus::Graphics graphics;
};

TEST_F(CalendarTest, December2026WeekdaysHolidayAndMarkedDay) {
    days = {{"12.25", "x\n"}, {"*12.24", "x\n"}, {"1.1", "x\n"}, {"*1.2", "x\n"}};
    Draw(2026, 12, 8);

    auto edges = RightEdges(31);
    for (int d = 1; d <= 31; ++d) {
        Ink expected = kWhite;
        if (d == 5 || d == 12 || d == 19 || d == 26) expected = kBlue;
        if (d == 6 || d == 13 || d == 20 || d == 27 || d == 25) expected = kRed;
        if (d == 24) expected = kYellow;
        EXPECT_TRUE(DayHasInk(d, edges[d], expected));
    }
}

// The last day ends 10 pixels before the bar's end, nothing lies left of the first; the bars fade
// from clear to dark; the year and month are in their colour inside their bar.
TEST_F(CalendarTest, DaysBarsAndYearMonthEachInTheirPlace) {
    Draw(2026, 12, 8);
    const int top = DayTop();
    auto inside = Inks(1024 - 22, 1024 - 10, top, top + 16);
    EXPECT_GT(inside[kWhite], 4);
    EXPECT_TRUE(Inks(1024 - 10, 1024, top - 2, top + 18).empty());
    // Nothing left of the first day (at 1024 - 10 - 22 * 26 - 8 * 20).
    const int firstRight = 1024 - 10 - 22 * 26 - 8 * 20;
    EXPECT_GT(Inks(firstRight - 16, firstRight, top, top + 16)[kWhite], 4);
    EXPECT_TRUE(Inks(1024 - 800, firstRight - 18, top - 2, top + 18).empty());

    EXPECT_NEAR(100, Blue(1024 - 800 + 1, DayTop() + 8), 3) << "the day bar's left end is clear";
    EXPECT_LT(Blue(1024 - 3, DayTop() + 8), 25) << "its right end is nearly black";
    EXPECT_EQ(100, Blue(1024 - 800 - 2, DayTop() + 8));
    EXPECT_EQ(100, Blue(1024 - 800 + 1, DayTop() + 17)) << "the bar is 16 pixels high";

    EXPECT_NEAR(100, Blue(1024 - 199, 738 - 82 + 2), 3);
    EXPECT_LT(Blue(1024 - 3, 738 - 82 + 2), 25);
    EXPECT_EQ(100, Blue(1024 - 100, 738 - 82 - 2));

    EXPECT_GT(Inks(1024 - 200, 1024 - 10, 738 - 82, 738 - 52)[kGreen], 100);
    EXPECT_EQ(0, Inks(0, 1024, 0, 738 - 82)[kGreen]);
    EXPECT_EQ(0, Inks(1024 - 10, 1024, 738 - 82, 738 - 52)[kGreen]);
}

TEST_F(CalendarTest, TodayMarkerOverTodaysNumber) {
    env.m_exePath = testing_support::BinDir();
    Draw(2026, 12, 8);
    auto edges = RightEdges(31);
    const int top = DayTop();
    // The marker's 32 x 32 square starts 24 pixels left of a one-digit day's right edge, 6 above the bar.
    auto around = Inks(edges[8] - 24, edges[8] + 8, top - 6, top);
    EXPECT_GT(around[kRed], 5) << "the ring shows above the bar around the 8th";
    EXPECT_TRUE(Inks(0, edges[8] - 26, top - 8, top).empty());
    EXPECT_TRUE(Inks(edges[8] + 10, 1024, top - 8, top).empty());
    EXPECT_GT(Inks(edges[8] - 16, edges[8], top, top + 16)[kWhite], 0) << "the number still shows";

    // Over a two-digit day it starts 29 pixels left of the day's right edge.
    graphics.Clear(Gdiplus::Color(255, 100, 100, 100));
    Draw(2026, 12, 20);
    EXPECT_GT(Inks(edges[20] - 29, edges[20] + 3, top - 6, top)[kRed], 5);
    EXPECT_TRUE(Inks(edges[20] + 5, 1024, top - 8, top).empty());
}

TEST_F(CalendarTest, LeapFebruaryHas29AndCenturyFebruary28) {
    Draw(2024, 2, 1);
    auto edges = RightEdges(29);
    EXPECT_TRUE(DayHasInk(29, edges[29], kWhite));  // Thursday
    EXPECT_TRUE(DayHasInk(3, edges[3], kBlue));
    EXPECT_TRUE(DayHasInk(4, edges[4], kRed));
    EXPECT_TRUE(DayHasInk(1, edges[1], kWhite));
    EXPECT_EQ(1024 - 10 - 20 * 26 - 8 * 20, edges[1]);
    EXPECT_TRUE(Inks(1024 - 800, edges[1] - 18, DayTop() - 2, DayTop() + 18).empty());

    graphics.Clear(Gdiplus::Color(255, 100, 100, 100));
    Draw(2100, 2, 1);
    edges = RightEdges(28);
    EXPECT_TRUE(DayHasInk(28, edges[28], kRed));  // Sunday
    EXPECT_TRUE(DayHasInk(6, edges[6], kBlue));
    EXPECT_TRUE(DayHasInk(1, edges[1], kWhite));
    EXPECT_TRUE(Inks(1024 - 800, edges[1] - 18, DayTop() - 2, DayTop() + 18).empty());
}

TEST_F(CalendarTest, NarrowWorkAreaAndUnknownFontStillDraw) {
    wa = {0, 0, 500, 400};
    env.ddfontname = "No Such Font Family";
    env.ymfontname = "";
    Draw(2026, 12, 8);
    auto edges = RightEdges(31);
    EXPECT_TRUE(DayHasInk(31, edges[31], kWhite));
    EXPECT_TRUE(DayHasInk(27, edges[27], kRed));
    EXPECT_GT(Inks(500 - 200, 500 - 10, 400 - 82, 400 - 52)[kGreen], 50);
}

TEST_F(CalendarTest, MonthOutOfRangeDrawsNoDays) {
    Draw(2026, 13, 8);
    EXPECT_TRUE(Inks(1024 - 800, 1024, DayTop() - 2, DayTop() + 18).empty());
}

TEST(CalendarFontTest, NamedFamilyOrGenericFallbackAlwaysMakesAUsableFont) {
    for (const char* family : {"Georgia", "Tahoma", "No Such Font Family", ""}) {
        auto font = MakeFont(family, 16, Gdiplus::FontStyleBold | Gdiplus::FontStyleItalic);
        ASSERT_TRUE(font) << family;
        EXPECT_EQ(Gdiplus::Ok, font->GetLastStatus()) << family;
        Gdiplus::FontFamily chosen;
        EXPECT_EQ(Gdiplus::Ok, font->GetFamily(&chosen)) << family;
        WCHAR name[LF_FACESIZE] = {};
        chosen.GetFamilyName(name);
        std::printf("font: \"%s\" -> \"%ls\"\n", family, name);
        EXPECT_NE(L'\0', name[0]) << family;
    }
}

}  // namespace
