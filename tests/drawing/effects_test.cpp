// The effect stage on real 24-bit canvases: layer sizes, shadow, frame, mask, rotation, greying.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "composer/effects.h"
#include "composer/output.h"
#include "framework/mbstring.h"
#include "support/canvas.h"
#include "support/fake_system.h"
#include "support/picture_checks.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const Gdiplus::Color kCanvas(255, 0, 0, 255);
const Gdiplus::Color kPhoto(255, 0, 200, 0);

std::unique_ptr<Gdiplus::Bitmap> SolidBitmap(int w, int h, const Gdiplus::Color& color,
                                             Gdiplus::PixelFormat format = PixelFormat24bppRGB) {
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(w, h, format);
    Gdiplus::Graphics(bitmap.get()).Clear(color);
    return bitmap;
}

class EffectsTest : public ::testing::Test {
protected:
    EffectsTest() : canvas(SolidBitmap(900, 700, kCanvas)), graphics(canvas.get()), photo(SolidBitmap(200, 150, kPhoto)) {
        env.m_exePath = dir.path();
        env.rotatevalue = 90;
        env.framesize = 7;
        env.framecolor = RGB(255, 0, 0);
        dir.MakeDir("effects");
    }

    // Effects that blend straight into the canvas's pixels, as the composer's do.
    PhotoEffects& Effects() {
        made = std::make_unique<PhotoEffects>(env, system);
        made->SetCanvasBitmap(canvas.get());
        return *made;
    }

    // An opaque black shadow picture of the shadow's own size makes its extent exact.
    void WriteBlackShadow() {
        auto shadow = SolidBitmap(414, 311, Gdiplus::Color(255, 0, 0, 0), PixelFormat32bppARGB);
        ASSERT_TRUE(SaveImage(*shadow, dir.File("effects\\dropshadow.png"), "png"));
    }

    ScratchDir dir;
    EnvSettings env;
    FakeSystem system;
    std::unique_ptr<Gdiplus::Bitmap> canvas;
    Gdiplus::Graphics graphics;
    std::unique_ptr<Gdiplus::Bitmap> photo;
    std::unique_ptr<PhotoEffects> made;
};

TEST_F(EffectsTest, ShadowLayerIsPhotoPlusMarginsAndPhotoMovesOnePixel) {
    env.isshadow = 1;
    // Without a shadow picture the margins stay transparent.
    Effects().DrawImageWithEffects(graphics, *photo, 400, 300, 100, 100);
    EXPECT_TRUE(AreColour(*canvas, {{100 + 405, 250}, {300, 100 + 305}}, kCanvas, 0));
    EXPECT_TRUE(IsColour(*canvas, 300, 250, kPhoto, 8));

    WriteBlackShadow();
    Effects().DrawImageWithEffects(graphics, *photo, 400, 300, 100, 100);

    EXPECT_EQ(14, PhotoEffects::ShadowMargin(400));
    EXPECT_EQ(11, PhotoEffects::ShadowMargin(300));
    // Photograph at (1, 1), 399 x 299 in the layer.
    EXPECT_TRUE(AreColour(*canvas, {{101, 101}, {498, 398}, {300, 250}}, kPhoto, 8));
    // The shadow shows at the right and bottom up to the layer's edge (414 x 311), not beyond.
    const Gdiplus::Color black(255, 0, 0, 0);
    EXPECT_TRUE(AreColour(*canvas, {{100 + 405, 250}, {300, 100 + 305}}, black, 8));
    EXPECT_TRUE(AreColour(*canvas, {{100 + 413, 250}, {300, 100 + 310}}, black, 40));
    EXPECT_TRUE(AreColour(*canvas, {{100 + 414, 250}, {300, 100 + 311}, {99, 250}}, kCanvas, 8));
    // The source offset of (-2, -2) leaves the shadow's top-left corner off the layer's edge.
    EXPECT_TRUE(IsColour(*canvas, 100 + 405, 100, kCanvas, 40));
}

TEST_F(EffectsTest, ShippedShadowIsSoftAndOnlyInTheMargins) {
    env.m_exePath = testing_support::BinDir();
    env.isshadow = 1;
    Effects().DrawImageWithEffects(graphics, *photo, 400, 300, 100, 100);

    Rgb nearPhoto = PixelOf(*canvas, 100 + 401, 250), outer = PixelOf(*canvas, 100 + 412, 250);
    EXPECT_LT(nearPhoto.b, 200) << "next to the photograph the shadow darkens the canvas";
    EXPECT_GT(nearPhoto.b, 20) << "but is not opaque";
    EXPECT_GT(outer.b, nearPhoto.b) << "and fades outwards";
    EXPECT_TRUE(IsColour(*canvas, 300, 250, kPhoto, 8));
}

