// Scaling, the three placement modes with the reflection, poslist.txt, and the path text.
#include "composer/placement.h"
#include "state/position_list.h"

#include "drawing/composer_fixture.h"

using namespace composer_testing;
using testing_support::FakeSystem;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

namespace {

// The longer side becomes the maximum; a small photo is enlarged only without "not stretch"; huge
// and degenerate sizes stay sound.
TEST(ScaleToMaxSizeTest, LongerSideBecomesTheMaximumAndSmallPhotosGrowOnlyWhenAllowed) {
    const struct {
        int w, h;
        bool notStretch;
        int drawnW, drawnH;
    } cases[] = {
        {1600, 1200, true, 400, 300}, {300, 1200, true, 100, 400}, {1000, 1000, false, 400, 400},
        {300, 200, true, 300, 200},   {300, 200, false, 400, 266}, {200, 200, true, 200, 200},
        {60000, 200, true, 400, 1},  // no overflow in W x M
        {0, 100, true, 0, 0},         {100, 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        const DrawnSize size = ScaleToMaxSize(c.w, c.h, 400, c.notStretch);
        EXPECT_EQ(c.drawnW, size.w) << c.w << " x " << c.h << (c.notStretch ? " not stretched" : "");
        EXPECT_EQ(c.drawnH, size.h) << c.w << " x " << c.h << (c.notStretch ? " not stretched" : "");
    }
}

class PlacementTest : public ::testing::Test {
protected:
    FakeSystem system;
    std::vector<RECT> positions;
    int index = 0;
    POINT lastCentre{0, 0};
    PlacementState state{positions, index, lastCentre};

    POINT Place(int mode, int w, int h) { return PlaceImage(mode, 1024, 768, w, h, state, system); }
};

TEST_F(PlacementTest, CentreAndUnknownModes) {
    POINT p = Place(kPlaceCentre, 400, 300);
    EXPECT_EQ(312, p.x);
    EXPECT_EQ(234, p.y);
    p = Place(3, 400, 300);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);
}

TEST_F(PlacementTest, UserPositionsAreTakenInTurnAndCentred) {
    positions = {RECT{0, 0, 400, 300}, RECT{600, 0, 1000, 300}};
    POINT a = Place(kPlaceUserPositions, 400, 300);
    POINT b = Place(kPlaceUserPositions, 400, 300);
    POINT c = Place(kPlaceUserPositions, 225, 300);  // a portrait photo in the first again
    EXPECT_EQ(0, a.x);
    EXPECT_EQ(600, b.x);
    EXPECT_EQ((400 - 225) / 2, c.x);
    EXPECT_EQ(1, index);

    POINT over = Place(kPlaceUserPositions, 300, 400);  // overhangs above and below
    EXPECT_EQ(650, over.x);
    EXPECT_EQ(-50, over.y);
}

TEST_F(PlacementTest, PositionsWhollyOffTheScreenAreMovedIntoViewAndOthersKept) {
    // Saved on a 1920 x 1200 screen, used on 1024 x 768.
    positions = {RECT{1500, 900, 1900, 1200}, RECT{900, 100, 1300, 400}, RECT{-500, -400, -100, -100}};
    POINT beyond = Place(kPlaceUserPositions, 400, 300);
    EXPECT_EQ(1024 - 400, beyond.x);
    EXPECT_EQ(768 - 300, beyond.y);
    POINT partly = Place(kPlaceUserPositions, 400, 300);
    EXPECT_EQ(900, partly.x) << "a position that shows in part is the user's choice";
    EXPECT_EQ(100, partly.y);
    POINT before = Place(kPlaceUserPositions, 400, 300);
    EXPECT_EQ(0, before.x);
    EXPECT_EQ(0, before.y);
    EXPECT_EQ(1900, positions[0].right) << "the saved positions themselves are not changed";
}

TEST_F(PlacementTest, UserPositionsWithoutAnyAreCentred) {
    POINT p = Place(kPlaceUserPositions, 400, 300);
    EXPECT_EQ(312, p.x);
    EXPECT_EQ(234, p.y);
}

TEST_F(PlacementTest, IndexBeyondAShrunkListStartsOver) {
    positions = {RECT{0, 0, 100, 100}};
    index = 5;
    POINT p = Place(kPlaceUserPositions, 100, 100);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, index);
}

