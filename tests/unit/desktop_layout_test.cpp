// The desktop's geometry: which monitors get a picture, the canvas over them, the gaps between
// them and the monitor a user position belongs to.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "composer/layout.h"

namespace {

fw::MonitorInfo Monitor(LONG left, LONG top, LONG width, LONG height, bool primary = false, LONG bar = 0) {
    return {RECT{left, top, left + width, top + height}, RECT{left, top, left + width, top + height - bar}, primary};
}

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }

LONG64 Area(const std::vector<RECT>& rects) {
    LONG64 sum = 0;
    for (const RECT& r : rects) sum += static_cast<LONG64>(r.right - r.left) * (r.bottom - r.top);
    return sum;
}

TEST(DesktopLayout, OneMonitorOrTheOptionOffGivesThePrimaryScreenAlone) {
    const fw::WorkArea wa{0, 0, 1024, 738};
    const std::vector<fw::MonitorInfo> two{Monitor(0, 0, 1920, 1080, true), Monitor(1920, 0, 1920, 1080)};
    for (const auto& [monitors, perMonitor] :
         {std::pair{std::vector<fw::MonitorInfo>{Monitor(0, 0, 1024, 768, true)}, true},
          std::pair{two, false}, std::pair{std::vector<fw::MonitorInfo>{}, true}}) {
        const DesktopLayout layout = MakeDesktopLayout(monitors, perMonitor, 1024, 768, wa);
        EXPECT_FALSE(layout.IsSpanned());
        EXPECT_TRUE(Same(RECT{0, 0, 1024, 768}, layout.bounds));
        ASSERT_EQ(1u, layout.monitors.size());
        EXPECT_TRUE(Same(RECT{0, 0, 1024, 738}, layout.monitors[0].work));
        EXPECT_TRUE(layout.monitors[0].primary);
    }
}

