// The pure parts of decoding at the drawn size: the DCT scale, the EXIF orientation, sizes read
// from headers, the area shrink, the BMP layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "composer/canvas.h"
#include "composer/jpeg_decode.h"
#include "composer/picture_decode.h"
#include "composer/wic_decode.h"
#include "support/jpeg_writer.h"

namespace {

TEST(JpegScaleTest, SmallestScaleThatStillCoversTheDrawnSize) {
    EXPECT_EQ(2, ChooseJpegScale(4000, 3000, 1000, 750)) << "exactly 2/8";
    EXPECT_EQ(3, ChooseJpegScale(4000, 3000, 1001, 750)) << "one pixel more needs the next scale";
    EXPECT_EQ(3, ChooseJpegScale(4000, 3000, 600, 751)) << "either direction decides";
    EXPECT_EQ(1, ChooseJpegScale(4000, 3000, 400, 300)) << "smaller than 1/8 of the photo";
    EXPECT_EQ(1, ChooseJpegScale(4001, 3001, 501, 376)) << "libjpeg rounds the scaled size up";
    EXPECT_EQ(8, ChooseJpegScale(4000, 3000, 4000, 3000));
    EXPECT_EQ(8, ChooseJpegScale(800, 600, 1920, 1080)) << "a drawn size larger than the photo: full size";
    EXPECT_EQ(1, ChooseJpegScale(16000, 12000, 600, 450));
    EXPECT_EQ(1, ChooseJpegScale(4000, 3000, 0, 0));
}

#if DIORAMIX_HAS_LIBJPEG
// The tag in both byte orders; TIFF data with or without the EXIF mark.
TEST(ExifOrientationTest, ReadsTheTagInBothByteOrdersWithOrWithoutTheExifMark) {
    for (int o = 1; o <= 8; ++o)
        for (bool bigEndian : {true, false}) {
            SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
            std::vector<uint8_t> exif = testing_support::ExifWithOrientation(o, bigEndian);
            EXPECT_EQ(o, ExifOrientation(exif.data(), exif.size()));
            EXPECT_EQ(o, TiffOrientation(exif.data(), exif.size()));
            EXPECT_EQ(o, TiffOrientation(exif.data() + 6, exif.size() - 6)) << "WebP's EXIF chunk: TIFF alone";
            EXPECT_EQ(1, ExifOrientation(exif.data() + 6, exif.size() - 6)) << "a JPEG segment needs its mark";
        }
    EXPECT_EQ(1, TiffOrientation(nullptr, 0));
    const uint8_t junk[] = {'E', 'x', 'i', 'f', 0, 0, 'X', 'X', 42, 0};
    EXPECT_EQ(1, TiffOrientation(junk, sizeof junk));
}

TEST(ExifOrientationTest, MalformedSegmentsMeanUpright) {
    std::vector<uint8_t> exif = testing_support::ExifWithOrientation(6);
    EXPECT_EQ(1, ExifOrientation(exif.data(), 20)) << "cut inside the directory";
    EXPECT_EQ(1, ExifOrientation(nullptr, 0));
    std::vector<uint8_t> wrong = exif;
    wrong[0] = 'X';
    EXPECT_EQ(1, ExifOrientation(wrong.data(), wrong.size())) << "not an EXIF segment";
    std::vector<uint8_t> farOffset = exif;
    farOffset[6 + 4] = 0x7F;  // first directory far beyond the segment
    EXPECT_EQ(1, ExifOrientation(farOffset.data(), farOffset.size()));
    std::vector<uint8_t> outOfRange = testing_support::ExifWithOrientation(9);
    EXPECT_EQ(1, ExifOrientation(outOfRange.data(), outOfRange.size()));
}
#endif

TEST(WicOrientationTest, HeifIsTurnedByWhatItsDecoderReportsNeverAgainByTheExifCopy) {
    struct Case {
        bool heif;
        int report, tag, applied;
        const char* why;
    } cases[] = {
        {false, 0, 6, 6, "a JPEG's EXIF tag when the decoder says nothing"},
        {false, 8, 6, 8, "the decoder's photo property first"},
        {false, 0, 0, 1, "nothing said: upright"},
        {false, 9, 3, 3, "a report out of range is none"},
        {false, 0, 65535, 1, "nor is a tag out of range"},
        {true, 6, 6, 6, "a HEIF decoder that hands the stored pixels back says how to turn them"},
        {true, 1, 6, 1, "a HEIF decoder that turned them itself: the phone's EXIF copy would turn them twice"},
        {true, 0, 6, 1, "a HEIF decoder that says nothing: EXIF describes, it does not turn"},
        {true, 3, 0, 3, "upside down, without EXIF"},
        {true, 0, 0, 1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.applied, OrientationToApply(c.heif, c.report, c.tag)) << c.why;
}

TEST(PictureSizeTest, HeadersOfEachFormatAndNoneOfUnknownOrCutShortOnes) {
    std::vector<uint8_t> bmp(26, 0);
    bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40;
    bmp[18] = 0x20;                                      // 32 wide
    bmp[22] = 0xF0, bmp[23] = bmp[24] = bmp[25] = 0xFF;  // -16: top-down
    const struct {
        const char* format;
        std::vector<uint8_t> header;
        int w, h;
    } cases[] = {
        {"png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x3A, 0x98, 0, 0, 0x3A, 0x98},
         15000, 15000},
        {"gif", {'G', 'I', 'F', '8', '9', 'a', 0x40, 0x01, 0xF0, 0x00}, 320, 240},
        {"bmp", bmp, 32, 16},
        // Little-endian TIFF: width as SHORT, height as LONG.
        {"tiff", {'I', 'I', 42, 0, 8, 0, 0, 0, 2, 0, 0, 1, 3, 0, 1, 0, 0, 0, 0x60, 0xEA, 0, 0,
                  1, 1, 4, 0, 1, 0, 0, 0, 0x60, 0xEA, 0, 0}, 60000, 60000},
        // JPEG: an APP0 segment, then the frame header.
        {"jpeg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC2, 0, 11, 8, 0x2E, 0xE0, 0x3E, 0x80, 1, 1, 0x11, 0}, 16000, 12000},
    };
    int w = 0, h = 0;
    for (const auto& c : cases) {
        EXPECT_TRUE(ReadPictureSize(c.header.data(), c.header.size(), w, h)) << c.format;
        EXPECT_EQ((std::pair{c.w, c.h}), (std::pair{w, h})) << c.format;
    }
    // Unknown or cut short headers give no size.
    const uint8_t text[] = "just some text, not a picture";
    EXPECT_FALSE(ReadPictureSize(text, sizeof text, w, h));
    const uint8_t png[12] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    EXPECT_FALSE(ReadPictureSize(png, sizeof png, w, h));
    const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x40, 0};
    EXPECT_FALSE(ReadPictureSize(jpeg, sizeof jpeg, w, h));
    const uint8_t tiff[] = {'M', 'M', 0, 42, 0xFF, 0xFF, 0xFF, 0xF0};
    EXPECT_FALSE(ReadPictureSize(tiff, sizeof tiff, w, h));
    EXPECT_FALSE(ReadPictureSize(nullptr, 0, w, h));
}

TEST(ShrinkPixelsTest, AveragesTheCoveredAreaOfPremultipliedPixelsAndNeverEnlarges) {
    // 3 x 1 -> 2 x 1: each output pixel covers one and a half source pixels.
    const uint8_t source[12] = {0, 0, 0, 255, 90, 90, 90, 255, 180, 180, 180, 255};
    uint8_t target[8] = {};
    ShrinkPixels(source, 3, 1, 12, target, 2, 1, 8);
    EXPECT_EQ(30, target[0]);   // (0 * 1 + 90 * 0.5) / 1.5
    EXPECT_EQ(150, target[4]);  // (90 * 0.5 + 180 * 1) / 1.5
    EXPECT_EQ(255, target[3]);
    EXPECT_EQ(255, target[7]);

    // 4 x 4 -> 1 x 1 of a half transparent square: alpha averages too.
    std::vector<uint8_t> square(64, 0);
    for (int i = 0; i < 8; ++i) std::memset(&square[i * 4], 200, 4);
    uint8_t one[4] = {};
    ShrinkPixels(square.data(), 4, 4, 16, one, 1, 1, 4);
    EXPECT_EQ(100, one[0]);
    EXPECT_EQ(100, one[3]);

    // Never enlarges: the target is left as it was, to the last byte.
    std::vector<uint8_t> larger(16, 7);
    ShrinkPixels(source, 1, 1, 4, larger.data(), 2, 2, 8);
    EXPECT_EQ(std::vector<uint8_t>(16, 7), larger);
}

TEST(ShrinkPixelsTest, RowsFedOneByOneAverageExactlyTheAreaEachTargetPixelCovers) {
    // Odd ratios in both directions, where one source row falls into two target rows.
    struct Case {
        int sw, sh, tw, th;
    };
    for (const Case c : {Case{7, 5, 3, 2}, Case{10, 9, 4, 4}, Case{5, 11, 5, 3}, Case{13, 13, 13, 13}, Case{6, 1, 1, 1}}) {
        SCOPED_TRACE(std::to_string(c.sw) + "x" + std::to_string(c.sh) + " -> " + std::to_string(c.tw) + "x" +
                     std::to_string(c.th));
        std::vector<uint8_t> source(static_cast<size_t>(c.sw * c.sh * 4));
        for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>((i * 97 + i / 7) % 256);
        std::vector<uint8_t> target(static_cast<size_t>(c.tw * c.th * 4), 0xEE);
        RowShrinker shrinker(c.sw, c.sh, target.data(), c.tw, c.th, c.tw * 4);
        for (int y = 0; y < c.sh; ++y) shrinker.AddRow(source.data() + y * c.sw * 4);
        // The covered area of each target pixel, summed in double.
        const double sx = double(c.sw) / c.tw, sy = double(c.sh) / c.th;
        for (int ty = 0; ty < c.th; ++ty)
            for (int tx = 0; tx < c.tw; ++tx)
                for (int ch = 0; ch < 4; ++ch) {
                    double sum = 0;
                    for (int y = 0; y < c.sh; ++y)
                        for (int x = 0; x < c.sw; ++x) {
                            const double ox = std::max(0.0, std::min(x + 1.0, (tx + 1) * sx) - std::max(double(x), tx * sx));
                            const double oy = std::max(0.0, std::min(y + 1.0, (ty + 1) * sy) - std::max(double(y), ty * sy));
                            sum += ox * oy * source[static_cast<size_t>((y * c.sw + x) * 4 + ch)];
                        }
                    const int want = static_cast<int>(sum / (sx * sy) + 0.5);
                    EXPECT_NEAR(want, target[static_cast<size_t>((ty * c.tw + tx) * 4 + ch)], 1)
                        << "pixel " << tx << "," << ty << " channel " << ch;
                }
    }
}

TEST(BmpLayoutTest, BottomUpRowsPaddedToFourBytesAndFilledBlueGreenRed) {
    // 2 x 2, rows of 6 bytes padded to 8; the source rows have a stride of 10.
    const uint8_t pixels[20] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE, 0xEE, 0xEE};
    std::vector<uint8_t> file = EncodeBmp24(pixels, 2, 2, 10);
    ASSERT_EQ(54u + 16u, file.size());
    // "BM", the file's size, the pixels' offset, the header's size, the bits and the pixels' size.
    EXPECT_EQ((std::vector<int>{'B', 'M', 70, 54, 40, 24, 16}),
              (std::vector<int>{file[0], file[1], file[2], file[10], file[14], file[28], file[34]}));
    const uint8_t rows[16] = {7, 8, 9, 10, 11, 12, 0, 0, 1, 2, 3, 4, 5, 6, 0, 0};
    EXPECT_EQ(0, std::memcmp(rows, file.data() + 54, 16));
    EXPECT_TRUE(EncodeBmp24(pixels, 0, 2, 10).empty());

    // A fill writes the colour as blue, green, red and leaves the padding.
    std::vector<uint8_t> filled(2 * 8, 0x55);
    FillPixels24(filled.data(), 2, 2, 8, 0xFF485573);
    const uint8_t row[8] = {0x73, 0x55, 0x48, 0x73, 0x55, 0x48, 0x55, 0x55};
    EXPECT_EQ(0, std::memcmp(row, filled.data(), 8));
    EXPECT_EQ(0, std::memcmp(row, filled.data() + 8, 8));
}

}  // namespace

namespace {

TEST(OrientPixelsTest, EachOrientationMovesTheStoredCornersWhereItShould) {
    // 3 x 2 stored, pixels numbered 0..5 row by row.
    std::vector<uint32_t> stored = {0, 1, 2, 3, 4, 5};
    const std::vector<uint32_t> upright[9] = {
        {}, {0, 1, 2, 3, 4, 5}, {2, 1, 0, 5, 4, 3}, {5, 4, 3, 2, 1, 0}, {3, 4, 5, 0, 1, 2},
        // 2 x 3 from here: transpose, turn right, transverse, turn left.
        {0, 3, 1, 4, 2, 5}, {3, 0, 4, 1, 5, 2}, {5, 2, 4, 1, 3, 0}, {2, 5, 1, 4, 0, 3}};
    for (int o = 1; o <= 8; ++o) {
        std::vector<uint32_t> target(6, 99);
        const int targetWidth = o >= 5 ? 2 : 3;
        OrientPixels(reinterpret_cast<const uint8_t*>(stored.data()), 3, 2, 12, o,
                     reinterpret_cast<uint8_t*>(target.data()), targetWidth * 4);
        EXPECT_EQ(upright[o], target) << "orientation " << o;
    }
}

}  // namespace
