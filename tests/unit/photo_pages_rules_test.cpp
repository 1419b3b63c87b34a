// The arithmetic of the photographs page, the background page and the position editor.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

#include "aux_windows/img_pos_dlg.h"
#include "composer/placement.h"
#include "settings_ui/set_back_img.h"
#include "settings_ui/set_fore_img.h"

namespace {

// The overlap limit is the side of a quarter of the screen, the maximum size three quarters
// rounded down to tens; the arrows start nine away so that the control's step makes ten.
TEST(PhotoPageRules, OverlapLimitMaximumSizeAndTheArrowsStart) {
    EXPECT_EQ(443, OverlapSizeLimit(1024, 768));
    EXPECT_EQ(554, OverlapSizeLimit(1280, 960));
    EXPECT_EQ(720, OverlapSizeLimit(1920, 1080));
    EXPECT_EQ(1440, OverlapSizeLimit(3840, 2160));
    EXPECT_EQ(400, OverlapSizeLimit(800, 800)) << "an exact square root";
    EXPECT_EQ(0, OverlapSizeLimit(0, 768));

    EXPECT_EQ(760, MaxPhotoSizeForScreen(1024));
    EXPECT_EQ(960, MaxPhotoSizeForScreen(1280));
    EXPECT_EQ(1440, MaxPhotoSizeForScreen(1920));
    EXPECT_EQ(1020, MaxPhotoSizeForScreen(1366));

    EXPECT_EQ(409, TenStepArrowStart(400, 1));
    EXPECT_EQ(401, TenStepArrowStart(410, -1));
    EXPECT_EQ(414, TenStepArrowStart(405, 1));
}

TEST(PhotoPageRules, PositionMapScaleIsInTenths) {
    EXPECT_EQ(142, PositionMapScale(1024, 72));
    EXPECT_EQ(0, PositionMapScale(1024, 0)) << "an empty map draws no positions";
    const RECT onMap = PositionOnMap({600, 0, 1000, 300}, 142, 142);
    EXPECT_EQ((std::array<LONG, 4>{42, 0, 70, 21}), (std::array{onMap.left, onMap.top, onMap.right, onMap.bottom}));
    EXPECT_EQ(0, PositionOnMap({600, 0, 1000, 300}, 0, 0).right);
}

TEST(PositionEditorRules, SquareSizingFollowsTheDraggedEdge) {
    // The top and bottom edges: the width follows the height. The top corners: the top edge follows
    // the width. The others: the bottom edge follows the width.
    const struct {
        UINT edge;
        RECT after;
    } cases[] = {{WMSZ_TOP, {100, 100, 350, 350}},        {WMSZ_BOTTOM, {100, 100, 350, 350}},
                 {WMSZ_TOPLEFT, {100, 50, 400, 350}},     {WMSZ_TOPRIGHT, {100, 50, 400, 350}},
                 {WMSZ_LEFT, {100, 100, 400, 400}},       {WMSZ_RIGHT, {100, 100, 400, 400}},
                 {WMSZ_BOTTOMLEFT, {100, 100, 400, 400}}, {WMSZ_BOTTOMRIGHT, {100, 100, 400, 400}}};
    for (const auto& c : cases) {
        RECT r{100, 100, 400, 350};
        SquareSizingRect(c.edge, r);
        EXPECT_TRUE(::EqualRect(&c.after, &r)) << c.edge << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(BackgroundPageRules, InformationTextAndThePreviewBoxOfTheScreensShapeWithinThePage) {
    EXPECT_EQ("800 x 600\nColor: 24bit\r\nFile Size: 114KB", ImageInfoText(800, 600, 24, 117000));
    EXPECT_EQ("1 x 1\nColor: 32bit\r\nFile Size: 0KB", ImageInfoText(1, 1, 32, 1023));
    EXPECT_EQ("10 x 10\nColor: 8bit\r\nFile Size: 4194304KB", ImageInfoText(10, 10, 8, 4ull << 30))
        << "files beyond 2 GB";

    auto box = [](int w, int h, int sw, int sh) {
        const SIZE s = PreviewBoxSize(w, h, sw, sh);
        return std::pair{s.cx, s.cy};
    };
    EXPECT_EQ((std::pair<LONG, LONG>{200, 150}), box(200, 300, 1024, 768));
    EXPECT_EQ(112, box(200, 300, 1920, 1080).second);
    EXPECT_EQ((std::pair<LONG, LONG>{112, 150}), box(200, 150, 768, 1024)) << "a portrait screen: narrower instead of taller";
    EXPECT_EQ(0, box(200, 150, 0, 0).second);
}

TEST(BackgroundPageRules, PreviewRectangleAtTheBoxsScale) {
    const struct {
        const char* what;
        int w, h;
        bool stretch;
        float x, y, width, height;
    } cases[] = {
        {"a screen-sized image fills the box", 1024, 768, false, 0, 0, 200, 150},
        {"twice as wide: the full width, half the height, centred", 2048, 768, false, 0, 37, 200, 75},
        {"small: its own size at the box's scale, in the middle", 512, 384, false, 50, 37, 100, 75},
        {"stretched", 300, 3000, true, 0, 0, 200, 150},
    };
    for (const auto& c : cases) {
        const Gdiplus::RectF r = BackgroundPreviewRect(c.w, c.h, 200, 150, 1024, c.stretch);
        EXPECT_LT(std::abs(r.X - c.x) + std::abs(r.Y - c.y) + std::abs(r.Width - c.width) + std::abs(r.Height - c.height),
                  0.001f)
            << c.what << ": " << r.X << "," << r.Y << " " << r.Width << " x " << r.Height;
    }
}

}  // namespace