TEST(DesktopLayout, CanvasCoversEveryMonitorWithAnAreaPrimaryFirstThenLeftToRight) {
    struct Case {
        const char* name;
        std::vector<fw::MonitorInfo> monitors;
        RECT bounds;
        std::vector<LONG> lefts;  // in the order they take photos
    };
    const std::vector<Case> cases{
        {"side by side", {Monitor(1920, 0, 1920, 1080), Monitor(0, 0, 1920, 1080, true)}, {0, 0, 3840, 1080}, {0, 1920}},
        {"primary on the right", {Monitor(0, 0, 1920, 1080, true), Monitor(-1920, 0, 1920, 1080)},
         {-1920, 0, 1920, 1080}, {0, -1920}},
        {"stacked", {Monitor(0, -1080, 1920, 1080), Monitor(0, 0, 1920, 1080, true)}, {0, -1080, 1920, 1080}, {0, 0}},
        {"1080p beside 1440p", {Monitor(0, 0, 1920, 1080, true), Monitor(1920, -360, 2560, 1440)},
         {0, -360, 4480, 1080}, {0, 1920}},
        {"three, one portrait", {Monitor(2560, 0, 1440, 2560), Monitor(0, 0, 2560, 1440, true), Monitor(-1920, 0, 1920, 1080)},
         {-1920, 0, 4000, 2560}, {0, -1920, 2560}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DesktopLayout layout = MakeDesktopLayout(c.monitors, true, 1, 1, {});
        EXPECT_TRUE(layout.IsSpanned());
        EXPECT_TRUE(Same(c.bounds, layout.bounds));
        ASSERT_EQ(c.lefts.size(), layout.monitors.size());
        EXPECT_TRUE(layout.monitors[0].primary);
        for (size_t i = 0; i < c.lefts.size(); ++i) EXPECT_EQ(c.lefts[i], layout.monitors[i].rect.left);
        // The canvas starts at the virtual screen's corner.
        const RECT primary = layout.ToCanvas(layout.monitors[0].rect);
        EXPECT_EQ(-c.bounds.left, primary.left);
        EXPECT_EQ(-c.bounds.top, primary.top);
    }

    // Monitors without area (none, no width, no height) are left out.
    const DesktopLayout layout = MakeDesktopLayout({Monitor(1920, 0, 1920, 1080), Monitor(0, 0, 0, 0), Monitor(0, 0, 0, 1080),
                                                    Monitor(0, 0, 1920, 0), Monitor(0, 0, 1920, 1080)},
                                                   true, 1920, 1080, {});
    ASSERT_EQ(2u, layout.monitors.size());
    EXPECT_EQ(1, std::count_if(layout.monitors.begin(), layout.monitors.end(),
                               [](const fw::MonitorInfo& m) { return m.primary; }));
    EXPECT_TRUE(layout.monitors[0].primary);
}

TEST(DesktopLayout, GapsAreWhatNoMonitorCovers) {
    // Side by side: no gap.
    std::vector<fw::MonitorInfo> two{Monitor(0, 0, 1920, 1080, true), Monitor(1920, 0, 1920, 1080)};
    EXPECT_TRUE(GapRects(BoundingRect(two), two).empty());

    // A 1080p beside a 1440p, bottoms aligned, 100 pixels apart: a strip above the small one and
    // the space between them.
    std::vector<fw::MonitorInfo> apart{Monitor(0, 0, 1920, 1080, true), Monitor(2020, -360, 2560, 1440)};
    const RECT bounds = BoundingRect(apart);
    const std::vector<RECT> gaps = GapRects(bounds, apart);
    const LONG64 covered = 1920LL * 1080 + 2560LL * 1440;
    EXPECT_EQ(static_cast<LONG64>(bounds.right - bounds.left) * (bounds.bottom - bounds.top) - covered, Area(gaps));
    for (const RECT& gap : gaps)
        for (const fw::MonitorInfo& m : apart) {
            RECT overlap{};
            EXPECT_FALSE(::IntersectRect(&overlap, &gap, &m.rect)) << gap.left << "," << gap.top;
        }
    // Three with one in portrait: everything beside the two landscape ones below their bottoms.
    std::vector<fw::MonitorInfo> three{Monitor(0, 0, 2560, 1440, true), Monitor(-1920, 0, 1920, 1080),
                                       Monitor(2560, 0, 1440, 2560)};
    const RECT all = BoundingRect(three);
    EXPECT_EQ(5920LL * 2560 - (2560LL * 1440 + 1920LL * 1080 + 1440LL * 2560), Area(GapRects(all, three)));
}

TEST(DesktopLayout, PositionBelongsToTheMonitorHoldingItsCentreOrTheNearestAndIsInItsCoordinatesAndInView) {
    const std::vector<fw::MonitorInfo> monitors{Monitor(0, 0, 1920, 1080, true), Monitor(-1920, 0, 1920, 1080)};
    struct Case {
        RECT position;
        int monitor;
    } cases[] = {
        {{100, 100, 500, 500}, 0},
        {{-500, 100, -100, 500}, 1},
        {{-300, 100, 100, 500}, 1},      // centre at -100: left of the primary
        {{-100, 100, 300, 500}, 0},      // centre at 100
        {{2500, 100, 2900, 500}, 0},     // on a monitor right of the primary that is gone
        {{-3000, 2000, -2600, 2400}, 1},  // below left, off every monitor
    };
    for (const Case& c : cases) EXPECT_EQ(c.monitor, MonitorOfPosition(monitors, c.position)) << c.position.left;
    EXPECT_EQ(-1, MonitorOfPosition({}, RECT{0, 0, 10, 10}));
    EXPECT_EQ(-1, MonitorHolding(monitors, POINT{1920, 0}));  // right edges are outside
    EXPECT_EQ(1, MonitorHolding(monitors, POINT{-1, 1079}));

    const RECT left{-1920, 0, 0, 1080};
    const RECT onIt = PositionOnMonitor(RECT{-1800, 100, -1400, 500}, left);
    EXPECT_TRUE(Same(RECT{120, 100, 520, 500}, onIt));
    // On a vanished monitor further left: pulled just into view, its size kept.
    const RECT pulled = PositionOnMonitor(RECT{-3000, 100, -2600, 500}, left);
    EXPECT_TRUE(Same(RECT{0, 100, 400, 500}, pulled));
    const RECT below = PositionOnMonitor(RECT{-1000, 1500, -600, 1900}, left);
    EXPECT_TRUE(Same(RECT{920, 680, 1320, 1080}, below));
}

TEST(DesktopLayout, EqualityComparesMonitorsWorkAreasAndScalesAndOnlyAWorkAreaKeepsTheMonitors) {
    const DesktopLayout a = MakeDesktopLayout({Monitor(0, 0, 1920, 1080, true), Monitor(1920, 0, 1920, 1080)}, true, 1, 1, {});
    struct Case {
        const char* change;
        void (*apply)(DesktopLayout&);
        bool sameMonitors;
    } cases[] = {
        {"nothing", [](DesktopLayout&) {}, true},
        {"a task bar", [](DesktopLayout& l) { l.monitors[1].work.bottom -= 40; }, true},
        {"the second's scale", [](DesktopLayout& l) { l.monitors[1].dpi = 144; }, false},
        {"the primary's scale", [](DesktopLayout& l) { l.monitors[0].dpi = 120; }, false},
        {"a resolution", [](DesktopLayout& l) { l.monitors[1].rect.right += 640; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        DesktopLayout b = a;
        c.apply(b);
        EXPECT_EQ(std::string(c.change) == "nothing", a == b);
        EXPECT_EQ(c.sameMonitors, SameMonitors(a, b));
    }
}

TEST(DesktopLayout, EachMonitorKeepsItsScaleAndThePrimarysPictureAloneTakesThePrimarys) {
    fw::MonitorInfo primary = Monitor(0, 0, 1920, 1080, true), side = Monitor(-1920, 0, 1920, 1080);
    primary.dpi = 144;
    side.dpi = 120;
    const DesktopLayout both = MakeDesktopLayout({side, primary}, true, 1920, 1080, {});
    ASSERT_EQ(2u, both.monitors.size());
    EXPECT_EQ(144u, both.monitors[0].dpi);
    EXPECT_EQ(120u, both.monitors[1].dpi);
    struct Case {
        const char* name;
        std::vector<fw::MonitorInfo> monitors;
        bool perMonitor;
        UINT dpi;
    } cases[] = {
        {"the option off", {side, primary}, false, 144},
        {"one monitor", {primary}, true, 144},
        {"no primary among them", {side}, true, 120},
        {"no monitors", {}, true, 96},
    };
    for (const Case& c : cases) {
        const DesktopLayout layout = MakeDesktopLayout(c.monitors, c.perMonitor, 1920, 1080, {});
        ASSERT_EQ(1u, layout.monitors.size()) << c.name;
        EXPECT_EQ(c.dpi, layout.monitors[0].dpi) << c.name;
    }
}

}  // namespace
