// The user's word on single photos: one monitor's next photo, the ban and favourites lists, and
// the picture before the last change put back and forth again.
#include "drawing/composer_fixture.h"

using namespace composer_testing;

namespace {

class CurationTest : public ComposerTest {
protected:
    std::string red, green, blue, yellow;

    void SetUp() override {
        ComposerTest::SetUp();
        red = AddPhoto("red.png", 400, 300, kRed);
        green = AddPhoto("green.png", 400, 300, kGreen);
        blue = AddPhoto("blue.png", 400, 300, kBlue);
        yellow = AddPhoto("yellow.png", 400, 300, kYellow);
    }
    void UseTwoMonitors() { system.SetMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1024, 768)}); }
    // The centre of a monitor (0: the left, 1: the right one) on the last wallpaper.
    Rgb CentreOf(int monitor) {
        auto shot = Wallpaper();
        EXPECT_TRUE(shot);
        return shot ? PixelOf(*shot, 512 + 1024 * monitor, 384) : Rgb{};
    }
    std::string PathOn(size_t monitor) const { return composer->Pictures().at(monitor).path; }
};

TEST_F(CurationTest, OneMonitorsNextKeepsTheOthersPictureAndCollage) {
    UseTwoMonitors();
    Compose();
    ASSERT_EQ(red, PathOn(0));
    ASSERT_EQ(green, PathOn(1));

    composer->ComposeWallpaper({.monitors = 1u << 1});
    EXPECT_EQ(red, PathOn(0));
    EXPECT_EQ(1, composer->Pictures()[0].count) << "the left monitor's collage is as it was";
    EXPECT_EQ(blue, PathOn(1));
    EXPECT_TRUE(Near(CentreOf(0), kRed));
    EXPECT_TRUE(Near(CentreOf(1), kBlue));

    // Paused, a monitor asked for still gets its photo; the others none.
    env.ispause = 1;
    composer->ComposeWallpaper({.monitors = 1u << 0});
    EXPECT_EQ(yellow, PathOn(0));
    EXPECT_EQ(blue, PathOn(1));
    EXPECT_TRUE(Near(CentreOf(0), kYellow));
    EXPECT_TRUE(Near(CentreOf(1), kBlue));
}

TEST_F(CurationTest, ABannedPhotoLeavesItsMonitorAtOnceAndIsNeverChosenAgainAfterARestart) {
    UseTwoMonitors();
    env.isoverlap = 1;
    env.imagepos = 2;  // a collage at random places, so a fresh start shows
    Compose();
    ASSERT_EQ(green, PathOn(1));
    ASSERT_TRUE(composer->Ban(green));
    EXPECT_FALSE(composer->Ban(mb::ToLower(green))) << "listed once, whatever the letter case";
    composer->ComposeWallpaper({.monitors = 1u << 1, .freshMonitors = 1u << 1});
    EXPECT_NE(green, PathOn(1));
    EXPECT_FALSE(PathOn(1).empty());
    EXPECT_EQ(1, composer->Pictures()[1].count) << "composed anew, without the banned photo";
    EXPECT_EQ(red, PathOn(0));
    for (const std::string& shown : composer->CurrentImages()) EXPECT_NE(green, shown);
    EXPECT_TRUE(testing_support::FileExists(green)) << "the photo stays on disk";
    EXPECT_NE(std::string::npos, testing_support::ReadFile(dir.File("banlist.txt")).find(green));

    // A re-read and a new run: the catalogue holds it again, the list keeps it out.
    for (bool random : {false, true}) {
        SCOPED_TRACE(random ? "random" : "in order");
        ImageCatalogue reread;
        reread.Replace(catalogue.FolderEntries(), {green, green, green, green, red});
        env.israndum = random ? 1 : 0;
        Composer restarted(env, reread, system);
        restarted.LoadPhotoLists();
        EXPECT_TRUE(restarted.Banned().Contains(green));
        EXPECT_EQ(red, restarted.ChooseNextImage()) << "banned picks do not use up the three tries";
        reread.Replace(catalogue.FolderEntries(), {green});
        EXPECT_EQ("", restarted.ChooseNextImage());
    }
}

