// Sizes at a monitor's DPI: the calendar's and the path text's geometry and the photo size grow
// with the monitor's scale, and stay what they always were at 96 DPI.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "composer/calendar.h"
#include "composer/placement.h"
#include "state/settings.h"

namespace {

const fw::WorkArea kWork{100, 50, 1920, 1040};  // right edge 2020, bottom 1090

// Every length the overlays are built from, in one row: rectangles as offsets from the work area's
// bottom-right corner, so that the row scales as a whole.
std::vector<double> Lengths(UINT dpi) {
    const int right = kWork.x + kWork.width, bottom = kWork.y + kWork.height;
    const CalendarGeometry c = CalendarLayout(kWork, dpi);
    const PathTextGeometry p = PathTextLayout(kWork, dpi);
    std::vector<double> row;
    for (const Gdiplus::Rect& r : {c.monthBar, c.dayBar, p.bar}) {
        row.push_back(right - r.X);
        row.push_back(bottom - r.Y);
        row.push_back(r.Width);
        row.push_back(r.Height);
    }
    for (double v : {c.monthFontSize, c.dayFontSize, c.twoDigitDay, c.oneDigitDay, c.spacing.margin, p.fontSize,
                     p.spacing.margin})
        row.push_back(v);
    for (int v : {c.markerSize, c.markerTwoDigits, c.markerOneDigit, c.markerRaise}) row.push_back(v);
    return row;
}

// At 96 DPI the overlays keep their pixel sizes; at every other scale each length grows with it, to
// the nearest pixel.
TEST(MonitorScaleTest, AtNinetySixDpiTheOverlaysKeepTheirPixelSizesAndEveryLengthGrowsWithTheScale) {
    // Month bar, day bar and path bar (offset from the right, from the bottom, width, height), the
    // fonts and day widths, the margins and the marker: the sizes the drawing tests' pictures hold.
    const std::vector<double> expected{200, 82, 200, 30, 800, 44, 800, 16, 600, 20, 600, 12,
                                       30,  16, 16,  10, 10,  10, 10,  32, 29, 24,  6};
    EXPECT_EQ(expected, Lengths(96));
    EXPECT_EQ(expected, Lengths(0)) << "no DPI counts as 96";
    EXPECT_EQ(1, CalendarLayout(kWork, 96).spacing.shadow);
    EXPECT_EQ(1, PathTextLayout(kWork, 96).spacing.shadow);

    const std::vector<double> base = Lengths(96);
    struct Case {
        UINT dpi;
        double scale;
        Gdiplus::REAL shadow;  // whole pixels, so that the text stays crisp
    } cases[] = {{120, 1.25, 1}, {144, 1.5, 2}, {168, 1.75, 2}, {192, 2.0, 2}, {240, 2.5, 3}, {480, 5.0, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const std::vector<double> scaled = Lengths(c.dpi);
        ASSERT_EQ(base.size(), scaled.size());
        for (size_t i = 0; i < base.size(); ++i) EXPECT_LE(std::abs(scaled[i] - base[i] * c.scale), 0.5) << "length " << i;
        EXPECT_EQ(c.shadow, CalendarLayout(kWork, c.dpi).spacing.shadow);
        EXPECT_EQ(c.shadow, PathTextLayout(kWork, c.dpi).spacing.shadow);
        // The bars stay flush with the work area's right edge, the day bar below the month bar.
        const CalendarGeometry g = CalendarLayout(kWork, c.dpi);
        EXPECT_EQ(kWork.x + kWork.width, g.dayBar.X + g.dayBar.Width);
        EXPECT_LE(g.monthBar.Y + g.monthBar.Height, g.dayBar.Y);
        const PathTextGeometry p = PathTextLayout(kWork, c.dpi);
        EXPECT_LE(g.dayBar.Y + g.dayBar.Height, p.bar.Y);
        EXPECT_LE(p.bar.Y + p.bar.Height, kWork.y + kWork.height);
    }
}

TEST(MonitorScaleTest, PhotoSizeFollowsTheScaleWithinTheSettingsLimit) {
    struct Case {
        int picmaxsize;
        UINT dpi;
        int expected;
    } cases[] = {
        {400, 96, 400},     {400, 144, 600},  {400, 120, 500},   {333, 144, 500},  // 499.5 rounds up
        {400, 0, 400},      {1, 144, 2},      {400, 192, 800},
        {8000, 144, kLargestPicture},  // held at the largest size the settings take
        {kLargestPicture, 96, kLargestPicture},
        {400, 100000, 4000},           // a damaged DPI is held at ten times 96
        {400, 1, 200},                 // and at half of it
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, PhotoMaxSizeAt(c.picmaxsize, c.dpi)) << c.picmaxsize << " at " << c.dpi;
}

}  // namespace
