// Several monitors: one canvas over the virtual screen, every monitor its own photo and collage,
// the gaps in the background colour, the calendar on the primary, the span style for the run.
#include "drawing/composer_fixture.h"

#include <set>

using namespace composer_testing;

namespace {

const Gdiplus::Color kPhotoColours[] = {kRed, kGreen, kBlue, kYellow, kWhite};

struct Layout {
    const char* name;
    std::vector<fw::MonitorInfo> monitors;  // primary first, then as they take photos
};

const std::vector<Layout>& Layouts() {
    static const std::vector<Layout> layouts{
        {"two side by side", {Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1024, 768)}},
        {"primary on the right", {Monitor(0, 0, 1024, 768, true), Monitor(-1280, 0, 1280, 1024)}},
        {"stacked", {Monitor(0, 0, 1024, 768, true), Monitor(0, -768, 1024, 768)}},
        {"1080p beside 1440p with a gap", {Monitor(0, 0, 1920, 1080, true), Monitor(2020, -360, 2560, 1440)}},
        {"three, one portrait",
         {Monitor(0, 0, 1280, 1024, true), Monitor(-1024, 0, 1024, 768), Monitor(1280, 0, 900, 1600)}},
    };
    return layouts;
}

class MonitorsTest : public ComposerTest {
protected:
    // A virtual-screen point's pixel on the composed wallpaper.
    static Rgb At(Gdiplus::Bitmap& shot, const RECT& bounds, LONG x, LONG y) {
        return PixelOf(shot, x - bounds.left, y - bounds.top);
    }
    Rgb At(Gdiplus::Bitmap& shot, LONG x, LONG y) const { return At(shot, bounds, x, y); }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    // Darker than the background: under a calendar or path bar.
    bool Shaded(Gdiplus::Bitmap& shot, LONG x, LONG y) const {
        const Rgb p = At(shot, x, y);
        return p.b + 50 < kBack.GetB();
    }
};

TEST_F(MonitorsTest, EveryLayoutShowsEachMonitorItsOwnPhotoGapsInTheBackgroundAndTheCalendarOnThePrimary) {
    env.iscalender = 1;
    env.ispath = 1;
    for (int i = 0; i < 5; ++i) AddPhoto("p" + std::to_string(i) + ".png", 400, 300, kPhotoColours[i]);
    const std::vector<std::string> images = catalogue.Images();
    for (const Layout& layout : Layouts()) {
        SCOPED_TRACE(layout.name);
        UseMonitors(layout.monitors);
        catalogue.Replace(catalogue.FolderEntries(), images);
        composer->RestartSelection();
        Compose();

        auto shot = Wallpaper();
        ASSERT_TRUE(shot);
        EXPECT_EQ(bounds.right - bounds.left, static_cast<LONG>(shot->GetWidth()));
        EXPECT_EQ(bounds.bottom - bounds.top, static_cast<LONG>(shot->GetHeight()));
        ASSERT_EQ(layout.monitors.size(), composer->Pictures().size());
        for (size_t i = 0; i < layout.monitors.size(); ++i) {
            const RECT& r = layout.monitors[i].rect;
            const POINT c = Centre(r);
            // Centred in its own monitor, 400 x 300: inside the photo and just outside it.
            EXPECT_TRUE(Near(At(*shot, c.x, c.y), kPhotoColours[i])) << "monitor " << i;
            EXPECT_TRUE(Near(At(*shot, c.x - 190, c.y - 140), kPhotoColours[i])) << "monitor " << i;
            EXPECT_TRUE(Near(At(*shot, c.x - 210, c.y), kBack)) << "monitor " << i;
            EXPECT_TRUE(Near(At(*shot, r.left + 5, r.top + 5), kBack)) << "monitor " << i;
            EXPECT_EQ(photos + "\\p" + std::to_string(i) + ".png", composer->Pictures()[i].path);
            // Its own path bar at the bottom right of its work area.
            const RECT& w = layout.monitors[i].work;
            EXPECT_TRUE(Shaded(*shot, w.right - 3, w.bottom - 14)) << "monitor " << i;
        }
        // Every part of the canvas that no monitor covers has the background colour.
        for (RECT gap : GapRects(bounds, system.monitors)) {
            EXPECT_TRUE(Near(At(*shot, gap.left, gap.top), kBack));
            EXPECT_TRUE(Near(At(*shot, gap.right - 1, gap.bottom - 1), kBack));
        }
        // The year-month bar on the primary's work area only.
        const RECT& primaryWork = layout.monitors[0].work;
        EXPECT_TRUE(Shaded(*shot, primaryWork.right - 5, primaryWork.bottom - 70));
        for (size_t i = 1; i < layout.monitors.size(); ++i)
            EXPECT_FALSE(Shaded(*shot, layout.monitors[i].work.right - 5, layout.monitors[i].work.bottom - 70));
        // Every monitor's photo is listed; the primary's is the current path.
        EXPECT_EQ(layout.monitors.size(), composer->CurrentImages().size());
        EXPECT_EQ(photos + "\\p0.png", composer->CurrentPath());
    }
}

