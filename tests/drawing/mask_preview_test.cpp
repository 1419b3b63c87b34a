// The effects page's mask preview: the top-left quarter of the mask, scaled into the box inside a
// one-pixel black border.
#include <gtest/gtest.h>

#include "composer_fixture.h"
#include "settings_ui/set_effect.h"
#include "support/gif_writer.h"

namespace {

using composer_testing::PixelOf;

class MaskPreview : public ::testing::Test {
protected:
    testing_support::ScratchDir dir;
    Gdiplus::Bitmap box{40, 40, PixelFormat24bppRGB};

    void Draw(const std::string& path) {
        Gdiplus::Graphics g(&box);
        g.Clear(Gdiplus::Color(255, 9, 9, 9));
        DrawMaskPreview(g, 40, 40, path);
    }
    // A mask whose top-left quarter is red and the rest blue.
    std::string QuarterMask(const char* format) {
        if (std::string(format) == "gif") {
            std::string path = dir.File("quarter.gif");
            testing_support::WriteTwoColourGif(path, 100, 60, {0, 0, 255}, {255, 0, 0},
                                               [](int x, int y) { return x < 50 && y < 30; });
            return path;
        }
        Gdiplus::Bitmap mask(100, 60, PixelFormat24bppRGB);
        {
            Gdiplus::Graphics g(&mask);
            g.Clear(Gdiplus::Color(255, 0, 0, 255));
            Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
            g.FillRectangle(&red, 0, 0, 50, 30);
        }
        std::string path = dir.File(std::string("quarter.") + format);
        SaveImage(mask, path, format);
        return path;
    }
};

TEST_F(MaskPreview, TopLeftQuarterFillsTheBoxInsideABlackBorder) {
    for (const char* format : {"png", "gif"}) {
        Draw(QuarterMask(format));
        for (int i : {0, 39}) {
            EXPECT_EQ(0, PixelOf(box, i, 20).r) << format;
            EXPECT_EQ(0, PixelOf(box, 20, i).r) << format;
        }
        for (auto [x, y] : {std::pair{2, 2}, {37, 37}, {20, 20}, {37, 2}}) {
            auto p = PixelOf(box, x, y);
            EXPECT_GT(p.r, 200) << format << " at " << x << "," << y;
            EXPECT_LT(p.b, 60) << format << " at " << x << "," << y;
        }
    }
}

TEST_F(MaskPreview, MissingEmptyOrCorruptMaskLeavesTheBoxBlack) {
    testing_support::WriteFile(dir.File("bad.gif"), "GIF89a not really");
    for (const std::string& path : {dir.File("gone.gif"), std::string(), dir.File("bad.gif")}) {
        Draw(path);
        for (auto [x, y] : {std::pair{0, 0}, {20, 20}, {39, 39}}) {
            auto p = PixelOf(box, x, y);
            EXPECT_EQ(0, p.r + p.g + p.b) << path;
        }
    }
}

}  // namespace