// A frame with a black line around the shrunk photo; a frame wider than the photo draws only itself.
TEST_F(EffectsTest, FrameWithBlackLineAroundShrunkPhotoOrAloneWhenWiderThanThePhoto) {
    env.isframe = 1;
    Effects().DrawImageWithEffects(graphics, *photo, 400, 300, 100, 100);

    const Gdiplus::Color red(255, 255, 0, 0), black(255, 0, 0, 0);
    EXPECT_TRUE(AreColour(*canvas, {{101, 250}, {105, 250}, {300, 102}, {497, 250}, {300, 397}}, red, 8));
    // The line lies between frame and photograph on all four sides.
    EXPECT_TRUE(AreColour(*canvas, {{108, 250}, {300, 108}, {492, 250}, {300, 392}}, black, 40));
    // Photograph from (9, 9), 383 x 283.
    for (int y = 100 + 10; y < 100 + 290; ++y)
        for (int x = 100 + 10; x < 100 + 390; ++x) ASSERT_TRUE(IsColour(*canvas, x, y, kPhoto, 8));
    EXPECT_TRUE(AreColour(*canvas, {{100 + 400, 250}, {300, 100 + 300}}, kCanvas, 8));

    env.framesize = 500;
    Effects().DrawImageWithEffects(graphics, *photo, 40, 30, 100, 500);
    EXPECT_TRUE(IsColour(*canvas, 102, 502, red, 8));
    for (int x = 100; x < 140; ++x)
        EXPECT_FALSE(Near(PixelOf(*canvas, x, 515), kPhoto, 60)) << "column " << x;
    EXPECT_TRUE(IsColour(*canvas, 141, 515, kCanvas, 0));
}

TEST_F(EffectsTest, NonsenseSizesDrawNothing) {
    env.isshadow = env.isframe = 1;
    PhotoEffects& effects = Effects();
    effects.DrawImageWithEffects(graphics, *photo, 0, 300, 100, 100);
    effects.DrawImageWithEffects(graphics, *photo, 400, -5, 100, 100);
    effects.DrawImageWithEffects(graphics, *photo, 100000, 100000, 0, 0);
    env.ismask = 1;
    effects.DrawMaskedImage(graphics, *photo, -1, -1, 100, 100);
    effects.DrawMaskedImage(graphics, *photo, 100000, 90000, 0, 0);
    for (int x = 0; x < 900; x += 37)
        for (int y = 0; y < 700; y += 41) ASSERT_TRUE(IsColour(*canvas, x, y, kCanvas, 0));
}

// The shipped disc: a black circle of radius 170 about (240, 180) on a white 480 x 360 picture.
std::string DiscMask() { return testing_support::BinDir() + "\\Masks\\disc.gif"; }

// The disc cuts the photo and its corners show the canvas; the mask in use holds no handle on its
// file, so that the user can still replace or delete it.
TEST_F(EffectsTest, DiscMaskCutsPhotoAndTheMaskInUseCanStillBeReplacedOrDeletedByTheUser) {
    const std::string mine = dir.File("mine.gif");
    ASSERT_TRUE(::CopyFileA(DiscMask().c_str(), mine.c_str(), FALSE));
    env.maskfilename = mine;
    PhotoEffects& effects = Effects();
    effects.DrawMaskedImage(graphics, *photo, 480, 360, 100, 100);
    EXPECT_TRUE(AreColour(*canvas, {{340, 280}, {340, 120}, {180, 280}}, kPhoto, 8));
    EXPECT_TRUE(AreColour(*canvas, {{102, 102}, {577, 102}, {102, 457}, {577, 457}, {210, 150}}, kCanvas, 0));
    EXPECT_TRUE(IsColour(*canvas, 340, 103, kCanvas, 8));
    // The kept mask holds no handle on its file.
    EXPECT_TRUE(::CopyFileA(DiscMask().c_str(), mine.c_str(), FALSE)) << "error " << ::GetLastError();
    EXPECT_TRUE(::DeleteFileA(mine.c_str())) << "error " << ::GetLastError();
    // And still masks the next photograph from the kept copy.
    effects.DrawMaskedImage(graphics, *photo, 480, 360, 100, 100);
    EXPECT_TRUE(IsColour(*canvas, 340, 280, kPhoto, 8));
}

