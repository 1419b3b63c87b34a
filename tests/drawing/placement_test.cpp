// Scaling, the three placement modes with the reflection, poslist.txt, and the path text.
#include "composer/placement.h"
#include "state/position_list.h"

#include <array>
#include <deque>
#include <utility>

#include "drawing/composer_fixture.h"

using namespace composer_testing;
using namespace testing_support;

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
        EXPECT_EQ((std::pair{c.drawnW, c.drawnH}), (std::pair{size.w, size.h}))
            << c.w << " x " << c.h << (c.notStretch ? " not stretched" : "");
    }
}

using XY = std::pair<LONG, LONG>;
XY At(POINT p) { return {p.x, p.y}; }

class PlacementTest : public ::testing::Test {
protected:
    FakeSystem system;
    std::vector<RECT> positions;
    int index = 0;
    POINT lastCentre{0, 0};
    PlacementState state{positions, index, lastCentre};

    XY Place(int mode, int w, int h) { return At(PlaceImage(mode, 1024, 768, w, h, state, system)); }
};

// One placement from a fresh state each: the modes, the dice and ticks, the margins.
TEST_F(PlacementTest, EachModeFromAFreshState) {
    const struct {
        const char* what;
        int mode, w, h;
        std::vector<RECT> positions;
        int index;
        std::deque<int> rands;
        std::deque<DWORD> ticks;
        XY expected;
        int indexAfter;
    } cases[] = {
        {"centre", kPlaceCentre, 400, 300, {}, 0, {}, {}, {312, 234}, 0},
        {"unknown mode", 3, 400, 300, {}, 0, {}, {}, {0, 0}, 0},
        {"user positions without any: centred", kPlaceUserPositions, 400, 300, {}, 0, {}, {}, {312, 234}, 0},
        {"index beyond a shrunk list starts over", kPlaceUserPositions, 100, 100, {RECT{0, 0, 100, 100}}, 5, {}, {},
         {0, 0}, 0},
        {"random product wraps as unsigned 32 bits", kPlaceRandom, 400, 300, {}, 0, {32767, 32767},
         {0xFFFFFFFFu, 0x80000000u},
         {static_cast<LONG>((32767u * 0xFFFFFFFFu) % 604u) + 10, static_cast<LONG>((32767u * 0x80000000u) % 448u) + 10}, 0},
        {"random range of zero or less keeps the margin", kPlaceRandom, 1004, 900, {}, 0, {5, 5}, {5, 5}, {10, 10}, 0},
    };
    for (const auto& c : cases) {
        positions = c.positions;
        index = c.index;
        lastCentre = {0, 0};
        system.rands = c.rands;
        system.ticks = c.ticks;
        EXPECT_EQ(c.expected, Place(c.mode, c.w, c.h)) << c.what;
        EXPECT_EQ(c.indexAfter, index) << c.what;
    }
}

// User positions are taken in turn and centred; one wholly off the screen (saved on a larger one)
// is moved into view, one that shows in part is kept.
TEST_F(PlacementTest, UserPositionsAreTakenInTurnCentredAndOnlyWhollyHiddenOnesMovedIntoView) {
    positions = {RECT{0, 0, 400, 300}, RECT{600, 0, 1000, 300}};
    EXPECT_EQ(0, Place(kPlaceUserPositions, 400, 300).first);
    EXPECT_EQ(600, Place(kPlaceUserPositions, 400, 300).first);
    EXPECT_EQ((400 - 225) / 2, Place(kPlaceUserPositions, 225, 300).first);  // a portrait photo in the first again
    EXPECT_EQ(1, index);
    EXPECT_EQ(XY(650, -50), Place(kPlaceUserPositions, 300, 400)) << "overhangs above and below";

    // Saved on a 1920 x 1200 screen, used on 1024 x 768.
    index = 0;
    positions = {RECT{1500, 900, 1900, 1200}, RECT{900, 100, 1300, 400}, RECT{-500, -400, -100, -100}};
    EXPECT_EQ(XY(1024 - 400, 768 - 300), Place(kPlaceUserPositions, 400, 300));
    EXPECT_EQ(XY(900, 100), Place(kPlaceUserPositions, 400, 300)) << "a position that shows in part is the user's choice";
    EXPECT_EQ(XY(0, 0), Place(kPlaceUserPositions, 400, 300));
    EXPECT_EQ(1900, positions[0].right) << "the saved positions themselves are not changed";
}

