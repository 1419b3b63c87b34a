// The user's own wallpaper setup where the desktop has a wallpaper interface: each monitor's
// picture and the fit read at start, kept in the data folder and given back at exit, also by the
// start after a run that never gave it back. Without the interface (Wine) nothing of it happens.
#include "drawing/composer_fixture.h"

#include <memory>

#include "state/desktop_setup_file.h"

using namespace composer_testing;

namespace {

const wchar_t kLeft[] = L"\\\\?\\DISPLAY#LEFT#1";
const wchar_t kRight[] = L"\\\\?\\DISPLAY#RIGHT#2";

const std::string kSpotlight = "Software\\Microsoft\\Windows\\CurrentVersion\\DesktopSpotlight\\Settings\\EnabledState";

class DesktopSetupTest : public ComposerTest {
protected:
    // The primary with a monitor on its left.
    const fw::MonitorInfo primary = Monitor(0, 0, 1024, 768, true), left = Monitor(-800, 0, 800, 600);
    const std::wstring sea = L"C:\\Users\\me\\바다.jpg";
    const std::wstring hill = L"C:\\Users\\me\\hill.png";

    void SetUp() override {
        ComposerTest::SetUp();
        AddPhoto("a.png", 400, 300, kRed);
        system.hasDesktopInterface = true;
        system.desktop.monitors = {{kLeft, sea}, {kRight, hill}};
        system.desktop.position = 4;
        system.desktop.slideshow = false;
        registry.wallpaper = hill;
    }

    // The start as the main window does it: read, then keep.
    static void Start(Composer& c) {
        c.LoadPriorWallpaper();
        c.SavePriorWallpaperPath();
    }

    // The next run's composer, started as the main window starts it.
    std::unique_ptr<Composer> NextRun() {
        auto next = NewComposer();
        Start(*next);
        return next;
    }

    std::vector<fw::MonitorWallpaper> Given() const { return system.monitorWallpapersSet; }
};

bool SameMonitors(const std::vector<fw::MonitorWallpaper>& a, const std::vector<fw::MonitorWallpaper>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].monitor != b[i].monitor || a[i].picture != b[i].picture) return false;
    return true;
}

}  // namespace

TEST_F(DesktopSetupTest, EveryMonitorGetsItsOwnPictureBackAndTheUntouchedFitStays) {
    Start(*composer);
    Compose();
    EXPECT_EQ(system.desktop.monitors[0].picture, mb::Widen(dir.File("Dioramix.bmp")));
    composer->RestorePriorWallpaper();
    EXPECT_TRUE(SameMonitors(Given(), {{kLeft, sea}, {kRight, hill}}));
    EXPECT_TRUE(system.positionsSet.empty());  // this run never set a fit

    // A monitor unplugged meanwhile refuses its picture; the other still gets its own.
    system.monitorWallpapersSet.clear();
    system.desktop.monitors = {{kRight, L"x"}};
    composer->RestorePriorWallpaper();
    EXPECT_TRUE(SameMonitors(Given(), {{kRight, hill}}));
}

TEST_F(DesktopSetupTest, RunThatNeverGaveTheSetupBackIsRecoveredAtTheNextStart) {
    Start(*composer);
    Compose();  // the desktop shows our picture on both monitors; then the run is killed
    const std::string ours = dir.File("Dioramix.bmp");

    for (int start = 0; start < 2; ++start) {  // a second crash before any exit changes nothing
        registry.wallpaper = mb::Widen(ours);
        auto next = NextRun();
        next->ComposeWallpaper();
        if (start == 0) continue;
        system.monitorWallpapersSet.clear();
        next->RestorePriorWallpaper();
        EXPECT_TRUE(SameMonitors(Given(), {{kLeft, sea}, {kRight, hill}}));
        EXPECT_EQ(mb::Narrow(hill), system.wallpapers.back());
    }
    fw::DesktopSetup kept;
    ASSERT_TRUE(LoadDesktopSetup(dir.File("oriwallsetup.txt"), kept));
    EXPECT_TRUE(SameMonitors(kept.monitors, {{kLeft, sea}, {kRight, hill}}));
    EXPECT_EQ(4, kept.position);

    // Without a kept file a monitor showing ours gets the prior wallpaper env.ini kept.
    ::DeleteFileA(dir.File("oriwallsetup.txt").c_str());
    system.desktop.monitors = {{kLeft, mb::Widen(ours)}, {kRight, hill}};
    auto last = NextRun();
    system.monitorWallpapersSet.clear();
    last->RestorePriorWallpaper();
    EXPECT_TRUE(SameMonitors(Given(), {{kLeft, hill}, {kRight, hill}}));
}

