// Photos decoded at the size they are drawn: JPEG's colour forms and orientations, scaled decodes,
// pictures passed over before a large allocation, the BMP written from the canvas, and the
// composed photograph against the full-size decode it replaces.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "composer/canvas.h"
#include "composer/effects.h"
#include "composer/output.h"
#include "composer/picture_decode.h"
#include "drawing/marked_picture.h"
#include "framework/mbstring.h"
#include "state/settings.h"
#include "support/canvas.h"
#include "support/fake_system.h"
#include "support/jpeg_writer.h"
#include "support/picture_checks.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;
using marked_picture::FullSize;

class PictureDecodeTest : public ::testing::Test {
protected:
    ScratchDir dir;
};

#if DIORAMIX_HAS_LIBJPEG
TEST_F(PictureDecodeTest, EveryExifOrientationStandsUpright) {
    for (const marked_picture::Turning& t : marked_picture::kTurnings) {
        SCOPED_TRACE(t.orientation);
        const std::string path = dir.File("marked" + std::to_string(t.orientation) + ".jpg");
        WriteJpeg(path, 64, 48, [](int x, int y) {
            const marked_picture::Argb c = marked_picture::MarkColour(x, y, 64);
            return Rgb8{uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)};
        }, JpegOptions{JpegForm::Rgb, false, 0, t.orientation});
        marked_picture::ExpectMarks(DecodePicture(path, FullSize), t, 64, 48, 64, 48, 12);
    }
}

TEST_F(PictureDecodeTest, GreyCmykProgressiveAndRestartMarkersDecode) {
    struct Case {
        const char* name;
        JpegOptions options;
    };
    const Case cases[] = {{"grey", {JpegForm::Grey}},          {"cmyk", {JpegForm::Cmyk}},
                          {"ycck", {JpegForm::Ycck}},          {"progressive", {JpegForm::Rgb, true}},
                          {"restarts", {JpegForm::Rgb, false, 1}}};
    // Left half orange, right half blue.
    auto colour = [](int x, int) { return x < 64 ? Rgb8{240, 140, 20} : Rgb8{30, 60, 200}; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.File(std::string(c.name) + ".jpg");
        ASSERT_TRUE(WriteJpeg(path, 128, 96, colour, c.options));
        DecodedPicture picture = DecodePicture(path, FullSize);
        ASSERT_TRUE(picture);
        ASSERT_EQ(128u, picture.image->GetWidth());
        if (c.options.form == JpegForm::Grey) {
            EXPECT_TRUE(IsColour(*picture.image, 20, 40, {156, 156, 156}, 12));
            EXPECT_TRUE(IsColour(*picture.image, 100, 40, {66, 66, 66}, 12));
        } else {
            EXPECT_TRUE(IsColour(*picture.image, 20, 40, {240, 140, 20}, 12));
            EXPECT_TRUE(IsColour(*picture.image, 100, 40, {30, 60, 200}, 12));
        }
    }
}

TEST_F(PictureDecodeTest, DecodedAtTheSmallestScaleCoveringTheDrawnSize) {
    std::string path = dir.File("photo.jpg");
    WriteJpeg(path, 1600, 1200, [](int x, int y) { return Rgb8{uint8_t(x / 7), uint8_t(y / 5), 128}; });
    int askedW = 0, askedH = 0;
    DecodedPicture picture = DecodePicture(path, [&](int w, int h) {
        askedW = w;
        askedH = h;
        return DrawnSize{300, 225};
    });
    ASSERT_TRUE(picture);
    EXPECT_EQ(1600, askedW);
    EXPECT_EQ(1200, askedH);
    EXPECT_EQ(1600, picture.width);
    EXPECT_EQ(1200, picture.height);
    EXPECT_EQ(400u, picture.image->GetWidth()) << "2/8: 1/8 would be 200 wide";
    EXPECT_EQ(300u, picture.image->GetHeight());

    // A portrait stored on its side is scaled by its upright size.
    std::string side = dir.File("side.jpg");
    WriteJpeg(side, 1600, 1200, [](int, int) { return Rgb8{90, 90, 90}; }, JpegOptions{JpegForm::Rgb, false, 0, 6});
    DecodedPicture portrait = DecodePicture(side, [](int w, int h) {
        EXPECT_EQ(1200, w);
        EXPECT_EQ(1600, h);
        return DrawnSize{150, 200};
    });
    ASSERT_TRUE(portrait);
    EXPECT_EQ(150u, portrait.image->GetWidth());
    EXPECT_EQ(200u, portrait.image->GetHeight());
}

