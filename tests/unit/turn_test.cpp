// Turning a picture onto 24-bit pixels: where its pixels land, the clip, and the blending.
#include <gtest/gtest.h>

#include <vector>

#include "composer/turn.h"

namespace {

struct Target {
    static constexpr int kWidth = 10, kHeight = 8, kStride = 32;  // padded rows, as GDI+ gives
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kStride * kHeight, 7);
    RgbPixels Pixels() { return {bytes.data(), kWidth, kHeight, kStride}; }
    const uint8_t* At(int x, int y) const { return &bytes[static_cast<size_t>(y * kStride + x * 3)]; }
};

// A 3 x 2 opaque picture whose pixel (x, y) has blue 10 + x, green 20 + y and red 99.
std::vector<uint8_t> Picture(uint8_t alpha = 255) {
    std::vector<uint8_t> p;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) p.insert(p.end(), {uint8_t(10 + x), uint8_t(20 + y), 99, alpha});
    return p;
}

Turn Around(double degrees, double pivotX, double pivotY) {
    Turn t;
    t.degrees = degrees;
    t.pivotX = pivotX;
    t.pivotY = pivotY;
    t.offsetX = -1;
    t.offsetY = -1;
    t.clipRight = Target::kWidth;
    t.clipBottom = Target::kHeight;
    return t;
}

TEST(BlendTurnedTest, PixelsLandWhereTheTurnPutsThem) {
    const std::vector<uint8_t> picture = Picture();
    const ArgbPixels source{picture.data(), 3, 2, 12};

    // Unturned, each pixel is copied whole: pixel (0, 0) at the pivot plus the offset.
    Target plain;
    BlendTurned(source, plain.Pixels(), Around(0, 5, 4));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(10 + x, plain.At(4 + x, 3 + y)[0]);
            EXPECT_EQ(20 + y, plain.At(4 + x, 3 + y)[1]);
            EXPECT_EQ(99, plain.At(4 + x, 3 + y)[2]);
        }
    EXPECT_EQ(7, plain.At(3, 3)[0]) << "left of the picture";
    EXPECT_EQ(7, plain.At(7, 3)[0]) << "right of the picture";
    EXPECT_EQ(7, plain.At(4, 5)[0]) << "below the picture";

    // A quarter turn clockwise: (x, y) from the pivot goes to (-y, x); the top row becomes the
    // right-hand column.
    Target quarter;
    BlendTurned(source, quarter.Pixels(), Around(90, 5, 4));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const uint8_t* p = quarter.At(6 - y, 3 + x);
            EXPECT_EQ(10 + x, p[0]) << x << "," << y;
            EXPECT_EQ(20 + y, p[1]) << x << "," << y;
        }

    // Stretched twice as wide and high: every second target pixel falls on a picture pixel.
    Target stretched;
    Turn twice = Around(0, 5, 4);
    twice.scaleX = twice.scaleY = 2;
    BlendTurned(source, stretched.Pixels(), twice);
    EXPECT_EQ(10, stretched.At(4, 3)[0]);
    EXPECT_EQ(11, stretched.At(6, 3)[0]);
    EXPECT_EQ(12, stretched.At(8, 3)[0]);
    EXPECT_EQ(21, stretched.At(4, 5)[1]);
    EXPECT_EQ((10 + 11 + 1) / 2, stretched.At(5, 3)[0]) << "between two picture pixels";

    // Only the clip changes, and nothing past the target's edges is touched.
    Target clipped;
    Turn t = Around(0, 0, 0);
    t.clipLeft = 0;
    t.clipRight = 1;
    BlendTurned(source, clipped.Pixels(), t);
    EXPECT_EQ(11, clipped.At(0, 0)[0]) << "the picture's pixel (1, 1) at the target's corner";
    EXPECT_EQ(7, clipped.At(1, 0)[0]) << "outside the clip";
    Target edge;
    BlendTurned(source, edge.Pixels(), Around(30, 9.5, 7.5));
    for (int y = 0; y < Target::kHeight; ++y)
        for (int b = Target::kWidth * 3; b < Target::kStride; ++b) ASSERT_EQ(7, edge.bytes[size_t(y * Target::kStride + b)]);
}

TEST(BlendTurnedTest, BlendsOverTheTargetAndSmoothsTheEdges) {
    const std::vector<uint8_t> half = Picture(128);
    Target target;
    BlendTurned({half.data(), 3, 2, 12}, target.Pixels(), Around(0, 5, 4));
    EXPECT_EQ((10 * 128 + 7 * 127 + 127) / 255, target.At(4, 3)[0]);
    EXPECT_EQ((99 * 128 + 7 * 127 + 127) / 255, target.At(4, 3)[2]);

    // Half a pixel off the grid, the picture's edge pixel is shared with the transparent outside.
    const std::vector<uint8_t> opaque = Picture();
    Target shifted;
    BlendTurned({opaque.data(), 3, 2, 12}, shifted.Pixels(), Around(0, 5.5, 4));
    EXPECT_EQ((99 + 7 + 1) / 2, shifted.At(4, 3)[2]) << "half picture, half target";
    EXPECT_EQ(99, shifted.At(5, 3)[2]);

    // Nothing to draw: no pixels, or a turn whose clip is empty.
    Target untouched;
    BlendTurned({nullptr, 3, 2, 12}, untouched.Pixels(), Around(0, 5, 4));
    Turn empty = Around(0, 5, 4);
    empty.clipRight = empty.clipLeft;
    BlendTurned({opaque.data(), 3, 2, 12}, untouched.Pixels(), empty);
    EXPECT_EQ(std::vector<uint8_t>(Target::kStride * Target::kHeight, 7), untouched.bytes);
}

}  // namespace