TEST_F(PlacementTest, RandomPlacementUsesDiceTimesTicksWithinTheMargins) {
    system.rands = {7, 3, 99};
    system.ticks = {100, 1000};
    POINT p = Place(kPlaceRandom, 400, 300);
    EXPECT_EQ((7 * 100) % (1024 - 400 - 20) + 10, p.x);
    EXPECT_EQ((3 * 1000) % (768 - 300 - 20) + 10, p.y);
    EXPECT_EQ(3, system.randCalls);  // one more number is drawn and discarded
    EXPECT_EQ(p.x + 200, lastCentre.x);
    EXPECT_EQ(p.y + 150, lastCentre.y);
}

TEST_F(PlacementTest, RandomProductWrapsAsUnsigned32Bits) {
    system.rands = {32767, 32767};
    system.ticks = {0xFFFFFFFFu, 0x80000000u};
    POINT p = Place(kPlaceRandom, 400, 300);
    EXPECT_EQ(static_cast<int>((32767u * 0xFFFFFFFFu) % 604u) + 10, p.x);
    EXPECT_EQ(static_cast<int>((32767u * 0x80000000u) % 448u) + 10, p.y);
}

TEST_F(PlacementTest, PreviousCentreInsideIsReflectedThroughTheScreenCentre) {
    lastCentre = {300, 200};
    system.rands = {1, 1};
    system.ticks = {100, 100};  // x = y = 110: the photo covers (300, 200)
    POINT p = Place(kPlaceRandom, 400, 300);
    // Centre (310, 260) reflected: (714, 508), top-left (514, 358).
    EXPECT_EQ(514, p.x);
    EXPECT_EQ(358, p.y);
    EXPECT_EQ(714, lastCentre.x);
    EXPECT_EQ(508, lastCentre.y);
}

TEST_F(PlacementTest, RandomRangeOfZeroOrLessKeepsTheMargin) {
    system.rands = {5, 5};
    system.ticks = {5, 5};
    POINT p = Place(kPlaceRandom, 1004, 900);
    EXPECT_EQ(10, p.x);
    EXPECT_EQ(10, p.y);
}

TEST(PositionsFileTest, LineParsing) {
    RECT r{};
    ASSERT_TRUE(ParsePositionLine("10, 20 ,30,40\n", r));
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(30, r.right);
    EXPECT_EQ(40, r.bottom);
    ASSERT_TRUE(ParsePositionLine("1,,2,,,3,4,99", r));  // adjacent commas act as one
    EXPECT_EQ(4, r.bottom);
    ASSERT_TRUE(ParsePositionLine("500,0,100,-20\n", r));  // not validated
    EXPECT_EQ(-20, r.bottom);
    // Values no screen has are held to +-100000 before any arithmetic sees them.
    ASSERT_TRUE(ParsePositionLine("99999999999999999999,-2147483648,2147483647,-99999999999\n", r));
    EXPECT_EQ(100000, r.left);
    EXPECT_EQ(-100000, r.top);
    EXPECT_EQ(100000, r.right);
    EXPECT_EQ(-100000, r.bottom);
    ASSERT_TRUE(ParsePositionLine("-100000,100000,0,0", r));
    EXPECT_EQ(-100000, r.left);
    EXPECT_EQ(100000, r.top);
    EXPECT_FALSE(ParsePositionLine("1,2,3\n", r));
    EXPECT_FALSE(ParsePositionLine("\n", r));
    EXPECT_FALSE(ParsePositionLine("", r));
}

TEST(PositionsFileTest, RoundTripAndSkippedLines) {
    ScratchDir dir;
    std::string file = dir.File("poslist.txt");
    std::vector<RECT> positions = {RECT{100, 80, 500, 380}, RECT{-5, 0, 10, 20}};
    SavePositions(file, positions);
    EXPECT_EQ("100,80,500,380\r\n-5,0,10,20\r\n", ReadFile(file));

    WriteFile(file, "100,80,500,380\n\n1,2\n10, 20 ,30,40\n");
    std::vector<RECT> loaded;
    EXPECT_EQ(1, LoadPositions(file, loaded));
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(500, loaded[0].right);
    EXPECT_EQ(30, loaded[1].right);

    SavePositions(file, {});
    EXPECT_EQ("", ReadFile(file));
    EXPECT_EQ(0, LoadPositions(dir.File("none.txt"), loaded));
    EXPECT_EQ(2u, loaded.size());
}

TEST_F(ComposerTest, PositionsAreLoadedBesideTheProgramAndSavedOnlyWhenKnown) {
    testing_support::WriteFile(dir.File("poslist.txt"), "0,0,400,300\n");
    composer->SavePositions();  // never read this run: the file is left alone
    EXPECT_EQ("0,0,400,300\n", ReadFile(dir.File("poslist.txt")));

    EXPECT_EQ(1, composer->LoadPositions());
    ASSERT_EQ(1u, composer->Positions().size());
    composer->SavePositions();  // read this run: written back, in the program's own line ends
    EXPECT_EQ("0,0,400,300\r\n", ReadFile(dir.File("poslist.txt")));
}