TEST_F(PictureDecodeTest, TruncatedJpegsArePassedOver) {
    std::string path = dir.File("whole.jpg");
    WriteJpeg(path, 256, 256, [](int x, int y) { return Rgb8{uint8_t(x * y), uint8_t(x ^ y), uint8_t(x + y)}; });
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 2000u);
    const size_t cuts[] = {bytes.size() / 2, 300, 20};
    for (size_t cut : cuts) {
        SCOPED_TRACE(cut);
        std::string part = dir.File("cut" + std::to_string(cut) + ".jpg");
        WriteBytes(part, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(cut)));
        EXPECT_FALSE(DecodePicture(part, FullSize));
    }
}

TEST_F(PictureDecodeTest, HugeJpegHeaderIsPassedOverWithoutALargeAllocation) {
    std::string path = dir.File("small.jpg");
    WriteJpeg(path, 16, 16, [](int, int) { return Rgb8{10, 20, 30}; });
    std::vector<uint8_t> bytes = ReadBytes(path);
    // The frame header claims 60000 x 60000: even at 1/8 that is 7500 x 7500.
    const uint8_t frame[2] = {0xFF, 0xC0};
    auto sof = std::search(bytes.begin(), bytes.end(), std::begin(frame), std::end(frame));
    ASSERT_NE(bytes.end(), sof);
    const size_t at = static_cast<size_t>(sof - bytes.begin());
    bytes[at + 5] = bytes[at + 7] = 0xEA;
    bytes[at + 6] = bytes[at + 8] = 0x60;
    WriteBytes(path, bytes);

    const SIZE_T peakBefore = PeakPrivateBytes();
    int askedW = 0;
    EXPECT_FALSE(DecodePicture(path, [&](int w, int) {
        askedW = w;
        return DrawnSize{600, 600};
    }));
    EXPECT_EQ(60000, askedW) << "the header was read";
    EXPECT_LT(PeakPrivateBytes() - peakBefore, SIZE_T{16} << 20);
}
#endif

TEST_F(PictureDecodeTest, HugePngHeaderIsPassedOverBeforeGdiplusDecodesIt) {
    // A PNG whose header claims 15000 x 15000 (900 MB decoded).
    const uint8_t header[33] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                0, 0, 0x3A, 0x98, 0, 0, 0x3A, 0x98, 8, 2, 0, 0, 0, 0x12, 0x34, 0x56, 0x78};
    std::string path = dir.File("huge.png");
    WriteBytes(path, std::vector<uint8_t>(std::begin(header), std::end(header)));
    const SIZE_T peakBefore = PeakPrivateBytes();
    EXPECT_FALSE(DecodePicture(path, FullSize));
    EXPECT_LT(PeakPrivateBytes() - peakBefore, SIZE_T{16} << 20);
}