TEST_F(MonitorsTest, CollageAndGreyingRunPerMonitorAtItsOwnPositions) {
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(-1024, 0, 1024, 768)});
    env.isoverlap = 1;
    env.isbackgray = 1;
    env.imagepos = 1;
    env.piccleartotalcnt = 2;
    // Two positions on each monitor, listed mixed; each monitor takes its own in turn.
    composer->ReplacePositions({RECT{0, 0, 200, 150}, RECT{-1024, 0, -824, 150}, RECT{600, 400, 800, 550},
                                RECT{-424, 400, -224, 550}});
    for (int i = 0; i < 5; ++i) AddPhoto("p" + std::to_string(i) + ".png", 400, 300, kPhotoColours[i]);
    composer->RequestFreshBackground();

    Compose();  // primary red at its first position, the left one green at its first
    Compose();  // both continue, greyed: primary blue at its second, left yellow at its second
    auto both = Wallpaper();
    const Rgb firstPrimary = At(*both, 100, 75), firstLeft = At(*both, -924, 75);
    EXPECT_EQ(firstPrimary.r, firstPrimary.g);
    EXPECT_EQ(firstLeft.g, firstLeft.b);
    EXPECT_FALSE(Near(firstPrimary, kBack));
    EXPECT_TRUE(Near(At(*both, 700, 475), kBlue));
    EXPECT_TRUE(Near(At(*both, -324, 475), kYellow));
    EXPECT_EQ(2, composer->Pictures()[0].count);
    EXPECT_EQ(2, composer->Pictures()[1].count);
    EXPECT_EQ(4u, composer->CurrentImages().size());

    Compose();  // each count reached: fresh backgrounds, the next photos at the first positions
    auto fresh = Wallpaper();
    EXPECT_TRUE(Near(At(*fresh, 100, 75), kWhite));
    EXPECT_TRUE(Near(At(*fresh, 700, 475), kBack));
    EXPECT_TRUE(Near(At(*fresh, -324, 475), kBack));
    EXPECT_EQ(1, composer->Pictures()[0].count);
    EXPECT_EQ(composer->Pictures()[0].images.size() + composer->Pictures()[1].images.size(),
              composer->CurrentImages().size());
}

TEST_F(MonitorsTest, RandomPlacementKeepsEveryPhotoInsideItsMonitor) {
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(0, -768, 1024, 768)});
    env.imagepos = 2;
    AddPhoto("a.png", 400, 300, kRed);
    AddPhoto("b.png", 400, 300, kGreen);
    system.rands = {32767, 32767, 0, 32767, 32767, 0};
    system.ticks = {1, 1, 1, 1};
    Compose();
    auto shot = Wallpaper();
    // (32767 mod 1024-400-20) + 10 = 161 across, (32767 mod 768-300-20) + 10 = 73 down, in each monitor.
    for (POINT corner : {POINT{161, 73}, POINT{161, -768 + 73}}) {
        const Gdiplus::Color colour = corner.y < 0 ? kGreen : kRed;
        EXPECT_TRUE(Near(At(*shot, corner.x + 3, corner.y + 3), colour));
        EXPECT_TRUE(Near(At(*shot, corner.x + 396, corner.y + 296), colour));
        EXPECT_TRUE(Near(At(*shot, corner.x - 3, corner.y + 150), kBack));
    }
}

TEST_F(MonitorsTest, NoPhotoRepeatsAcrossMonitorsUntilTheCatalogueIsDrained) {
    UseMonitors({Monitor(0, 0, 800, 600, true), Monitor(800, 0, 800, 600), Monitor(1600, 0, 800, 600)});
    env.israndum = 1;
    for (int i = 0; i < 6; ++i) AddPhoto("p" + std::to_string(i) + ".png", 100, 100, kRed);
    system.rands = {5, 3, 4, 1, 2, 0};
    std::set<std::string> seen;
    for (int change = 0; change < 2; ++change) {
        Compose();
        for (const MonitorPicture& picture : composer->Pictures()) {
            EXPECT_TRUE(seen.insert(picture.path).second) << picture.path;
        }
    }
    EXPECT_EQ(6u, seen.size());
    EXPECT_TRUE(catalogue.Images().empty());
    Compose();  // drained: the first monitor refills, the others take from the full catalogue again
    EXPECT_EQ("", composer->Pictures()[0].path);
    EXPECT_NE("", composer->Pictures()[1].path);
}