TEST_F(DesktopSetupTest, SpanFitIsUndoneAtExitUnlessTheUserChoseAnotherMeanwhile) {
    system.SetMonitors({primary, Monitor(1024, 0, 1024, 768)});
    system.style = {"10", "0"};
    for (const bool userChangedFit : {false, true}) {
        system.stylesSet.clear();
        auto c = NextRun();
        c->ComposeWallpaper();
        ASSERT_TRUE(system.style == kSpanStyle);
        system.desktop.position = fw::kSpanFit;
        if (userChangedFit) {
            system.style = {"6", "0"};
            system.desktop.position = 3;
        }
        c->RestorePriorWallpaper();
        EXPECT_TRUE(system.style == (fw::WallpaperStyle{userChangedFit ? "6" : "10", "0"})) << userChangedFit;
        EXPECT_EQ(userChangedFit ? 1u : 2u, system.stylesSet.size());
    }
}

TEST_F(DesktopSetupTest, WithoutTheInterfaceNothingIsKeptOrGivenBack) {
    system.hasDesktopInterface = false;
    Start(*composer);
    Compose();
    composer->RestorePriorWallpaper();
    EXPECT_TRUE(system.monitorWallpapersSet.empty());
    EXPECT_TRUE(system.positionsSet.empty());
    EXPECT_FALSE(testing_support::FileExists(dir.File("oriwallsetup.txt")));
    ASSERT_FALSE(system.wallpapers.empty());
    EXPECT_EQ(mb::Narrow(hill), system.wallpapers.back());
}

TEST_F(DesktopSetupTest, EveryMonitorShowsItsOwnPartStretchedAndTheUsersFitComesBack) {
    system.SetMonitors({primary, left});
    system.desktop.monitors = {{kLeft, sea, left.rect}, {kRight, hill, primary.rect}};
    Start(*composer);
    Compose();
    Compose();
    EXPECT_TRUE(system.stylesSet.empty());  // nothing spanned
    EXPECT_EQ(std::vector<int>{fw::kStretchFit}, system.positionsSet);
    const std::wstring first = mb::Widen(dir.File("Dioramix-1.bmp")), second = mb::Widen(dir.File("Dioramix-2.bmp"));
    EXPECT_TRUE(SameMonitors(system.desktop.monitors, {{kLeft, second}, {kRight, first}}));
    auto primaryPart = LoadCopy(dir.File("Dioramix-1.bmp")), leftPart = LoadCopy(dir.File("Dioramix-2.bmp"));
    ASSERT_TRUE(primaryPart && leftPart && composer->SavedCanvas());
    EXPECT_EQ(1024u, primaryPart->GetWidth());
    EXPECT_EQ(600u, leftPart->GetHeight());
    for (const POINT p : {POINT{0, 0}, POINT{512, 384}, POINT{1023, 767}})
        EXPECT_TRUE(testing_support::Near(PixelOf(*composer->SavedCanvas(), p.x + 800, p.y), PixelOf(*primaryPart, p.x, p.y), 2));
    EXPECT_TRUE(testing_support::Near(PixelOf(*composer->SavedCanvas(), 10, 590), PixelOf(*leftPart, 10, 590), 2));

    // Killed now: the next start finds our pictures and the desktop naming the last one.
    registry.wallpaper = mb::Widen(dir.File("Dioramix-2.bmp"));
    auto next = NextRun();
    next->ComposeWallpaper();
    system.positionsSet.clear();
    next->RestorePriorWallpaper();
    EXPECT_EQ(mb::Narrow(hill), system.wallpapers.back());
    EXPECT_TRUE(SameMonitors(system.desktop.monitors, {{kLeft, sea}, {kRight, hill}}));
    EXPECT_EQ(std::vector<int>{4}, system.positionsSet);
}

TEST_F(DesktopSetupTest, BeforeWindows8OnePictureIsTiledFromThePrimarysOrigin) {
    system.hasDesktopInterface = false;
    system.beforeWindows8 = true;
    system.SetMonitors({primary, left});
    system.style = {"10", "0"};
    Start(*composer);
    Compose();
    ASSERT_EQ(1u, system.stylesSet.size());
    EXPECT_TRUE(system.stylesSet[0] == kTiledStyle);
    auto tile = Wallpaper();
    ASSERT_TRUE(tile && composer->SavedCanvas());
    ASSERT_EQ(1824u, tile->GetWidth());
    // The tile's origin is the primary's; the left monitor wraps round to its right end.
    for (const POINT p : {POINT{0, 0}, POINT{512, 384}, POINT{1023, 700}})
        EXPECT_TRUE(testing_support::Near(PixelOf(*composer->SavedCanvas(), p.x + 800, p.y), PixelOf(*tile, p.x, p.y), 2));
    for (const POINT p : {POINT{0, 0}, POINT{400, 300}, POINT{799, 599}})
        EXPECT_TRUE(testing_support::Near(PixelOf(*composer->SavedCanvas(), p.x, p.y), PixelOf(*tile, p.x + 1024, p.y), 2));
    composer->RestorePriorWallpaper();
    EXPECT_TRUE(system.style == (fw::WallpaperStyle{"10", "0"}));
}