TEST_F(EffectsTest, RandomMaskComesFromTheList) {
    env.isrndmask = 1;
    env.maskfilename = dir.File("absent.gif");
    PhotoEffects& effects = Effects();
    effects.m_maskList = {dir.File("absent.gif"), DiscMask()};
    system.rands = {3};
    effects.DrawMaskedImage(graphics, *photo, 480, 360, 100, 100);
    EXPECT_TRUE(IsColour(*canvas, 102, 102, kCanvas, 0));
    EXPECT_TRUE(IsColour(*canvas, 340, 280, kPhoto, 8));
}

TEST_F(EffectsTest, MissingMaskLeavesPhotoWholeUnrotatedAndHiddenRotated) {
    env.maskfilename = dir.File("absent.gif");
    PhotoEffects& effects = Effects();
    effects.DrawMaskedImage(graphics, *photo, 300, 300, 100, 100);
    EXPECT_TRUE(AreColour(*canvas, {{101, 101}, {398, 398}}, kPhoto, 8));

    env.isrotate = 1;
    env.maskfilename.clear();
    effects.DrawMaskedImage(graphics, *photo, 300, 300, 500, 100);
    for (int x = 430; x < 900; x += 13)
        for (int y = 20; y < 480; y += 11) ASSERT_TRUE(IsColour(*canvas, x, y, kCanvas, 0)) << x << "," << y;
}

TEST_F(EffectsTest, RotatedMaskTurnsWithThePhoto) {
    env.maskfilename = DiscMask();
    env.isrotate = 1;
    system.rands = {45 + 30};
    Effects().DrawMaskedImage(graphics, *photo, 400, 200, 200, 200);
    // The disc became an ellipse with half-axes 141 and 94, turned by 30 degrees about (400, 300).
    const double a = 30 * 3.14159265358979 / 180;
    auto along = [&](double t) { return POINT{LONG(400 + t * std::cos(a)), LONG(300 + t * std::sin(a))}; };
    auto across = [&](double t) { return POINT{LONG(400 - t * std::sin(a)), LONG(300 + t * std::cos(a))}; };
    EXPECT_TRUE(AreColour(*canvas, {along(130), along(-130), across(80)}, kPhoto, 8));
    EXPECT_TRUE(AreColour(*canvas, {along(165), across(110)}, kCanvas, 0));
    // Layer 447 x 447 at (177, 77): its corners lie outside the turned mask and stay hidden.
    for (int x : {177, 178, 622, 623})
        for (int y : {77, 78, 522, 523}) EXPECT_TRUE(IsColour(*canvas, x, y, kCanvas, 0)) << x << "," << y;
    EXPECT_EQ(1, system.randCalls);
}

// Canvas colour of a point of a photograph w x h turned clockwise by the angle about its centre.
class RotationTest : public EffectsTest {
protected:
    // Where (u, v), relative to the photograph's centre, lands on the canvas.
    static POINT Turned(double cx, double cy, double u, double v, double degrees) {
        double a = degrees * 3.14159265358979 / 180;
        return {std::lround(cx + u * std::cos(a) - v * std::sin(a)), std::lround(cy + u * std::sin(a) + v * std::cos(a))};
    }
};

TEST_F(RotationTest, PhotoTurnsInsideDiagonalSquare) {
    env.isrotate = 1;
    system.rands = {45 + 30};  // 75 mod 90 - 45 = 30 degrees, clockwise
    Effects().DrawImageWithEffects(graphics, *photo, 400, 300, 200, 150);
    // Layer 500 x 500 at (150, 50); its centre (400, 300) is the photograph's centre.
    for (double u : {-190.0, -100.0, 0.0, 100.0, 190.0})
        for (double v : {-140.0, 0.0, 140.0}) {
            const POINT p = Turned(400, 300, u, v, 30);
            EXPECT_TRUE(IsColour(*canvas, p.x, p.y, kPhoto, 30)) << "inside at " << u << "," << v;
        }
    const auto outside = [&](double u, double v) { return Turned(400, 300, u, v, 30); };
    EXPECT_TRUE(AreColour(*canvas, {outside(-215, 0), outside(215, 0), outside(0, 165), outside(0, -165), outside(-215, -165)},
                          kCanvas, 0));
    // The unturned photograph's corners are canvas now, and nothing lies outside the 500 x 500 layer.
    EXPECT_TRUE(AreColour(*canvas, {{203, 153}, {596, 446}, {149, 300}, {651, 300}}, kCanvas, 0));
}