TEST_F(MonitorsTest, OptionOffOrOneMonitorComposesThePrimaryScreenAndLeavesTheStyleAlone) {
    AddPhoto("a.png", 400, 300, kRed);
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1280, 1024)});
    env.multimonitor = 0;
    Compose();
    auto shot = Wallpaper();
    EXPECT_EQ(1024u, shot->GetWidth());
    EXPECT_EQ(768u, shot->GetHeight());
    EXPECT_TRUE(Near(PixelOf(*shot, 512, 384), kRed));

    UseMonitors({Monitor(0, 0, 1024, 768, true)});
    env.multimonitor = 1;
    Compose();
    EXPECT_EQ(1024u, Wallpaper()->GetWidth());
    composer->LoadPriorWallpaper();
    composer->RestorePriorWallpaper();
    EXPECT_TRUE(system.stylesSet.empty());
}

TEST_F(MonitorsTest, SpanStyleIsSetOnceBeforeTheWallpaperAndTheUsersPutBack) {
    AddPhoto("a.png", 400, 300, kRed);
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1024, 768)});
    system.style = {"6", "0"};
    composer->LoadPriorWallpaper();
    std::vector<fw::WallpaperStyle> styleAtSet;
    system.onSetWallpaper = [&](const std::string&) { styleAtSet.push_back(system.style); };
    Compose();
    Compose();
    ASSERT_EQ(1u, system.stylesSet.size());
    EXPECT_TRUE(system.stylesSet[0] == kSpanStyle);
    ASSERT_EQ(2u, styleAtSet.size());
    EXPECT_TRUE(styleAtSet[0] == kSpanStyle);

    // Back to one monitor: the user's style with the one picture.
    UseMonitors({Monitor(0, 0, 1024, 768, true)});
    Compose();
    EXPECT_TRUE(system.style == (fw::WallpaperStyle{"6", "0"}));
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1024, 768)});
    Compose();
    EXPECT_TRUE(system.style == kSpanStyle);

    // At exit: the user's style first, then the prior wallpaper.
    composer->RestorePriorWallpaper();
    EXPECT_TRUE(system.style == (fw::WallpaperStyle{"6", "0"}));
    EXPECT_TRUE(styleAtSet.back() == (fw::WallpaperStyle{"6", "0"}));
    composer->RestorePriorWallpaper();
    EXPECT_EQ(4u, system.stylesSet.size());  // nothing more the second time
}

TEST_F(MonitorsTest, RunThatEndedWithoutRestoringGivesBackTheStyleItKept) {
    AddPhoto("a.png", 400, 300, kRed);
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1024, 768)});
    system.style = {"2", "1"};
    composer->LoadPriorWallpaper();
    Compose();  // keeps "2"/"1" in env.ini, sets the span style; then the run is killed

    // The desktop still names our picture and spans it.
    registry.wallpaper = mb::Widen(dir.File("Dioramix.bmp"));
    auto next = NewComposer();
    next->LoadPriorWallpaper();
    next->ComposeWallpaper();
    next->RestorePriorWallpaper();
    EXPECT_TRUE(system.style == (fw::WallpaperStyle{"2", "1"}));
}

TEST_F(MonitorsTest, SavedPictureIsTheWholeDesktopAndANewLayoutStartsAfresh) {
    env.isoverlap = 1;
    env.imagepos = 2;
    for (int i = 0; i < 4; ++i) AddPhoto("p" + std::to_string(i) + ".png", 100, 100, kPhotoColours[i]);
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(-800, 0, 800, 600)});
    Compose();
    ASSERT_TRUE(composer->SavedCanvas());
    EXPECT_EQ(1824u, composer->SavedCanvas()->GetWidth());
    const std::string saved = dir.File("saved.png");
    composer->SaveCurrentWallpaperAs(saved);
    auto picture = LoadCopy(saved);
    ASSERT_TRUE(picture);
    EXPECT_EQ(1824u, picture->GetWidth());
    EXPECT_EQ(768u, picture->GetHeight());
    EXPECT_EQ(2u, composer->CurrentImages().size());

    // A monitor is unplugged: one picture again, started afresh.
    UseMonitors({Monitor(0, 0, 1024, 768, true)});
    Compose();
    EXPECT_EQ(1u, composer->CurrentImages().size());
    EXPECT_EQ(1024u, Wallpaper()->GetWidth());
}

TEST_F(MonitorsTest, StretchedBackgroundImageFillsEachMonitorNotTheGap) {
    env.isbackimg = 1;
    env.isstretch = 1;
    env.isforeimg = 0;
    env.backimagename = dir.File("back.png");
    WritePicture(env.backimagename, 64, 48, kGreen);
    UseMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1124, -200, 800, 600)});
    Compose();
    auto shot = Wallpaper();
    for (POINT p : {POINT{4, 4}, POINT{1019, 763}, POINT{1128, -196}, POINT{1919, 395}})
        { Rgb c = At(*shot, p.x, p.y); EXPECT_TRUE(Near(c, kGreen)) << p.x << "," << p.y << " " << c.r << " " << c.g << " " << c.b; }
    for (POINT p : {POINT{1070, 100}, POINT{1500, 500}, POINT{5, -100}})
        EXPECT_TRUE(Near(At(*shot, p.x, p.y), kBack)) << p.x << "," << p.y;
}

}  // namespace