TEST_F(DesktopSetupTest, SlideshowOrPictureOfTheDayRunningAtStartComesBackAfterThePicturesAtExitOrAfterACrash) {
    struct Case {
        const char* name;
        bool slideshow, folderGone, spotlight, crash;
        PausedShow told;
    } cases[] = {
        {"slideshow", true, false, false, false, PausedShow::Slideshow},
        {"slideshow, crash", true, false, false, true, PausedShow::Slideshow},
        {"slideshow whose folder is gone", true, true, false, false, PausedShow::Slideshow},
        {"picture of the day", false, false, true, false, PausedShow::Spotlight},
        {"picture of the day, crash", false, false, true, true, PausedShow::Spotlight},
        {"neither", false, false, false, false, PausedShow::None},
    };
    const std::string ours = dir.File("Dioramix.bmp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring folder = mb::Widen(dir.File(c.name)) + L" \uC2AC\uB77C\uC774\uB4DC";  // 슬라이드
        ::CreateDirectoryW(folder.c_str(), nullptr);
        const fw::Slideshow show{{folder}, true, 600000};
        system.desktop.monitors = {{kLeft, sea}, {kRight, hill}};
        system.desktop.slideshow = c.slideshow;
        system.desktop.slides = c.slideshow ? show : fw::Slideshow{};
        system.slideshowsSet.clear();
        registry.wallpaper = hill;
        registry.numbers[kSpotlight] = c.spotlight ? 1 : 0;
        registry.numbersWritten = 0;
        ::DeleteFileA(dir.File("oriwallsetup.txt").c_str());

        auto run = NextRun();
        EXPECT_EQ(c.told, run->PausedSystemShow());
        run->ComposeWallpaper();
        EXPECT_FALSE(system.desktop.slideshow) << "our picture stops Windows' slideshow";
        registry.numbers[kSpotlight] = 0;  // and Windows' picture of the day
        if (c.crash) {
            // Killed: the next start finds our picture, and the kept file says what ran.
            registry.wallpaper = mb::Widen(ours);
            run = NextRun();
            EXPECT_EQ(c.told, run->PausedSystemShow());
            run->ComposeWallpaper();
        }
        if (c.folderGone) ::RemoveDirectoryW(folder.c_str());
        system.monitorWallpapersSet.clear();
        run->RestorePriorWallpaper();

        EXPECT_TRUE(SameMonitors(Given(), {{kLeft, sea}, {kRight, hill}})) << "the pictures come back in any case";
        if (c.slideshow && !c.folderGone) {
            ASSERT_EQ(1u, system.slideshowsSet.size());
            EXPECT_TRUE(system.slideshowsSet[0] == show) << "its items, shuffle and tick";
            EXPECT_EQ(2u, system.picturesBeforeSlideshow) << "after the monitors' pictures";
        } else {
            EXPECT_TRUE(system.slideshowsSet.empty());
        }
        EXPECT_EQ(c.spotlight ? 1u : 0u, registry.numbers[kSpotlight]);
        EXPECT_EQ(c.spotlight ? 1 : 0, registry.numbersWritten) << "only the picture of the day's value is written";
    }
}

TEST_F(DesktopSetupTest, ExitWithoutARunGivesBackWhatAKilledRunLeftOnceAndOnlyThen) {
    system.SetMonitors({primary, left});
    const std::string folder = dir.MakeDir("slides");
    for (const bool perMonitor : {true, false}) {
        SCOPED_TRACE(perMonitor ? "a picture per monitor, a slideshow at start" : "one spanned picture");
        system.hasDesktopInterface = perMonitor;
        system.desktop.monitors = {{kLeft, sea, left.rect}, {kRight, hill, primary.rect}};
        system.desktop.position = 4;
        system.desktop.slideshow = perMonitor;
        system.desktop.slides = {{mb::Widen(folder)}, false, 60000};
        system.style = {"10", "0"};
        registry.wallpaper = hill;
        auto killed = NextRun();
        killed->ComposeWallpaper();
        killed->ComposeWallpaper();
        ASSERT_FALSE(system.stylesSet.empty() && system.positionsSet.empty()) << "the run set a fit of its own";
        registry.wallpaper = mb::Widen(dir.File(perMonitor ? "Dioramix-2.bmp" : "Dioramix.bmp"));
        system.monitorWallpapersSet.clear();
        system.positionsSet.clear();
        system.stylesSet.clear();

        ASSERT_TRUE(NewComposer()->GiveBackUnfinishedRun());
        EXPECT_EQ(mb::Narrow(hill), system.wallpapers.back());
        EXPECT_TRUE(system.style == (fw::WallpaperStyle{"10", "0"}));
        if (perMonitor) {
            EXPECT_TRUE(SameMonitors(Given(), {{kLeft, sea}, {kRight, hill}}));
            EXPECT_EQ(std::vector<int>{4}, system.positionsSet);
            ASSERT_EQ(1u, system.slideshowsSet.size());
            EXPECT_TRUE(system.slideshowsSet.back() == (fw::Slideshow{{mb::Widen(folder)}, false, 60000}));
        }

        // Given back, the desktop shows nothing of ours: a second exit changes nothing.
        registry.wallpaper = hill;
        const size_t wallpapersSet = system.wallpapers.size();
        EXPECT_FALSE(NewComposer()->GiveBackUnfinishedRun());
        EXPECT_EQ(wallpapersSet, system.wallpapers.size());
        system.slideshowsSet.clear();
    }
}