TEST_F(RotationTest, AngleOneStillTakesTheSquareLayer) {
    env.isrotate = 1;
    env.rotatevalue = 1;
    system.rands = {12345};
    env.isshadow = 1;
    WriteBlackShadow();
    Effects().DrawImageWithEffects(graphics, *photo, 400, 300, 200, 150);
    EXPECT_TRUE(AreColour(*canvas, {{207, 157}, {590, 440}}, kPhoto, 30));
    EXPECT_TRUE(IsColour(*canvas, 195, 300, kCanvas, 0));
    // The shadow is not widened for rotation: its margin ends 14 pixels right of the photograph.
    EXPECT_TRUE(IsColour(*canvas, 608, 300, Gdiplus::Color(255, 0, 0, 0), 40));
    EXPECT_TRUE(IsColour(*canvas, 616, 300, kCanvas, 0));
    EXPECT_EQ(1, system.randCalls);
}

TEST_F(RotationTest, SuccessivePhotosDrawNewAngles) {
    env.isrotate = 1;
    system.rands = {0, 89};  // -45 then +44
    PhotoEffects& effects = Effects();
    effects.DrawImageWithEffects(graphics, *photo, 200, 100, 100, 100);
    effects.DrawImageWithEffects(graphics, *photo, 200, 100, 500, 100);
    const POINT left = Turned(200, 150, 90, 0, -45), right = Turned(600, 150, 90, 0, 44);
    EXPECT_TRUE(AreColour(*canvas, {left, right}, kPhoto, 30));
    EXPECT_LT(left.y, 150);
    EXPECT_GT(right.y, 150);
}

// The picture as GDI+ draws it when each piece is turned on its own: shadow, frame and photograph
// into a square layer under the turn, then the layer onto the canvas.
void DrawPiecesTurned(Gdiplus::Bitmap& canvas, Gdiplus::Bitmap& photo, const std::string& shadowFile, int w, int h,
                      int x, int y, float angle, int f, const Gdiplus::Color& frameColour) {
    const int d = static_cast<int>(std::sqrt(double(w) * w + double(h) * h));
    const int sx = w * 18 / 482, sy = h * 18 / 482, ox = -(w / 2), oy = -(h / 2);
    Gdiplus::Bitmap layer(d, d, PixelFormat32bppARGB), shadow(w + sx, h + sy, PixelFormat32bppARGB),
        frame(w, h, PixelFormat32bppARGB);
    Gdiplus::Image shadowPicture(mb::Widen(shadowFile).c_str());
    Gdiplus::Graphics(&shadow).DrawImage(&shadowPicture, Gdiplus::Rect(0, 0, w + sx, h + sy), 0, 0,
                                         int(shadowPicture.GetWidth()), int(shadowPicture.GetHeight()), Gdiplus::UnitPixel);
    {
        Gdiplus::Graphics g(&frame);
        g.Clear(frameColour);
        Gdiplus::Pen black(Gdiplus::Color(255, 0, 0, 0), 1.0f);
        g.DrawRectangle(&black, f, f, w - 2 * f - 1, h - 2 * f - 1);
    }
    Gdiplus::Graphics g(&layer);
    g.Clear(Gdiplus::Color(0, 0, 0, 0));
    g.RotateTransform(angle, Gdiplus::MatrixOrderPrepend);
    g.TranslateTransform(d * 0.5f, d * 0.5f, Gdiplus::MatrixOrderAppend);
    g.DrawImage(&shadow, Gdiplus::Rect(ox, oy, w + sx, h + sy), -2, -2, w + sx + 2, h + sy + 2, Gdiplus::UnitPixel);
    g.DrawImage(&frame, Gdiplus::Rect(ox, oy, w, h), -1, -1, w + 1, h + 1, Gdiplus::UnitPixel);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    const float iw = float(photo.GetWidth()), ih = float(photo.GetHeight());
    g.DrawImage(&photo, Gdiplus::RectF(float(ox + f + 1), float(oy + f + 1), float(w - 2 * f - 2), float(h - 2 * f - 2)),
                -2.0f, -2.0f, iw + 2, ih + 2, Gdiplus::UnitPixel);
    Gdiplus::Graphics(&canvas).DrawImage(&layer, Gdiplus::Rect(x - (d - w) / 2, y - (d - h) / 2, d, d), 0, 0, d, d,
                                         Gdiplus::UnitPixel);
}

