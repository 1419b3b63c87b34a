// Monitors at different scales: on the composed wallpaper the calendar, the path text, the photo
// and its frame measure half as large again on a 144-DPI monitor as on a 96-DPI one beside it.
#include "drawing/composer_fixture.h"

#include <cmath>
#include <tuple>
#include <vector>

#include "framework/locked_bits.h"

using namespace composer_testing;

namespace {

const Gdiplus::Color kPhoto(255, 220, 30, 30);

fw::MonitorInfo Monitor(LONG left, LONG width, LONG height, bool primary, UINT dpi) {
    return {RECT{left, 0, left + width, height}, RECT{left, 0, left + width, height - 40}, primary, dpi};
}

// The wallpaper's pixels in virtual-screen coordinates, read once.
class Shot {
public:
    Shot(Gdiplus::Bitmap& bitmap, const RECT& bounds) : m_bounds(bounds), m_width(static_cast<int>(bitmap.GetWidth())) {
        fw::LockedBits bits(bitmap, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB);
        if (!bits) return;
        for (int y = 0; y < bits.Height(); ++y)
            for (int x = 0; x < bits.Width(); ++x) {
                const uint8_t* p = bits.Row(y) + x * 3;
                m_pixels.push_back({p[2], p[1], p[0]});
            }
    }
    bool Read() const { return !m_pixels.empty(); }
    Rgb At(LONG x, LONG y) const {
        return m_pixels[static_cast<size_t>((y - m_bounds.top) * m_width + (x - m_bounds.left))];
    }

private:
    RECT m_bounds;
    int m_width;
    std::vector<Rgb> m_pixels;
};

bool Shaded(Rgb p) { return p.b + 50 < 115; }  // darker than the background under a bar
bool Light(Rgb p) { return p.r > 150 && p.g > 150 && p.b > 150; }
bool Green(Rgb p) { return p.g > 160 && p.r < 100 && p.b < 100; }
bool Dark(Rgb p) { return p.r + p.g + p.b < 120; }
bool IsBackground(Rgb p) { return testing_support::Near(p, Rgb(72, 85, 115), 6); }

// What one monitor's overlays and photo measure.
struct Measured {
    std::vector<int> bars;  // up the work area's right edge from its bottom: gap, bar, gap, bar, ...
    int pathText = 0;       // from the work area's right edge to the path text's leftmost light pixel
    int dayText = 0;        // the same for the days
    int monthText = 0;      // rows holding the year-month's green
    int photo = 0;          // the photo's width through the monitor's centre
    int frame = 0;          // the frame's width at the photo's left edge
};

// From the right edge to the leftmost light pixel in rows [top, bottom) of the work area.
int TextReach(const Shot& shot, const RECT& work, LONG top, LONG bottom) {
    for (LONG x = work.left; x < work.right; ++x)
        for (LONG y = top; y < bottom; ++y)
            if (Light(shot.At(x, y))) return work.right - x;
    return 0;
}

Measured Measure(const Shot& shot, const fw::MonitorInfo& monitor) {
    Measured m;
    const RECT& work = monitor.work;
    // Runs of shaded and clear pixels up the column just inside the right edge, where no text reaches.
    bool shaded = false;
    int run = 0;
    for (LONG y = work.bottom - 1; y >= work.bottom - 200; --y) {
        if (Shaded(shot.At(work.right - 3, y)) == shaded) {
            ++run;
            continue;
        }
        m.bars.push_back(run);
        shaded = !shaded;
        run = 1;
    }
    // The path bar is the first bar from the bottom, the day bar the second.
    if (m.bars.size() >= 2) {
        const LONG pathBottom = work.bottom - m.bars[0], pathTop = pathBottom - m.bars[1];
        m.pathText = TextReach(shot, work, pathTop, pathBottom);
        if (m.bars.size() >= 4) {
            const LONG dayBottom = pathTop - m.bars[2], dayTop = dayBottom - m.bars[3];
            m.dayText = TextReach(shot, work, dayTop, dayBottom);
        }
    }
    LONG first = -1, last = -1;
    for (LONG y = work.bottom - 200; y < work.bottom; ++y)
        for (LONG x = work.right - 400; x < work.right; ++x)
            if (Green(shot.At(x, y))) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    m.monthText = first < 0 ? 0 : last - first + 1;

    const LONG row = (monitor.rect.top + monitor.rect.bottom) / 2;
    LONG left = monitor.rect.left;
    while (left < monitor.rect.right && IsBackground(shot.At(left, row))) ++left;
    LONG right = left;
    while (right < monitor.rect.right && !IsBackground(shot.At(right, row))) ++right;
    m.photo = right - left;
    // The frame reaches from the photo's edge to the black line around the picture inside it.
    while (left + m.frame < right && !Dark(shot.At(left + m.frame, row))) ++m.frame;
    return m;
}

::testing::AssertionResult Grown(const char* what, double small, double large, double ratio, double slack) {
    if (small > 0 && std::abs(large - small * ratio) <= slack) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << ": " << large << " is not " << ratio << " times " << small;
}

// The larger monitor's measures are `ratio` times the smaller's: bars and the photo to the
// rounded pixel, text within the few per cent that hinting moves a glyph.
void ExpectGrown(const Measured& small, const Measured& large, double ratio, bool calendar) {
    const size_t runs = calendar ? 6 : 2;
    ASSERT_GE(small.bars.size(), runs);
    ASSERT_GE(large.bars.size(), runs);
    for (size_t i = 0; i < runs; ++i) EXPECT_TRUE(Grown("bar run", small.bars[i], large.bars[i], ratio, 1));
    EXPECT_TRUE(Grown("photo", small.photo, large.photo, ratio, 1));
    EXPECT_TRUE(Grown("frame", small.frame, large.frame, ratio, 1));
    EXPECT_TRUE(Grown("path text", small.pathText, large.pathText, ratio, 0.07 * large.pathText));
    if (calendar) {
        EXPECT_TRUE(Grown("days", small.dayText, large.dayText, ratio, 0.05 * large.dayText));
        EXPECT_TRUE(Grown("year and month", small.monthText, large.monthText, ratio, 3));
    }
}

class MonitorScaleTest : public ComposerTest {
protected:
    void SetUp() override {
        ComposerTest::SetUp();
        env.iscalender = env.ispath = 1;
        env.isframe = 1;
        env.isshadow = env.isrotate = env.ismask = 0;
        env.framecolor = RGB(30, 200, 40);
        env.yymmcolor = RGB(0, 255, 0);
        env.whitedaycolor = env.bluedaycolor = env.reddaycolor = RGB(255, 255, 255);
        env.imagepos = 0;
        AddPhoto("a.png", 1200, 900, kPhoto);  // larger than it is drawn on any of them
        AddPhoto("b.png", 1200, 900, kPhoto);
    }
    // Composes on the monitors and measures each, in the order given.
    std::vector<Measured> ComposeAndMeasure(const std::vector<fw::MonitorInfo>& monitors) {
        UseMonitors(monitors);
        composer->RequestFreshBackground();
        Compose();
        std::vector<Measured> measured;
        auto picture = Wallpaper();
        if (!picture) return measured;
        const Shot shot(*picture, env.multimonitor ? bounds : RECT{0, 0, 1920, 1080});
        if (!shot.Read()) return measured;
        for (const fw::MonitorInfo& m : monitors)
            if (env.multimonitor || m.primary) measured.push_back(Measure(shot, m));
        return measured;
    }
};

TEST_F(MonitorScaleTest, A144DpiMonitorBesideA96DpiOneShowsEverythingHalfAsLargeAgain) {
    // The primary at 96 with one at 144 on its right, then the other way round with it on the left.
    const std::vector<Measured> first = ComposeAndMeasure({Monitor(0, 1920, 1080, true, 96), Monitor(1920, 1920, 1080, false, 144)});
    ASSERT_EQ(2u, first.size());
    const std::vector<Measured> second =
        ComposeAndMeasure({Monitor(0, 1920, 1080, true, 144), Monitor(-1920, 1920, 1080, false, 96)});
    ASSERT_EQ(2u, second.size());

    // At 96 DPI what the drawing has always measured (to the pixel an edge blends): gaps and bars
    // up from the work area's bottom, the 400-pixel photo and its 7-pixel frame.
    Measured plain;
    plain.bars = {8, 12, 8, 16, 8, 30};
    plain.photo = 400;
    plain.frame = 7;
    plain.pathText = first[0].pathText;
    plain.dayText = first[0].dayText;
    plain.monthText = first[0].monthText;
    ExpectGrown(plain, first[0], 1, true);

    for (const auto& [name, small, large] : {std::tuple{"secondary at 144", first[0], first[1]},
                                             std::tuple{"primary at 144", second[1], second[0]}}) {
        SCOPED_TRACE(name);
        ExpectGrown(small, large, 1.5, false);
    }
    // The calendar on the primary, at 96 in the first picture and at 144 in the second; none on the other.
    ExpectGrown(first[0], second[0], 1.5, true);
    EXPECT_EQ(0, first[1].dayText);
    EXPECT_EQ(0, second[1].monthText);

    // The primary's picture alone takes the primary's scale too.
    env.multimonitor = 0;
    const std::vector<Measured> alone = ComposeAndMeasure({Monitor(0, 1920, 1080, true, 144), Monitor(1920, 1920, 1080, false, 96)});
    ASSERT_EQ(1u, alone.size());
    EXPECT_EQ(second[0].bars, alone[0].bars);
    EXPECT_EQ(second[0].dayText, alone[0].dayText);
    EXPECT_EQ(second[0].photo, alone[0].photo);
}

TEST_F(MonitorScaleTest, ABarGrownWiderThanItsMonitorStaysOnIt) {
    // At 192 DPI the day bar and its days are 1600 pixels wide, the primary 1024: the monitor on
    // its left keeps its background there.
    UseMonitors({Monitor(0, 1024, 768, true, 192), Monitor(-1024, 1024, 768, false, 96)});
    Compose();
    auto picture = Wallpaper();
    ASSERT_TRUE(picture);
    const Shot shot(*picture, bounds);
    ASSERT_TRUE(shot.Read());
    const LONG dayBarTop = 728 - 88, dayBarBottom = dayBarTop + 32;
    EXPECT_TRUE(Shaded(shot.At(1020, dayBarTop + 16)));
    int spilled = 0;
    for (LONG y = dayBarTop; y < dayBarBottom; ++y)
        for (LONG x = -1024; x < 0; ++x) spilled += !IsBackground(shot.At(x, y));
    EXPECT_EQ(0, spilled);
}

TEST_F(MonitorScaleTest, ANewScaleStartsAFreshPictureRatherThanRedrawingTheOld) {
    env.isoverlap = 1;
    env.imagepos = 2;
    env.iscalender = env.ispath = 0;
    UseMonitors({Monitor(0, 1920, 1080, true, 96)});
    Compose();
    Compose();
    ASSERT_EQ(2, composer->Pictures()[0].count);
    // The user gives the monitor 150 %: what would only redraw the overlays for a moved task bar
    // composes anew, without the photos of the old size; going back to them is no longer offered.
    UseMonitors({Monitor(0, 1920, 1080, true, 144)});
    composer->RedrawOverlays();
    EXPECT_EQ(1, composer->Pictures()[0].count);
    EXPECT_EQ(1u, composer->CurrentImages().size());
    EXPECT_FALSE(composer->GoBack());
}

}  // namespace