TEST_F(CurationTest, FavouritesOnlyChoosesAmongFavouritesWhileAnyCanBeShown) {
    env.favoritesonly = 1;
    Compose();
    EXPECT_EQ(red, PathOn(0)) << "no favourites: the catalogue as always";

    ASSERT_TRUE(composer->Keep(yellow));
    EXPECT_FALSE(composer->Keep(yellow));
    for (int i = 0; i < 3; ++i) {
        Compose();
        EXPECT_EQ(yellow, PathOn(0));
    }
    // Read back by a new run; a favourite since deleted drops out and the catalogue takes over.
    Composer restarted(env, catalogue, system);
    restarted.LoadPhotoLists();
    ASSERT_EQ(std::vector<std::string>{yellow}, restarted.Kept().Paths());
    ::DeleteFileA(yellow.c_str());
    Compose();
    EXPECT_NE(yellow, PathOn(0));
    EXPECT_FALSE(PathOn(0).empty());

    env.favoritesonly = 0;
    ASSERT_TRUE(composer->Keep(red));
    Compose();
    EXPECT_EQ(blue, PathOn(0)) << "favourites are only a list while the option is off";
}

TEST_F(CurationTest, BackPutsThePreviousPictureAndCollageUpAndBackAgainReturnsToTheNewer) {
    EXPECT_FALSE(composer->GoBack()) << "nothing to go back to";
    Compose();
    Compose();
    ASSERT_EQ(green, PathOn(0));
    EXPECT_TRUE(testing_support::FileExists(dir.File("previous.bmp")));
    auto before = LoadCopy(dir.File("previous.bmp"));
    ASSERT_TRUE(before);
    EXPECT_TRUE(Near(PixelOf(*before, 512, 384), kRed)) << "the picture before the change is kept as a file";

    ASSERT_TRUE(composer->GoBack());
    EXPECT_EQ(red, PathOn(0));
    EXPECT_EQ(red, composer->CurrentPath());
    EXPECT_TRUE(Near(CentreOf(0), kRed));
    ASSERT_TRUE(composer->GoBack());
    EXPECT_EQ(green, PathOn(0));
    EXPECT_TRUE(Near(CentreOf(0), kGreen));

    // After back, a change goes on from the picture put back; its collage state came with it.
    ASSERT_TRUE(composer->GoBack());
    Compose();
    EXPECT_EQ(blue, PathOn(0));
    ASSERT_TRUE(composer->GoBack());
    EXPECT_EQ(red, PathOn(0));

    // A new layout has no picture to go back to.
    Compose();
    UseTwoMonitors();
    EXPECT_FALSE(composer->GoBack());
}

TEST_F(CurationTest, BackOnThePerMonitorPathPutsEachMonitorsPreviousPictureBackAndKeepsItsFile) {
    UseTwoMonitors();
    system.hasDesktopInterface = true;
    system.desktop.monitors = {{L"\\\\?\\DISPLAY#L", L"", RECT{0, 0, 1024, 768}},
                               {L"\\\\?\\DISPLAY#R", L"", RECT{1024, 0, 2048, 768}}};
    const auto centre = [this](const std::string& name) {
        auto shot = LoadCopy(dir.File(name));
        EXPECT_TRUE(shot) << name;
        return shot ? PixelOf(*shot, 512, 384) : Rgb{};
    };
    Compose();
    Compose();
    ASSERT_EQ(blue, PathOn(0));
    ASSERT_EQ(yellow, PathOn(1));
    EXPECT_TRUE(Near(centre("previous-1.bmp"), kRed)) << "each monitor's picture before the change is kept";
    EXPECT_TRUE(Near(centre("previous-2.bmp"), kGreen));
    EXPECT_FALSE(testing_support::FileExists(dir.File("Dioramix.bmp"))) << "no picture over both monitors";

    ASSERT_TRUE(composer->GoBack());
    EXPECT_EQ(red, PathOn(0));
    EXPECT_EQ(green, PathOn(1));
    EXPECT_TRUE(Near(centre("Dioramix-1.bmp"), kRed));
    EXPECT_TRUE(Near(centre("Dioramix-2.bmp"), kGreen));
    EXPECT_TRUE(Near(centre("previous-1.bmp"), kBlue)) << "and back again is the newer one";
    EXPECT_EQ(system.desktop.monitors[0].picture, mb::Widen(dir.File("Dioramix-1.bmp")));
    EXPECT_EQ(system.desktop.monitors[1].picture, mb::Widen(dir.File("Dioramix-2.bmp")));

    ASSERT_TRUE(composer->GoBack());
    EXPECT_TRUE(Near(centre("Dioramix-1.bmp"), kBlue));
    EXPECT_TRUE(Near(centre("Dioramix-2.bmp"), kYellow));
}

}  // namespace