TEST_F(PictureDecodeTest, OtherFormatsDecodeWithGdiplusAtFullSizeAndShrinkOntoALayer) {
    std::string path = dir.File("photo.png");
    {
        Gdiplus::Bitmap bitmap(300, 200, PixelFormat24bppRGB);
        Gdiplus::Graphics g(&bitmap);
        g.Clear(Gdiplus::Color(255, 200, 30, 60));
        Gdiplus::SolidBrush blue(Gdiplus::Color(255, 0, 0, 255));
        g.FillRectangle(&blue, 150, 0, 150, 200);
        SaveImage(bitmap, path, "png");
    }
    DecodedPicture picture = DecodePicture(path, [](int, int) { return DrawnSize{150, 100}; });
    ASSERT_TRUE(picture);
    EXPECT_EQ(300u, picture.image->GetWidth());
    // Brought once onto a layer: straight over a transparent part, blended over a half-covered one.
    Gdiplus::Bitmap layer(170, 120, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&layer);
        g.Clear(Gdiplus::Color(0, 0, 0, 0));
        Gdiplus::SolidBrush halfWhite(Gdiplus::Color(128, 255, 255, 255));
        g.FillRectangle(&halfWhite, 0, 60, 170, 60);
    }
    ASSERT_TRUE(ShrinkOnto(layer, *picture.image, Gdiplus::Rect(10, 10, 150, 100)));
    EXPECT_TRUE(IsColour(layer, 30, 50, {200, 30, 60}, 2));
    EXPECT_TRUE(IsColour(layer, 140, 50, {0, 0, 255}, 2));
    Gdiplus::Color corner, inside;
    layer.GetPixel(5, 5, &corner);
    layer.GetPixel(140, 100, &inside);
    EXPECT_EQ(0, corner.GetA()) << "outside the rectangle the layer is left as it was";
    EXPECT_EQ(255, inside.GetA()) << "an opaque picture covers what was there";
    EXPECT_TRUE(IsColour(layer, 140, 100, {0, 0, 255}, 2));
    EXPECT_FALSE(ShrinkOnto(layer, *picture.image, Gdiplus::Rect(0, 0, 160, 201))) << "never enlarged";
    EXPECT_FALSE(ShrinkOnto(layer, *picture.image, Gdiplus::Rect(30, 30, 150, 100))) << "off the layer";

    // A half-transparent picture is blended over what the layer holds.
    Gdiplus::Bitmap glass(40, 40, PixelFormat32bppARGB), base(20, 20, PixelFormat32bppARGB);
    Gdiplus::Graphics(&glass).Clear(Gdiplus::Color(128, 0, 0, 255));
    Gdiplus::Graphics(&base).Clear(Gdiplus::Color(255, 255, 0, 0));
    ASSERT_TRUE(ShrinkOnto(base, glass, Gdiplus::Rect(0, 0, 20, 20)));
    EXPECT_TRUE(IsColour(base, 10, 10, {127, 0, 128}, 3));

    testing_support::WriteFile(dir.File("text.png"), "not a picture at all");
    EXPECT_FALSE(DecodePicture(dir.File("text.png"), FullSize));
    EXPECT_FALSE(DecodePicture(dir.File("missing.png"), FullSize));
}

TEST_F(PictureDecodeTest, WrittenBmpEqualsGdiplusEncoderByteForByte) {
    // The last size is written in several pieces.
    const SIZE sizes[] = {{37, 23}, {40, 23}, {1, 23}, {1000, 200}};
    for (SIZE size : sizes) {
        const int width = size.cx, height = size.cy;
        SCOPED_TRACE(width);
        Canvas24 canvas(width, height);
        ASSERT_TRUE(canvas.IsValid());
        canvas.Fill(0xFF485573);
        {
            Gdiplus::Graphics g(&canvas.Bitmap());
            Gdiplus::LinearGradientBrush brush(Gdiplus::Point(0, 0), Gdiplus::Point(width, height),
                                               Gdiplus::Color(255, 250, 10, 90), Gdiplus::Color(255, 5, 200, 40));
            g.FillEllipse(&brush, 0, 2, width, height - 4);
        }
        const std::string ours = dir.File("ours.bmp"), theirs = dir.File("theirs.bmp");
        ASSERT_TRUE(WriteBmp24(canvas.Bitmap(), ours));
        SaveImage(canvas.Bitmap(), theirs, "bmp");
        std::string a = testing_support::ReadFile(ours), b = testing_support::ReadFile(theirs);
        ASSERT_EQ(b.size(), a.size());
        EXPECT_TRUE(a == b);
    }
}

