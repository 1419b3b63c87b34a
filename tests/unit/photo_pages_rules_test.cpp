// The arithmetic of the photographs page, the background page and the position editor.
#include <gtest/gtest.h>

#include "aux_windows/img_pos_dlg.h"
#include "composer/placement.h"
#include "settings_ui/set_back_img.h"
#include "settings_ui/set_fore_img.h"

namespace {

TEST(PhotoPageRules, OverlapLimitIsTheSideOfAQuarterOfTheScreen) {
    EXPECT_EQ(443, OverlapSizeLimit(1024, 768));
    EXPECT_EQ(554, OverlapSizeLimit(1280, 960));
    EXPECT_EQ(720, OverlapSizeLimit(1920, 1080));
    EXPECT_EQ(1440, OverlapSizeLimit(3840, 2160));
    EXPECT_EQ(400, OverlapSizeLimit(800, 800)) << "an exact square root";
    EXPECT_EQ(0, OverlapSizeLimit(0, 768));
}

TEST(PhotoPageRules, MaximumSizeIsThreeQuartersRoundedDownToTens) {
    EXPECT_EQ(760, MaxPhotoSizeForScreen(1024));
    EXPECT_EQ(960, MaxPhotoSizeForScreen(1280));
    EXPECT_EQ(1440, MaxPhotoSizeForScreen(1920));
    EXPECT_EQ(1020, MaxPhotoSizeForScreen(1366));
}

TEST(PhotoPageRules, ArrowsStartNineAwaySoThatTheControlsStepMakesTen) {
    EXPECT_EQ(409, TenStepArrowStart(400, 1));
    EXPECT_EQ(401, TenStepArrowStart(410, -1));
    EXPECT_EQ(414, TenStepArrowStart(405, 1));
}

TEST(PhotoPageRules, PositionMapScaleIsInTenths) {
    EXPECT_EQ(142, PositionMapScale(1024, 72));
    EXPECT_EQ(0, PositionMapScale(1024, 0)) << "an empty map draws no positions";
    const RECT onMap = PositionOnMap({600, 0, 1000, 300}, 142, 142);
    EXPECT_EQ(42, onMap.left);
    EXPECT_EQ(0, onMap.top);
    EXPECT_EQ(70, onMap.right);
    EXPECT_EQ(21, onMap.bottom);
    const RECT none = PositionOnMap({600, 0, 1000, 300}, 0, 0);
    EXPECT_EQ(0, none.right);
}

TEST(PositionEditorRules, SquareSizingFollowsTheDraggedEdge) {
    RECT r{100, 100, 400, 350};
    SquareSizingRect(WMSZ_TOP, r);
    EXPECT_EQ(350, r.right) << "width follows the height";
    r = {100, 100, 400, 350};
    SquareSizingRect(WMSZ_BOTTOM, r);
    EXPECT_EQ(350, r.right);
    r = {100, 100, 400, 350};
    SquareSizingRect(WMSZ_TOPLEFT, r);
    EXPECT_EQ(50, r.top) << "the top edge follows the width";
    r = {100, 100, 400, 350};
    SquareSizingRect(WMSZ_TOPRIGHT, r);
    EXPECT_EQ(50, r.top);
    for (UINT edge : {WMSZ_LEFT, WMSZ_RIGHT, WMSZ_BOTTOMLEFT, WMSZ_BOTTOMRIGHT}) {
        r = {100, 100, 400, 350};
        SquareSizingRect(edge, r);
        EXPECT_EQ(100, r.top) << edge;
        EXPECT_EQ(400, r.bottom) << "the bottom edge follows the width, edge " << edge;
    }
}

TEST(BackgroundPageRules, InformationText) {
    EXPECT_EQ("800 x 600\nColor: 24bit\r\nFile Size: 114KB", ImageInfoText(800, 600, 24, 117000));
    EXPECT_EQ("1 x 1\nColor: 32bit\r\nFile Size: 0KB", ImageInfoText(1, 1, 32, 1023));
    EXPECT_EQ("10 x 10\nColor: 8bit\r\nFile Size: 4194304KB", ImageInfoText(10, 10, 8, 4ull << 30))
        << "files beyond 2 GB";
}

TEST(BackgroundPageRules, PreviewBoxHasTheScreensShapeWithinThePage) {
    SIZE s = PreviewBoxSize(200, 300, 1024, 768);
    EXPECT_EQ(200, s.cx);
    EXPECT_EQ(150, s.cy);
    s = PreviewBoxSize(200, 300, 1920, 1080);
    EXPECT_EQ(112, s.cy);
    s = PreviewBoxSize(200, 150, 768, 1024);  // a portrait screen: narrower instead of taller
    EXPECT_EQ(150, s.cy);
    EXPECT_EQ(112, s.cx);
    s = PreviewBoxSize(200, 150, 0, 0);
    EXPECT_EQ(0, s.cy);
}

TEST(BackgroundPageRules, PreviewRectangleAtTheBoxsScale) {
    // A screen-sized image fills the box, stretched or not.
    Gdiplus::RectF r = BackgroundPreviewRect(1024, 768, 200, 150, 1024, false);
    EXPECT_FLOAT_EQ(0, r.X);
    EXPECT_FLOAT_EQ(0, r.Y);
    EXPECT_FLOAT_EQ(200, r.Width);
    EXPECT_FLOAT_EQ(150, r.Height);
    // Twice as wide: the full width, half the height, centred vertically.
    r = BackgroundPreviewRect(2048, 768, 200, 150, 1024, false);
    EXPECT_FLOAT_EQ(0, r.X);
    EXPECT_FLOAT_EQ(37, r.Y);
    EXPECT_FLOAT_EQ(200, r.Width);
    EXPECT_FLOAT_EQ(75, r.Height);
    // Small: its own size at the box's scale, in the middle.
    r = BackgroundPreviewRect(512, 384, 200, 150, 1024, false);
    EXPECT_FLOAT_EQ(50, r.X);
    EXPECT_FLOAT_EQ(100, r.Width);
    r = BackgroundPreviewRect(300, 3000, 200, 150, 1024, true);
    EXPECT_FLOAT_EQ(200, r.Width);
    EXPECT_FLOAT_EQ(150, r.Height);
}

}  // namespace