TEST_F(RotationTest, TurnedInOnePassLooksLikeEachPieceTurnedByGdiplus) {
    env.m_exePath = testing_support::BinDir();
    env.isrotate = env.isframe = env.isshadow = 1;
    const int w = 420, h = 300;
    // Smooth colour with sharp bars, as photographs have both.
    Gdiplus::Bitmap picture(w, h, PixelFormat24bppRGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.SetPixel(x, y, (x / 30 + y / 30) % 4 == 0 && x % 30 < 8
                                       ? Gdiplus::Color(255, 250, 250, 240)
                                       : Gdiplus::Color(255, BYTE(40 + x * 180 / w), BYTE(60 + y * 150 / h), BYTE(200 - (x + y) / 4)));
    // Our pass, and GDI+ turning the card when the canvas's pixels are out of reach.
    const struct {
        int turn;
        bool throughGdiplus;
    } cases[] = {{-38, false}, {0, false}, {17, false}, {44, false}, {25, true}};
    for (const auto& [turn, throughGdiplus] : cases) {
        system.rands = {turn + 45};
        auto ours = SolidBitmap(900, 700, kCanvas), gdiplus = SolidBitmap(900, 700, kCanvas);
        PhotoEffects effects(env, system);
        if (!throughGdiplus) effects.SetCanvasBitmap(ours.get());
        Gdiplus::Graphics g(ours.get());
        effects.DrawImageWithEffects(g, picture, w, h, 230, 190);
        DrawPiecesTurned(*gdiplus, picture, env.InstalledFilePath("\\effects\\dropshadow.png"), w, h, 230, 190,
                         float(turn), env.framesize, Gdiplus::Color(255, 255, 0, 0));
        const auto difference = testing_support::Compare({"turned-one-pass", ours.get()}, {"turned-pieces", gdiplus.get()});
        EXPECT_LT(difference.mean, 0.8) << turn << " degrees: mean difference";
        EXPECT_LT(difference.distant, 0.003) << turn << " degrees: pixels differing by more than 40";
    }
}

TEST(ApplyMaskTest, AlphaIsInverseOfMaskRedOnly) {
    auto photo = SolidBitmap(3, 2, Gdiplus::Color(255, 10, 20, 30), PixelFormat32bppARGB);
    Gdiplus::Bitmap mask(3, 2, PixelFormat32bppARGB);
    const Gdiplus::Color masks[2][3] = {{{255, 255, 0, 0}, {255, 0, 255, 255}, {255, 128, 128, 128}},
                                        {{0, 0, 0, 0}, {255, 255, 255, 255}, {255, 1, 0, 0}}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) mask.SetPixel(x, y, masks[y][x]);
    EXPECT_TRUE(ApplyMask(*photo, mask));
    const int expected[2][3] = {{0, 255, 127}, {255, 0, 254}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            Gdiplus::Color c;
            photo->GetPixel(x, y, &c);
            EXPECT_EQ(expected[y][x], c.GetA()) << x << "," << y;
            EXPECT_EQ((std::array<int, 3>{10, 20, 30}), (std::array<int, 3>{c.GetR(), c.GetG(), c.GetB()}));
        }
}

TEST(BlendLayer24Test, MatchesDrawingTheLayerAndClipsAtEveryEdge) {
    // A layer of opaque, transparent and half-transparent pixels, placed past each edge in turn.
    Gdiplus::Bitmap layer(4, 3, PixelFormat32bppARGB);
    const Gdiplus::Color colours[3] = {Gdiplus::Color(255, 200, 10, 60), Gdiplus::Color(0, 255, 255, 255),
                                       Gdiplus::Color(128, 30, 240, 90)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) layer.SetPixel(x, y, colours[(x + y) % 3]);
    const POINT places[] = {{1, 1}, {-2, -1}, {4, 3}, {-5, 0}, {7, 0}};
    for (const POINT& at : places) {
        auto blended = SolidBitmap(7, 5, Gdiplus::Color(255, 40, 80, 120));
        auto drawn = SolidBitmap(7, 5, Gdiplus::Color(255, 40, 80, 120));
        ASSERT_TRUE(BlendLayer24(*blended, layer, at.x, at.y));
        Gdiplus::Graphics(drawn.get()).DrawImage(&layer, Gdiplus::Rect(at.x, at.y, 4, 3), 0, 0, 4, 3,
                                                 Gdiplus::UnitPixel);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                Gdiplus::Color expected;
                drawn->GetPixel(x, y, &expected);
                EXPECT_TRUE(Near(PixelOf(*blended, x, y), expected, 1)) << at.x << "," << at.y << " at " << x << "," << y;
            }
    }
}