// A filled canvas equals a cleared bitmap; a copied one the picture, greyed when asked.
TEST_F(PictureDecodeTest, FilledCanvasEqualsAClearedOneAndACopiedOneThePictureGreyedOrNot) {
    Canvas24 filled(50, 7);
    filled.Fill(0xFF123456);
    Gdiplus::Bitmap cleared(50, 7, PixelFormat24bppRGB);
    Gdiplus::Graphics(&cleared).Clear(Gdiplus::Color(0xFF123456));
    for (int y = 0; y < 7; y += 3)
        for (int x = 0; x < 50; x += 7) EXPECT_TRUE(IsColour(filled.Bitmap(), x, y, PixelOf(cleared, x, y), 0));

    Gdiplus::Bitmap saved(31, 9, PixelFormat24bppRGB);
    {
        Gdiplus::Graphics g(&saved);
        Gdiplus::LinearGradientBrush brush(Gdiplus::Point(0, 0), Gdiplus::Point(31, 9), Gdiplus::Color(255, 250, 10, 90),
                                           Gdiplus::Color(255, 5, 200, 40));
        g.FillRectangle(&brush, 0, 0, 31, 9);
    }
    Canvas24 copied(31, 9), greyed(31, 9);
    ASSERT_TRUE(copied.CopyFrom(saved, false));
    ASSERT_TRUE(greyed.CopyFrom(saved, true));
    Canvas24 wrongSize(30, 9);
    EXPECT_FALSE(wrongSize.CopyFrom(saved, false));
    Rgb first = PixelOf(saved, 3, 4);
    GrayBitmap(saved);
    for (int x = 0; x < 31; x += 5) EXPECT_TRUE(IsColour(greyed.Bitmap(), x, 4, PixelOf(saved, x, 4), 0));
    EXPECT_TRUE(IsColour(copied.Bitmap(), 3, 4, first, 0));
}

#if DIORAMIX_HAS_LIBJPEG
// The photograph with frame, shadow and rotation drawn from the scaled decode,
// against the same drawn from GDI+'s full-size decode as before.
TEST_F(PictureDecodeTest, ComposedPhotoMatchesTheFullSizeDecode) {
    std::string path = dir.File("sample.jpg");
    WriteJpeg(path, 2000, 1500, [](int x, int y) {
        // Smooth colour with a few sharp bars, as a photograph has both.
        if ((x / 250 + y / 250) % 5 == 0 && x % 250 < 60) return Rgb8{250, 250, 240};
        return Rgb8{uint8_t(40 + x * 180 / 2000), uint8_t(60 + y * 150 / 1500), uint8_t(200 - (x + y) * 150 / 3500)};
    }, JpegOptions{JpegForm::Rgb, false, 0, 0, 92});

    EnvSettings env;
    ResetSettings(env);
    env.m_exePath = testing_support::BinDir();
    env.isframe = env.isshadow = env.isrotate = 1;
    env.rotatevalue = 90;
    testing_support::FakeSystem system;
    system.fallbackRand = 70;  // 25 degrees

    auto compose = [&](Gdiplus::Image& image, Gdiplus::SizeF original) {
        auto canvas = std::make_unique<Canvas24>(800, 600);
        canvas->Fill(0xFF485573);
        Gdiplus::Graphics g(&canvas->Bitmap());
        PhotoEffects(env, system).DrawImageWithEffects(g, image, 400, 300, 150, 120, original);
        return canvas;
    };
    Gdiplus::Bitmap full(mb::Widen(path).c_str());
    ASSERT_EQ(Gdiplus::Ok, full.GetLastStatus());
    auto before = compose(full, {});

    DecodedPicture picture = DecodePicture(path, [](int, int) { return DrawnSize{400, 300}; });
    ASSERT_TRUE(picture);
    EXPECT_EQ(500u, picture.image->GetWidth());
    auto after = compose(*picture.image, Gdiplus::SizeF(2000, 1500));

    const auto difference =
        testing_support::Compare({"photo-full-decode", &before->Bitmap()}, {"photo-scaled-decode", &after->Bitmap()});
    EXPECT_LT(difference.mean, 1.5) << "mean difference";
    EXPECT_LT(difference.distant, 0.006) << "pixels differing by more than 40 (edges of sharp bars)";
}
#endif

}  // namespace