TEST_F(ComposerTest, SwitchingToUserPositionsAfterStartReadsTheSavedOnesOnce) {
    testing_support::WriteFile(dir.File("poslist.txt"), "0,0,400,300\n");
    env.imagepos = 1;  // chosen in the settings after a start in another mode
    AddPhoto("wide.png", 1600, 1200, Gdiplus::Color(255, 230, 20, 20));
    Compose();
    ASSERT_EQ(1u, composer->Positions().size());
    EXPECT_EQ(400, composer->Positions()[0].right);

    composer->ReplacePositions({});  // the editor applied with none left: no second read
    composer->EnsurePositionsLoaded();
    EXPECT_TRUE(composer->Positions().empty());
    composer->SavePositions();
    EXPECT_EQ("", ReadFile(dir.File("poslist.txt")));
}

TEST_F(ComposerTest, UserPositionsAlternateAndSetTheMaximumSize) {
    env.imagepos = 1;
    composer->ReplacePositions({RECT{0, 0, 400, 300}, RECT{600, 0, 1000, 300}});
    const Gdiplus::Color red(255, 230, 20, 20);
    AddPhoto("wide.png", 1600, 1200, red);
    AddPhoto("tall.png", 300, 1200, red);

    Compose();
    auto first = Wallpaper();
    EXPECT_TRUE(Near(PixelOf(*first, 3, 3), red, 6));
    EXPECT_TRUE(Near(PixelOf(*first, 398, 298), red, 6));
    EXPECT_TRUE(Near(PixelOf(*first, 800, 150), kBack, 6));

    Compose();  // the portrait photo: 100 x 400 in the second rectangle, overhanging below
    auto second = Wallpaper();
    EXPECT_TRUE(Near(PixelOf(*second, 800, 340), red, 6));
    EXPECT_TRUE(Near(PixelOf(*second, 700, 150), kBack, 6));
    EXPECT_TRUE(Near(PixelOf(*second, 3, 3), kBack, 6));
}

TEST_F(ComposerTest, PhotographIsScaledAndCentred) {
    const Gdiplus::Color green(255, 20, 200, 20);
    AddPhoto("p.jpg", 1600, 1200, green, "jpeg");
    env.picmaxsize = 400;
    Compose();
    auto shot = Wallpaper();
    EXPECT_TRUE(Near(PixelOf(*shot, 312 + 3, 234 + 3), green, 12));
    EXPECT_TRUE(Near(PixelOf(*shot, 711 - 3, 533 - 3), green, 12));
    EXPECT_TRUE(Near(PixelOf(*shot, 711 + 3, 533), kBack, 6));
    EXPECT_TRUE(Near(PixelOf(*shot, 512, 533 + 3), kBack, 6));
}

TEST(PathTextTest, DarkBarWithWhiteTextAtTheBottomRight) {
    Gdiplus::Bitmap canvas(1024, 768, PixelFormat24bppRGB);
    Gdiplus::Graphics g(&canvas);
    g.Clear(Gdiplus::Color(255, 200, 200, 200));
    fw::WorkArea wa{0, 0, 1024, 738};
    DrawPathText(g, "C:\\photos\\summer\\beach01.jpg", wa);

    // The bar: rows 718..729, from transparent at x 424 to nearly black at the right.
    EXPECT_GT(PixelOf(canvas, 425, 720).r, 180);
    EXPECT_LT(PixelOf(canvas, 1020, 729).r, 60);
    EXPECT_GT(PixelOf(canvas, 1020, 716).r, 190);  // above the bar
    int bright = 0;
    for (int y = 718; y < 730; ++y)
        for (int x = 800; x < 1014; ++x)
            if (PixelOf(canvas, x, y).r > 240) ++bright;
    EXPECT_GT(bright, 10);  // white letters ending 10 pixels before the right edge
    for (int y = 718; y < 730; ++y)
        for (int x = 1015; x < 1024; ++x) EXPECT_LT(PixelOf(canvas, x, y).r, 200) << x << "," << y;
}

TEST(PathTextTest, EmptyPathDrawsNothing) {
    Gdiplus::Bitmap canvas(1024, 768, PixelFormat24bppRGB);
    Gdiplus::Graphics g(&canvas);
    g.Clear(Gdiplus::Color(255, 200, 200, 200));
    DrawPathText(g, "", fw::WorkArea{0, 0, 1024, 738});
    EXPECT_EQ(200, PixelOf(canvas, 1020, 725).r);
}

}  // namespace
