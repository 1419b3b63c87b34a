// Pure rules of the effects and calendar pages: thumbnail fit, mask labels and places, the angle
// list, the font filter, preview heights and the stored face's selection.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "settings_ui/mask_dlg.h"
#include "settings_ui/set_calen.h"
#include "settings_ui/set_effect.h"

namespace {

// In the picker's 40 x 40 box: small masks keep their size, large ones shrink keeping their shape,
// all centred; degenerate sizes never divide by zero.
TEST(ThumbnailFit, MasksFitTheBoxKeepingTheirShape) {
    const struct {
        int width, height;
        ThumbnailPlace place;
    } cases[] = {
        {20, 10, {10, 15, 20, 10}}, {10, 20, {15, 10, 10, 20}}, {40, 40, {0, 0, 40, 40}}, {7, 7, {17, 17, 7, 7}},
        {80, 40, {0, 10, 40, 20}},  {40, 80, {10, 0, 20, 40}},  {400, 400, {0, 0, 40, 40}},
        {300, 200, {0, 7, 40, 26}},  // r = 300 * 100 / 200 = 150 (integer), height 4000 / 150 = 26
        {200, 300, {7, 0, 26, 40}},  // r = 200 * 100 / 300 = 66, width 66 * 40 * 0.01 = 26
        {0, 0, {20, 20, 1, 1}},
        {1, 4000, {20, 0, 0, 40}},  // r = 0: a hairline, not a crash
    };
    for (const auto& c : cases) {
        const ThumbnailPlace p = FitThumbnail(c.width, c.height);
        EXPECT_EQ((std::array{c.place.x, c.place.y, c.place.width, c.place.height}),
                  (std::array{p.x, p.y, p.width, p.height}))
            << c.width << " x " << c.height;
    }
    const ThumbnailPlace huge = FitThumbnail(2000000000, 3);
    EXPECT_EQ(40, huge.width);
    EXPECT_GE(huge.height, 0);
}

// A mask's label drops its folder and extension; the angle list's items and its prefix search.
TEST(MaskAndAngleItems, LabelsDropFolderAndExtensionAndAnglesAreFoundByPrefix) {
    EXPECT_EQ("heart", MaskLabel("C:\\Dioramix\\Masks\\heart.gif"));
    EXPECT_EQ("round square", MaskLabel("C:\\x\\round square.gif"));
    EXPECT_EQ("", MaskLabel("C:\\x\\.gif"));
    EXPECT_EQ("star", MaskLabel("star.gif"));

    EXPECT_EQ((std::vector<std::string>{"30", "45", "90", "135", "180", "270", "360"}), RotationAngleItems());
    EXPECT_EQ(2, FindAngleItem(90));
    EXPECT_EQ(5, FindAngleItem(270));
    EXPECT_EQ(0, FindAngleItem(3)) << "3 begins 30";
    EXPECT_EQ(3, FindAngleItem(1)) << "1 begins 135";
    EXPECT_EQ(-1, FindAngleItem(60));
    EXPECT_EQ(-1, FindAngleItem(-30));
}

TEST(CalendarFonts, FilterKeepsTrueTypeAnsiAndHangulFacesOnADoubleByteSystem) {
    EXPECT_TRUE(IsCalendarFace("Tahoma", TRUETYPE_FONTTYPE, ANSI_CHARSET, true));
    EXPECT_TRUE(IsCalendarFace("\xB1\xBC\xB8\xB2", TRUETYPE_FONTTYPE, HANGUL_CHARSET, true));  // 굴림
    EXPECT_FALSE(IsCalendarFace("@\xB1\xBC\xB8\xB2", TRUETYPE_FONTTYPE, HANGUL_CHARSET, true));
    EXPECT_FALSE(IsCalendarFace("MS Sans Serif", RASTER_FONTTYPE, ANSI_CHARSET, true));
    EXPECT_FALSE(IsCalendarFace("Courier", DEVICE_FONTTYPE, ANSI_CHARSET, true));
    EXPECT_FALSE(IsCalendarFace("Tahoma", TRUETYPE_FONTTYPE, RUSSIAN_CHARSET, true));
    EXPECT_FALSE(IsCalendarFace("Symbol", TRUETYPE_FONTTYPE, SYMBOL_CHARSET, true));
    EXPECT_FALSE(IsCalendarFace("Tahoma", TRUETYPE_FONTTYPE, ANSI_CHARSET, false)) << "no lists without DBCS";
    EXPECT_FALSE(IsCalendarFace("", TRUETYPE_FONTTYPE, ANSI_CHARSET, true));
}

// The preview's heights round as MulDiv; its font has only its own fields and a face cut on a
// character boundary.
TEST(CalendarFonts, PreviewHeightsRoundAsMulDivAndThePreviewFontHasOnlyItsOwnFieldsAndAWholeFace) {
    EXPECT_EQ(-29, PointsToHeight(22, 96));
    EXPECT_EQ(-16, PointsToHeight(12, 96));
    EXPECT_EQ(-37, PointsToHeight(22, 120));  // 36.67 rounds up
    EXPECT_EQ(-20, PointsToHeight(12, 120));

    LOGFONTA lf = CalendarPreviewFont("Georgia", 22, 96, true, false);
    EXPECT_STREQ("Georgia", lf.lfFaceName);
    // Height, weight, italic, character set, width and quality.
    EXPECT_EQ((std::array<LONG, 6>{-29, FW_BOLD, 0, DEFAULT_CHARSET, 0, 0}),
              (std::array<LONG, 6>{lf.lfHeight, lf.lfWeight, lf.lfItalic, lf.lfCharSet, lf.lfWidth, lf.lfQuality}));
    lf = CalendarPreviewFont("Georgia", 12, 96, false, true);
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic);

    std::string face(40, 'A');
    EXPECT_EQ(31u, std::string(CalendarPreviewFont(face, 12, 96, false, false).lfFaceName).size());
    std::string korean;
    for (int i = 0; i < 20; ++i) korean += "\xB0\xA1";  // 가 x 20, 40 bytes
    std::string cut = CalendarPreviewFont(korean, 12, 96, false, false).lfFaceName;
    EXPECT_EQ(30u, cut.size()) << "no half character at the end";
}

TEST(CalendarFonts, StoredFaceSelection) {
    const std::vector<std::string> items = {"Arial", "Arial Black", "Georgia", "Tahoma"};
    EXPECT_EQ(0, FindStoredFace(items, "Arial")) << "the face itself, not a longer one after it";
    EXPECT_EQ(0, FindStoredFace(items, "arial"));
    EXPECT_EQ(3, FindStoredFace(items, "Taho"));
    EXPECT_EQ(1, FindStoredFace(items, "Ari")) << "the list's search starts after the first item";
    EXPECT_EQ(0, FindStoredFace({"Arial", "Georgia"}, "Ari")) << "and wraps round to it";
    EXPECT_EQ(-1, FindStoredFace(items, "Verdana"));
    EXPECT_EQ(-1, FindStoredFace(items, ""));
    EXPECT_EQ(-1, FindStoredFace({}, "Arial"));
}

}  // namespace
