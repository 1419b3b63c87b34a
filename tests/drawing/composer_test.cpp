// The change cycle on real pictures: background branches, the choice of the next photograph,
// the kept canvas and the composed wallpaper file.
#include "drawing/composer_fixture.h"

#include <cmath>
#include <set>

using namespace composer_testing;

namespace {

// A 24-bit bitmap of the screen is written and set; a screen of a new size gets a canvas of that size.
TEST_F(ComposerTest, WritesA24BitBitmapOfTheScreenAndSetsItAtEachNewSize) {
    AddPhoto("a.png", 800, 600, kRed);
    Compose();
    ASSERT_EQ(1u, system.wallpapers.size());
    EXPECT_EQ(dir.File("Dioramix.bmp"), system.wallpapers[0]);

    std::string bmp = testing_support::ReadFile(dir.File("Dioramix.bmp"));
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ("BM", bmp.substr(0, 2));
    EXPECT_EQ(1024, *reinterpret_cast<const int32_t*>(&bmp[18]));
    EXPECT_EQ(768, std::abs(*reinterpret_cast<const int32_t*>(&bmp[22])));
    EXPECT_EQ(24, *reinterpret_cast<const uint16_t*>(&bmp[28]));

    // Centred, 400 x 300, drawn one pixel in from its corner.
    auto shot = Wallpaper();
    EXPECT_TRUE(AreColour(*shot, {{512, 384}, {312 + 2, 234 + 2}}, kRed, 6));
    EXPECT_TRUE(AreColour(*shot, {{5, 5}, {312 - 2, 234 + 10}}, kBack, 6));
    EXPECT_EQ(1, composer->ImageCount());
    EXPECT_EQ(std::vector<std::string>{photos + "\\a.png"}, composer->CurrentImages());

    system.screenWidth = 800;
    system.screenHeight = 600;
    Compose();
    shot = Wallpaper();
    EXPECT_EQ(800u, shot->GetWidth());
    EXPECT_EQ(600u, shot->GetHeight());
}

TEST_F(ComposerTest, OverlapContinuesUntilTheCountIsReached) {
    env.isoverlap = 1;
    env.imagepos = 2;
    env.piccleartotalcnt = 3;
    for (int i = 0; i < 7; ++i) AddPhoto("p" + std::to_string(i) + ".png", 400, 300, kGreen);
    composer->RequestFreshBackground();

    std::vector<size_t> counts;
    for (int i = 0; i < 7; ++i) {
        Compose();
        counts.push_back(composer->CurrentImages().size());
        EXPECT_EQ(static_cast<int>(counts.back()), composer->ImageCount());
    }
    EXPECT_EQ((std::vector<size_t>{1, 2, 3, 1, 2, 3, 1}), counts);
}

// A continued picture keeps every earlier photo (the second change's copy is written into the
// bitmap the first one's was kept in); once the count is reached a fresh one keeps none.
TEST_F(ComposerTest, ContinuedPicturesKeepTheEarlierPhotosAndAFreshOneDoesNot) {
    CollageAt({RECT{0, 0, 200, 150}, RECT{600, 400, 800, 550}, RECT{300, 0, 500, 150}}, 3);
    for (int i = 0; i < 3; ++i) Compose();
    auto all = Wallpaper();
    EXPECT_TRUE(IsColour(*all, 100, 75, kRed, 6));
    EXPECT_TRUE(IsColour(*all, 700, 475, kBlue, 6));
    EXPECT_TRUE(IsColour(*all, 400, 75, kGreen, 6));

    Compose();  // the count is reached: fresh background, red again at the first position
    auto fresh = Wallpaper();
    EXPECT_TRUE(IsColour(*fresh, 100, 75, kRed, 6));
    EXPECT_TRUE(AreColour(*fresh, {{700, 475}, {400, 75}}, kBack, 6));
}

// A clear request starts afresh once; the centre mode never overlaps.
TEST_F(ComposerTest, ClearRequestStartsAfreshOnceAndCentreModeNeverOverlaps) {
    env.isoverlap = 1;
    env.imagepos = 2;
    for (int i = 0; i < 3; ++i) AddPhoto("p" + std::to_string(i) + ".png", 100, 100, kGreen);
    Compose();
    Compose();
    EXPECT_EQ(2, composer->ImageCount());
    composer->RequestFreshBackground();
    Compose();
    EXPECT_EQ(1, composer->ImageCount());
    EXPECT_FALSE(composer->FreshBackgroundRequested());

    env.imagepos = 0;
    Compose();
    Compose();
    EXPECT_EQ(1u, composer->CurrentImages().size());
}

TEST_F(ComposerTest, GreyingTurnsEarlierPhotosGrey) {
    env.isbackgray = 1;
    CollageAt({RECT{0, 0, 200, 150}, RECT{600, 400, 800, 550}}, 10);
    Compose();
    Compose();
    auto shot = Wallpaper();
    const Rgb earlier = PixelOf(*shot, 100, 75);
    EXPECT_NEAR((30 * 220 + 59 * 30 + 11 * 30) / 100, earlier.r, 6);
    EXPECT_TRUE(earlier.r == earlier.g && earlier.g == earlier.b) << earlier.r << " " << earlier.g << " " << earlier.b;
    EXPECT_TRUE(IsColour(*shot, 700, 475, kBlue, 6));  // this change's photo stays in colour
}

TEST_F(ComposerTest, RandomOrderShowsEveryPhotoOnceThenRefills) {
    env.israndum = 1;
    AddPhoto("a.png", 100, 100, kRed);
    AddPhoto("b.png", 100, 100, kGreen);
    AddPhoto("c.png", 100, 100, kBlue);
    system.fallbackTick = 1;
    system.rands = {1, 1, 0};  // picks index 1, then 1 of two, then the last

    auto threeChanges = [&] {
        std::set<std::string> shown;
        for (int i = 0; i < 3; ++i) {
            Compose();
            shown.insert(composer->CurrentPath());
        }
        return shown;
    };
    const std::set<std::string> first = threeChanges();
    EXPECT_EQ(3u, first.size());
    EXPECT_TRUE(catalogue.Images().empty());

    Compose();  // ran out: refills and shows nothing
    EXPECT_EQ("", composer->CurrentPath());
    EXPECT_EQ(3u, catalogue.Images().size());

    EXPECT_EQ(first, threeChanges());
}

TEST_F(ComposerTest, RandomIndexIsTheWrappingProductOfDiceAndTicks) {
    env.israndum = 1;
    for (int i = 0; i < 7; ++i) AddPhoto("p" + std::to_string(i) + ".png", 10, 10, kRed);
    system.rands = {32767};
    system.ticks = {0xFFFFFFF0u};
    uint32_t expected = (32767u * 0xFFFFFFF0u) % 7u;
    std::string chosen = catalogue.Images()[expected];
    EXPECT_EQ(chosen, composer->ChooseNextImage());
    EXPECT_EQ(6u, catalogue.Images().size());
}

TEST_F(ComposerTest, SequentialOrderWrapsAfterTheCatalogueShrank) {
    std::string a = AddPhoto("a.png", 10, 10, kRed);
    std::string b = AddPhoto("b.png", 10, 10, kRed);
    std::string c = AddPhoto("c.png", 10, 10, kRed);
    EXPECT_EQ(a, composer->ChooseNextImage());
    EXPECT_EQ(b, composer->ChooseNextImage());
    EXPECT_EQ(c, composer->ChooseNextImage());
    EXPECT_EQ(a, composer->ChooseNextImage());  // wraps
    EXPECT_EQ(b, composer->ChooseNextImage());
    catalogue.Replace(catalogue.FolderEntries(), {a});  // the next index in order, 2, is now beyond the end
    EXPECT_EQ(a, composer->ChooseNextImage());
    EXPECT_EQ(3u - 2u, catalogue.Images().size());
}

TEST_F(ComposerTest, ThreeMissingPicksInTheRunEndAChoice) {
    std::string m1 = AddMissing("gone1.png");
    std::string a = AddPhoto("a.png", 10, 10, kRed);
    std::string m2 = AddMissing("gone2.png");
    std::string b = AddPhoto("b.png", 10, 10, kRed);
    std::string m3 = AddMissing("gone3.png");
    std::string c = AddPhoto("c.png", 10, 10, kRed);

    EXPECT_EQ(a, composer->ChooseNextImage());  // one missing
    EXPECT_EQ(b, composer->ChooseNextImage());  // two missing
    EXPECT_EQ("", composer->ChooseNextImage());  // the third ends it, though c exists
    EXPECT_EQ(0, composer->Selector().MissingCount());
    EXPECT_EQ(c, composer->ChooseNextImage());
}

TEST_F(ComposerTest, NoFoldersMeansNoPhotographAndAZeroSizedScreenNoWallpaper) {
    catalogue.Replace({}, {photos + "\\x.png"});
    Compose();
    EXPECT_EQ("", composer->CurrentPath());
    EXPECT_EQ(0, composer->ImageCount());
    EXPECT_EQ(1u, system.wallpapers.size());  // the background is still set

    system.screenWidth = 0;
    Compose();
    EXPECT_EQ(1u, system.wallpapers.size()) << "a screen without size gets no wallpaper";
}

TEST_F(ComposerTest, UndecodableFileIsPassedOverAndNeverCounted) {
    std::string broken = photos + "\\broken.jpg";
    testing_support::WriteFile(broken, "this is not a picture");
    catalogue.AddImages({broken});
    std::string good = AddPhoto("good.png", 400, 300, kRed);
    std::string truncated = photos + "\\cut.png";
    testing_support::WriteFile(truncated, std::string("\x89PNG\r\n\x1a\n", 8));
    catalogue.AddImages({truncated});

    Compose();
    EXPECT_EQ(good, composer->CurrentPath());
    EXPECT_EQ(std::vector<std::string>{good}, composer->CurrentImages());
    EXPECT_EQ(1, composer->Selector().MissingCount());

    // The truncated file and, after the wrap, the broken one: three unusable picks in the run
    // end this choice, which draws no photograph but still sets a wallpaper.
    Compose();
    EXPECT_EQ("", composer->CurrentPath());
    EXPECT_TRUE(composer->CurrentImages().empty());
    EXPECT_EQ(2u, system.wallpapers.size());

    Compose();
    EXPECT_EQ(good, composer->CurrentPath());
}

// The foreground switched off keeps the previous path; a pause draws only the background.
TEST_F(ComposerTest, ForegroundOffOrPauseAddsNoPhotograph) {
    AddPhoto("a.png", 400, 300, kRed);
    Compose();
    env.isforeimg = 0;
    Compose();
    EXPECT_EQ(photos + "\\a.png", composer->CurrentPath());
    EXPECT_EQ(0, composer->ImageCount());

    env.isforeimg = 1;
    env.ispause = 1;
    Compose();
    EXPECT_EQ(0, composer->ImageCount());
    EXPECT_TRUE(IsColour(*Wallpaper(), 512, 384, kBack, 6));
}

// The background: the desktop's colour when the own colour is off, a small picture centred at
// its natural size or stretched over the screen, and the colour where the picture cannot be read.
TEST_F(ComposerTest, BackgroundIsTheColourOrThePictureCentredOrStretched) {
    const Gdiplus::Color desktop(255, 0x25, 0x6F, 0x95);
    const struct {
        const char* what;
        bool ownColour, picture, stretch, readable;
        std::vector<POINT> picturePoints, colourPoints;
        Gdiplus::Color colour;
    } cases[] = {
        {"desktop colour", false, false, false, true, {}, {{10, 10}}, desktop},
        {"centred", true, true, false, true, {{512, 384}, {413, 335}}, {{410, 384}, {512, 330}}, kBack},
        {"stretched", true, true, true, true, {{3, 3}}, {}, kBack},
        {"unreadable", true, true, false, false, {}, {{10, 10}}, kBack},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        env.isbackcolor = c.ownColour;
        env.m_desktopColor = 0xFF256F95;
        env.isbackimg = c.picture;
        env.isstretch = c.stretch;
        env.backimagename = dir.File(std::string(c.what) + ".png");
        if (c.readable) WritePicture(env.backimagename, 200, 100, kGreen);
        else testing_support::WriteFile(env.backimagename, "garbage");
        Compose();
        auto shot = Wallpaper();
        for (POINT p : c.picturePoints) EXPECT_TRUE(IsColour(*shot, p.x, p.y, kGreen, 6));
        for (POINT p : c.colourPoints) EXPECT_TRUE(IsColour(*shot, p.x, p.y, c.colour, c.ownColour ? 6 : 0));
    }
}

TEST_F(ComposerTest, PausedBackgroundIsTheSavedPictureButOnlyWithABackgroundName) {
    env.isbackimg = 1;
    env.isstretch = 1;
    WritePicture(dir.File("backimage.png"), 1024, 768, kBlue);
    env.ispause = 1;
    Compose();  // empty backimagename: no background image, although backimage.png exists
    EXPECT_TRUE(IsColour(*Wallpaper(), 10, 10, kBack, 6));

    env.backimagename = dir.File("other.png");
    WritePicture(env.backimagename, 100, 100, kGreen);
    Compose();
    EXPECT_TRUE(IsColour(*Wallpaper(), 10, 10, kBlue, 6));
}

TEST_F(ComposerTest, KeptCanvasHasNoPathText) {
    env.ispath = 1;
    AddPhoto("a.png", 400, 300, kRed);
    Compose();
    ASSERT_TRUE(composer->SavedCanvas());
    EXPECT_EQ(1024u, composer->SavedCanvas()->GetWidth());
    // The right end of the path bar (alpha 220 black) is on the wallpaper only.
    Rgb onWallpaper = PixelOf(*Wallpaper(), 1000, 738 - 14);
    Rgb kept = PixelOf(*composer->SavedCanvas(), 1000, 738 - 14);
    EXPECT_LT(onWallpaper.b, kept.b - 50);
    EXPECT_TRUE(Near(kept, kBack, 6));
}

TEST(FitRectTest, KeepsTheProportionsAndCentresOnTheScreen) {
    struct Case { int w, h; Gdiplus::REAL x, y, width, height; const char* what; };
    const Case cases[] = {
        {200, 100, 412, 334, 200, 100, "natural size in the middle when it fits"},
        {1000, 2000, 320, 0, 384, 768, "a tall image fills the height"},
        {4000, 1000, 0, 256, 1024, 256, "a wide image fills the width"},
        {2048, 1536, 0, 0, 1024, 768, "the same proportions fill the screen"},
    };
    for (const Case& c : cases) {
        const Gdiplus::RectF r = FitRect(c.w, c.h, 1024, 768);
        EXPECT_LT(std::abs(r.X - c.x) + std::abs(r.Y - c.y) + std::abs(r.Width - c.width) + std::abs(r.Height - c.height),
                  0.01f)
            << c.what << ": " << r.X << "," << r.Y << " " << r.Width << " x " << r.Height;
    }
}

}  // namespace