// Dice times ticks within the margins; a previous centre inside the photo is reflected through
// the screen's centre.
TEST_F(PlacementTest, RandomPlacementUsesDiceTimesTicksWithinTheMarginsAndReflectsTheLastCentre) {
    system.rands = {7, 3, 99};
    system.ticks = {100, 1000};
    const XY p = Place(kPlaceRandom, 400, 300);
    EXPECT_EQ(XY((7 * 100) % (1024 - 400 - 20) + 10, (3 * 1000) % (768 - 300 - 20) + 10), p);
    EXPECT_EQ(3, system.randCalls);  // one more number is drawn and discarded
    EXPECT_EQ(XY(p.first + 200, p.second + 150), At(lastCentre));

    lastCentre = {300, 200};
    system.rands = {1, 1};
    system.ticks = {100, 100};  // x = y = 110: the photo covers (300, 200)
    // Centre (310, 260) reflected: (714, 508), top-left (514, 358).
    EXPECT_EQ(XY(514, 358), Place(kPlaceRandom, 400, 300));
    EXPECT_EQ(XY(714, 508), At(lastCentre));
}

TEST(PositionsFileTest, LineParsing) {
    using Rect = std::array<LONG, 4>;
    const struct {
        const char* line;
        bool ok;
        Rect expected;
    } cases[] = {
        {"10, 20 ,30,40\n", true, {10, 20, 30, 40}},
        {"1,,2,,,3,4,99", true, {1, 2, 3, 4}},  // adjacent commas act as one
        {"500,0,100,-20\n", true, {500, 0, 100, -20}},  // not validated
        // Values no screen has are held to +-100000 before any arithmetic sees them.
        {"99999999999999999999,-2147483648,2147483647,-99999999999\n", true, {100000, -100000, 100000, -100000}},
        {"-100000,100000,0,0", true, {-100000, 100000, 0, 0}},
        {"1,2,3\n", false, {}},
        {"\n", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        RECT r{};
        EXPECT_EQ(c.ok, ParsePositionLine(c.line, r)) << c.line;
        if (c.ok) {
            EXPECT_EQ(c.expected, (Rect{r.left, r.top, r.right, r.bottom})) << c.line;
        }
    }
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

// Loaded beside the program and saved only when known; a switch to user positions after the
// start reads them once.
TEST_F(ComposerTest, PositionsAreLoadedBesideTheProgramOnceAndSavedOnlyWhenKnown) {
    testing_support::WriteFile(dir.File("poslist.txt"), "0,0,400,300\n");
    composer->SavePositions();  // never read this run: the file is left alone
    EXPECT_EQ("0,0,400,300\n", ReadFile(dir.File("poslist.txt")));

    EXPECT_EQ(1, composer->LoadPositions());
    ASSERT_EQ(1u, composer->Positions().size());
    composer->SavePositions();  // read this run: written back, in the program's own line ends
    EXPECT_EQ("0,0,400,300\r\n", ReadFile(dir.File("poslist.txt")));

    // Chosen in the settings after a start in another mode: read at the next change.
    composer = NewComposer();
    env.imagepos = 1;
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
    EXPECT_TRUE(AreColour(*first, {{3, 3}, {398, 298}}, red, 6));
    EXPECT_TRUE(IsColour(*first, 800, 150, kBack, 6));

    Compose();  // the portrait photo: 100 x 400 in the second rectangle, overhanging below
    auto second = Wallpaper();
    EXPECT_TRUE(IsColour(*second, 800, 340, red, 6));
    EXPECT_TRUE(AreColour(*second, {{700, 150}, {3, 3}}, kBack, 6));
}

TEST_F(ComposerTest, PhotographIsScaledAndCentred) {
    const Gdiplus::Color green(255, 20, 200, 20);
    AddPhoto("p.jpg", 1600, 1200, green, "jpeg");
    env.picmaxsize = 400;
    Compose();
    auto shot = Wallpaper();
    EXPECT_TRUE(AreColour(*shot, {{312 + 3, 234 + 3}, {711 - 3, 533 - 3}}, green, 12));
    EXPECT_TRUE(AreColour(*shot, {{711 + 3, 533}, {512, 533 + 3}}, kBack, 6));
}

// A dark bar with white text at the bottom right; an empty path draws nothing.
TEST(PathTextTest, DarkBarWithWhiteTextAtTheBottomRightAndNoneForNoPath) {
    Gdiplus::Bitmap canvas(1024, 768, PixelFormat24bppRGB);
    Gdiplus::Graphics g(&canvas);
    g.Clear(Gdiplus::Color(255, 200, 200, 200));
    DrawPathText(g, "", fw::WorkArea{0, 0, 1024, 738});
    EXPECT_EQ(200, PixelOf(canvas, 1020, 725).r);
    DrawPathText(g, "C:\\photos\\summer\\beach01.jpg", fw::WorkArea{0, 0, 1024, 738});

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

}  // namespace
