#pragma once
// A white picture with a red mark at its stored top-left and a green one at its top-right, in
// every format the tests write, and where the marks stand after each EXIF orientation: a decode
// that turns, mirrors or scales a picture wrongly moves a mark.

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <utility>

#include "composer/picture_decode.h"

namespace marked_picture {

struct Argb {
    int a, r, g, b;
};

inline Argb At(Gdiplus::Image& image, int x, int y) {
    Gdiplus::Color c;
    static_cast<Gdiplus::Bitmap&>(image).GetPixel(x, y, &c);
    return {c.GetA(), c.GetR(), c.GetG(), c.GetB()};
}

// Alpha within 8, each colour within `tolerance`.
inline ::testing::AssertionResult IsColour(Gdiplus::Image& image, int x, int y, Argb want, int tolerance = 40) {
    const Argb got = At(image, x, y);
    if (std::abs(got.a - want.a) <= 8 && std::abs(got.r - want.r) <= tolerance &&
        std::abs(got.g - want.g) <= tolerance && std::abs(got.b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << got.a << " " << got.r << " " << got.g
                                         << " " << got.b << ", not " << want.a << " " << want.r << " " << want.g << " "
                                         << want.b;
}

inline const Argb kRed{255, 255, 0, 0}, kGreen{255, 0, 255, 0}, kWhite{255, 255, 255, 255};

inline DrawnSize FullSize(int w, int h) { return {w, h}; }
inline DrawnSize Half(int w, int h) { return {w / 2, h / 2}; }

// The marks of a picture w wide: each a quarter of the width square.
inline Argb MarkColour(int x, int y, int w) {
    if (y < w / 4 && x < w / 4) return kRed;
    if (y < w / 4 && x >= w - w / 4) return kGreen;
    return kWhite;
}

// Where the marks stand after each orientation: the corner of each in the upright picture, 0 or 1
// for each side.
struct Turning {
    int orientation;
    bool turned;  // width and height swap
    int redX, redY, greenX, greenY;
};
inline const Turning kTurnings[] = {{1, false, 0, 0, 1, 0}, {2, false, 1, 0, 0, 0}, {3, false, 1, 1, 0, 1},
                                    {4, false, 0, 1, 1, 1}, {5, true, 0, 0, 0, 1},  {6, true, 1, 0, 1, 1},
                                    {7, true, 1, 1, 1, 0},  {8, true, 0, 1, 0, 0}};

// Checks an upright decode of the marked picture of fullW x fullH, decoded at w x h (stored
// directions).
inline void ExpectMarks(const DecodedPicture& picture, const Turning& t, int fullW, int fullH, int w, int h,
                        int whiteTolerance = 40) {
    ASSERT_TRUE(picture);
    EXPECT_EQ(t.turned ? fullH : fullW, picture.width);
    EXPECT_EQ(t.turned ? fullW : fullH, picture.height);
    const int uw = t.turned ? h : w, uh = t.turned ? w : h;
    ASSERT_EQ(static_cast<UINT>(uw), picture.image->GetWidth());
    ASSERT_EQ(static_cast<UINT>(uh), picture.image->GetHeight());
    const int inset = uw / 16 + 1;
    auto corner = [&](int sx, int sy) { return std::pair<int, int>{sx ? uw - 1 - inset : inset, sy ? uh - 1 - inset : inset}; };
    auto [rx, ry] = corner(t.redX, t.redY);
    auto [gx, gy] = corner(t.greenX, t.greenY);
    EXPECT_TRUE(IsColour(*picture.image, rx, ry, kRed));
    EXPECT_TRUE(IsColour(*picture.image, gx, gy, kGreen));
    EXPECT_TRUE(IsColour(*picture.image, uw / 2, uh / 2, kWhite, whiteTolerance));
}

}  // namespace marked_picture