// Greying weighs red, green and blue 30:59:11, again and again, also in a row with padding
// and over every value of each component.
TEST(GrayBitmapTest, WeightsAndRepeatsAndPaddedRowsAndEveryComponentValue) {
    // Width 5: 15 bytes of pixels in a 16-byte row.
    Gdiplus::Bitmap bitmap(5, 2, PixelFormat24bppRGB);
    const Gdiplus::Color in[5] = {{255, 255, 255, 255}, {255, 255, 0, 0}, {255, 0, 255, 0}, {255, 0, 0, 255},
                                  {255, 10, 200, 100}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x) bitmap.SetPixel(x, y, in[x]);
    const int expected[5] = {255, 76, 150, 28, (300 + 59 * 200 + 1100) / 100};
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(0, GrayBitmap(bitmap));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 5; ++x) {
                Rgb c = PixelOf(bitmap, x, y);
                EXPECT_EQ(expected[x], c.r) << "pass " << pass << " at " << x << "," << y;
                EXPECT_EQ(c.r, c.g);
                EXPECT_EQ(c.r, c.b);
            }
    }

    Gdiplus::Bitmap gradient(256, 3, PixelFormat24bppRGB);
    for (int x = 0; x < 256; ++x) {
        gradient.SetPixel(x, 0, Gdiplus::Color(255, x, 0, 0));
        gradient.SetPixel(x, 1, Gdiplus::Color(255, 0, x, 0));
        gradient.SetPixel(x, 2, Gdiplus::Color(255, 0, 0, x));
    }
    GrayBitmap(gradient);
    for (int x = 0; x < 256; ++x) {
        EXPECT_EQ(30 * x / 100, PixelOf(gradient, x, 0).g);
        EXPECT_EQ(59 * x / 100, PixelOf(gradient, x, 1).b);
        EXPECT_EQ(11 * x / 100, PixelOf(gradient, x, 2).r);
    }
}

// The masks are the folder's GIF files by their full paths; one is picked as rand() modulo their
// count, and none without any. At least six ship, each keeping the centre and hiding a corner.
TEST(MaskListTest, ListsGifFilesWithFullPathsOnlyPicksRandModuloCountAndSixShip) {
    ScratchDir dir;
    EnvSettings env;
    FakeSystem system;
    std::string folder = dir.MakeDir("Masks");
    testing_support::WriteFile(folder + "\\a.gif", "x");
    testing_support::WriteFile(folder + "\\b.GIF", "x");
    testing_support::WriteFile(folder + "\\notes.txt", "x");
    dir.MakeDir("Masks\\folder.gif");
    PhotoEffects effects(env, system);
    effects.m_maskList = {"stale"};
    effects.LoadMasks(folder);
    std::vector<std::string> sorted = effects.m_maskList;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<std::string>{folder + "\\a.gif", folder + "\\b.GIF"}), sorted);

    effects.LoadMasks(dir.File("vanished"));
    EXPECT_TRUE(effects.m_maskList.empty());
    EXPECT_EQ("", effects.PickRandomMask());
    EXPECT_EQ(0, system.randCalls);
    effects.m_maskList = {"m0", "m1", "m2"};
    system.rands = {32767, 4};
    EXPECT_EQ("m1", effects.PickRandomMask());
    EXPECT_EQ("m1", effects.PickRandomMask());

    effects.LoadMasks(testing_support::BinDir() + "\\Masks");
    ASSERT_GE(effects.m_maskList.size(), 6u);
    for (const std::string& path : effects.m_maskList) {
        Gdiplus::Bitmap mask(mb::Widen(path).c_str());
        ASSERT_EQ(Gdiplus::Ok, mask.GetLastStatus()) << path;
        int w = static_cast<int>(mask.GetWidth()), h = static_cast<int>(mask.GetHeight());
        EXPECT_LT(PixelOf(mask, w / 2, h / 2).r, 30) << path;
        EXPECT_GT(PixelOf(mask, 1, 1).r, 225) << path;
    }
}

}  // namespace
