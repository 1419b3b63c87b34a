#include <gtest/gtest.h>

#include "app/tray_menu.h"
#include "framework/handles.h"
#include "support/canvas.h"
#include "resource.h"

namespace {

// A white 32-bit canvas with a memory DC, the way a menu window's DC is drawn into.
class MenuCanvas : public ::testing::Test {
protected:
    static constexpr int kWidth = 180;
    static constexpr int kHeight = 214;  // 9 items and 4 separators

    testing_support::Canvas canvas{kWidth, kHeight, RGB(255, 255, 255)};

    void SetUp() override { ASSERT_TRUE(canvas); }
    HDC dc() const { return canvas.dc(); }
    COLORREF At(int x, int y) const { return canvas.At(x, y); }

    // Every row of the tray menu's layout (items and separators) drawn in full, top down, at
    // 160 pixels wide at 96 DPI; answers the rows' rectangles.
    std::vector<RECT> DrawWholeMenu(TrayItemDrawing drawing, UINT dpi) {
        const bool separator[13] = {false, true, false, false, false, true, false, false, true, false, false, true, false};
        const TrayRowHeights rows = TrayRowHeightsFor(dpi, 0);
        drawing.dpi = dpi;
        std::vector<RECT> rects;
        const std::wstring* text = drawing.text;
        std::wstring none;
        int top = 0;
        for (int i = 0; i < 13; ++i) {
            const int height = separator[i] ? rows.separator : rows.item;
            const RECT r{0, top, ::MulDiv(160, static_cast<int>(dpi), 96), top + height};
            drawing.text = separator[i] ? &none : text;
            DrawTrayMenuItem(Item(i == 0 ? ID_TRAY_CURRENT_IMAGES : (separator[i] ? 0 : ID_TRAY_TIDY_SCREEN), r,
                                  ODA_DRAWENTIRE),
                             drawing);
            rects.push_back(r);
            top += height;
        }
        return rects;
    }

    DRAWITEMSTRUCT Item(UINT id, RECT rect, UINT action, UINT state = 0) const {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemID = id;
        item.itemAction = action;
        item.itemState = state;
        item.hDC = dc();
        item.rcItem = rect;
        return item;
    }
};

TEST(BannerGradient, RunsFromDarkAtTheBottomToBrightAtTheTop) {
    EXPECT_EQ(RGB(70, 0, 35), BannerColorForRow(0, 214));
    EXPECT_EQ(RGB(255, 21, 135), BannerColorForRow(213, 214));
    // Half way: step 128 of 256.
    EXPECT_EQ(RGB(70 + ::MulDiv(185, 128, 255), ::MulDiv(21, 128, 255), 35 + ::MulDiv(100, 128, 255)),
              BannerColorForRow(107, 214));
}

TEST_F(MenuCanvas, BannerGradientCaptionAndWhitePanel) {
    std::wstring text = L"\uD604\uC7AC \uC774\uBBF8\uC9C0\uB4E4..";
    TrayItemDrawing drawing;
    drawing.text = &text;
    drawing.menuHeight = kHeight;
    drawing.version = L"1.56";
    DrawWholeMenu(drawing, 96);

    EXPECT_EQ(RGB(255, 21, 135), At(21, 0));            // top of the banner
    EXPECT_EQ(RGB(70, 0, 35), At(21, kHeight - 1));     // bottom of the banner
    EXPECT_EQ(RGB(255, 255, 255), At(100, 120));        // the panel
    EXPECT_EQ(RGB(255, 21, 135), At(159, 0));           // right edge strip from R - 4
    EXPECT_EQ(RGB(255, 255, 255), At(160, 100));        // nothing beyond the items' rectangles

    // The caption is white text written upwards inside the banner's lower part.
    int whiteInBanner = 0;
    for (int y = kHeight - 120; y < kHeight - 4; ++y)
        for (int x = 2; x < 22; ++x)
            if (At(x, y) == RGB(255, 255, 255)) ++whiteInBanner;
    EXPECT_GT(whiteInBanner, 60);
    int whiteInTopOfBanner = 0;
    for (int y = 1; y < 40; ++y)
        for (int x = 2; x < 22; ++x)
            if (At(x, y) == RGB(255, 255, 255)) ++whiteInTopOfBanner;
    EXPECT_EQ(0, whiteInTopOfBanner);
}

TEST_F(MenuCanvas, AFullDrawPaintsOnlyTheItemsOwnBandOfTheBanner) {
    std::wstring text = L"x";
    TrayItemDrawing drawing;
    drawing.text = &text;
    drawing.menuHeight = kHeight;
    DrawTrayMenuItem(Item(ID_TRAY_CURRENT_IMAGES, {0, 0, 160, 22}, ODA_SELECT), drawing);
    DrawTrayMenuItem(Item(ID_TRAY_TIDY_SCREEN, {0, 26, 160, 48}, ODA_DRAWENTIRE), drawing);
    EXPECT_EQ(RGB(255, 255, 255), At(5, 5));             // a selection change draws no banner
    EXPECT_EQ(RGB(255, 255, 255), At(5, 25));            // nor does a row outside the item
    EXPECT_EQ(RGB(255, 255, 255), At(5, kHeight - 1));
    EXPECT_EQ(BannerColorForRow(kHeight - 1 - 30, kHeight), At(5, 30));  // the item's band
    EXPECT_EQ(RGB(255, 255, 255), At(5, 48));
}

// At 144 DPI every 96-DPI size is half as large again, and each row keeps to its rectangle.
TEST_F(MenuCanvas, At144DpiSizesScaleAndDrawingStaysInsideEachRow) {
    const TrayRowHeights rows = TrayRowHeightsFor(144, 0);
    EXPECT_EQ(33, rows.item);
    EXPECT_EQ(6, rows.separator);
    const int height = 9 * rows.item + 4 * rows.separator;  // 321 of the canvas' 214: cut below
    std::wstring text = L"\uC885\uB8CC";
    TrayItemDrawing drawing;
    drawing.text = &text;
    drawing.menuHeight = height;
    drawing.version = L"1.56";
    drawing.dpi = 144;
    std::vector<RECT> rects = DrawWholeMenu(drawing, 144);
    // The panel starts 23 * 1.5 = 35 (rounded) pixels in; the banner fills what lies left of it.
    EXPECT_EQ(RGB(255, 255, 255), At(35, 10));
    EXPECT_EQ(BannerColorForRow(height - 1 - 10, height), At(33, 10));
    // The separator line of row 1 is 2 * 1.5 = 3 pixels below its top, from 42 * 1.5 = 63 on.
    const RECT& separator = rects[1];
    EXPECT_EQ(0u, ::GetPixel(dc(), 63, separator.top + 3) & 0xFFFFFF);
    EXPECT_EQ(RGB(255, 255, 255), At(62, separator.top + 3));

    // Selecting the third row fills only inside it.
    const RECT& third = rects[2];
    DrawTrayMenuItem(Item(ID_TRAY_TIDY_SCREEN, third, ODA_SELECT, ODS_SELECTED), drawing);
    EXPECT_EQ(RGB(10, 36, 106), At(36, third.top + 2));
    EXPECT_EQ(RGB(230, 202, 213), At(40, third.bottom - 3));
    EXPECT_NE(RGB(230, 202, 213), At(40, third.bottom));
    EXPECT_NE(RGB(10, 36, 106), At(36, third.top - 1));
}

// A menu window whose items start below its border: the banner starts with the first item
// and ends with the last, whatever lies above.
TEST_F(MenuCanvas, BannerFollowsTheFirstItemsTop) {
    std::wstring text = L"x";
    TrayItemDrawing drawing;
    drawing.text = &text;
    drawing.menuHeight = 44;
    drawing.menuTop = 3;
    DrawTrayMenuItem(Item(ID_TRAY_CURRENT_IMAGES, {0, 3, 160, 25}, ODA_DRAWENTIRE), drawing);
    DrawTrayMenuItem(Item(ID_TRAY_EXIT, {0, 25, 160, 47}, ODA_DRAWENTIRE), drawing);
    EXPECT_EQ(RGB(255, 255, 255), At(21, 2));   // the border stays as it was
    EXPECT_EQ(BannerColorForRow(43, 44), At(21, 3));  // the top of the banner on the first item's top
    EXPECT_EQ(BannerColorForRow(0, 44), At(21, 46));  // its bottom on the last item's bottom
    EXPECT_EQ(RGB(255, 255, 255), At(21, 47));
}

TEST(TrayRows, TallMenuFontsGetTallerRows) {
    EXPECT_EQ(22, TrayRowHeightsFor(96, 16).item);
    EXPECT_EQ(30, TrayRowHeightsFor(96, 26).item);  // a large accessibility text size
    EXPECT_EQ(44, TrayRowHeightsFor(192, 30).item);
    EXPECT_EQ(8, TrayRowHeightsFor(192, 30).separator);
}

TEST_F(MenuCanvas, SelectionFillsTheHighlightsAndDeselectionWhitensThem) {
    TrayItemDrawing drawing;
    std::wstring label = L"a";
    drawing.text = &label;
    const RECT r{0, 26, 160, 48};
    DrawTrayMenuItem(Item(ID_TRAY_TIDY_SCREEN, r, ODA_SELECT, ODS_SELECTED), drawing);
    EXPECT_EQ(RGB(10, 36, 106), At(24, 27));     // outer highlight's corner
    EXPECT_EQ(RGB(230, 202, 213), At(30, 30));   // inner highlight
    EXPECT_EQ(RGB(255, 255, 255), At(23, 30));   // left of the highlight

    DrawTrayMenuItem(Item(ID_TRAY_TIDY_SCREEN, r, ODA_SELECT, 0), drawing);
    EXPECT_EQ(RGB(255, 255, 255), At(24, 27));
    EXPECT_EQ(RGB(255, 255, 255), At(30, 30));
}

TEST_F(MenuCanvas, SelectedTextIsReadableOnThePaleSelection) {
    ::SetTextColor(dc(), RGB(255, 255, 255));  // a highlight text colour left in the DC
    std::wstring text = L"\uC885\uB8CC";
    TrayItemDrawing drawing;
    drawing.text = &text;
    DrawTrayMenuItem(Item(ID_TRAY_EXIT, {0, 180, 160, 202}, ODA_SELECT, ODS_SELECTED), drawing);
    int dark = 0;
    for (int y = 182; y < 201; ++y)
        for (int x = 42; x < 100; ++x)
            if (GetRValue(At(x, y)) < 128) ++dark;
    EXPECT_GT(dark, 10);
    EXPECT_EQ(RGB(255, 255, 255), ::GetTextColor(dc()));  // the DC's colour is put back
}

TEST(TrayColors, HighContrastTakesTheSystemMenuAndHighlightPairs) {
    const TrayMenuColors own = TrayMenuColorsFor(false);
    EXPECT_EQ(RGB(255, 255, 255), own.panel);
    EXPECT_EQ(kSelectionOuter, own.selectionOuter);
    EXPECT_EQ(kSelectionInner, own.selectionInner);
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), own.selectedText) << "dark text on the pale selection";
    const TrayMenuColors contrast = TrayMenuColorsFor(true);
    EXPECT_EQ(::GetSysColor(COLOR_MENU), contrast.panel);
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), contrast.text);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), contrast.selectionOuter);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), contrast.selectionInner);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT), contrast.selectedText);
}

TEST_F(MenuCanvas, HighContrastDrawsPanelSelectionTextAndSeparatorInSystemColours) {
    const COLORREF menu = ::GetSysColor(COLOR_MENU), menuText = ::GetSysColor(COLOR_MENUTEXT);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    ASSERT_NE(highlight, highlightText);
    std::wstring text = L"\uC885\uB8CC";
    TrayItemDrawing drawing;
    drawing.text = &text;
    drawing.menuHeight = kHeight;
    drawing.highContrast = true;
    const std::vector<RECT> rows = DrawWholeMenu(drawing, 96);
    EXPECT_EQ(menu, At(150, rows[2].top + 2)) << "the panel right of the text";
    EXPECT_EQ(50 * (rows[2].bottom - rows[2].top - 1), canvas.Count(menu, {100, rows[2].top + 1, 150, rows[2].bottom}))
        << "no white panel left under the theme's text";
    EXPECT_GT(canvas.Count(menuText, {42, rows[2].top + 2, 120, rows[2].bottom - 1}), 10);
    EXPECT_EQ(menuText, At(60, rows[1].top + 2)) << "the separator in the menu text colour";

    DrawTrayMenuItem(Item(ID_TRAY_EXIT, rows[4], ODA_SELECT, ODS_SELECTED), drawing);
    EXPECT_EQ(highlight, At(140, rows[4].top + 5));
    EXPECT_GT(canvas.Count(highlightText, {42, rows[4].top + 2, 120, rows[4].bottom - 1}), 10) << "readable";
    EXPECT_EQ(0, canvas.Count(kSelectionInner, {0, 0, kWidth, kHeight}));

    DrawTrayMenuItem(Item(ID_TRAY_EXIT, rows[4], ODA_SELECT, 0), drawing);
    EXPECT_EQ(menu, At(140, rows[4].top + 5)) << "deselection restores the panel";
}

TEST_F(MenuCanvas, SeparatorIsALineWithTheCurrentPen) {
    fw::Pen pen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
    fw::SelectObjectGuard select(dc(), pen.get());
    std::wstring empty;
    TrayItemDrawing drawing;
    drawing.text = &empty;
    DrawTrayMenuItem(Item(0, {0, 22, 160, 26}, ODA_DRAWENTIRE), drawing);
    EXPECT_EQ(RGB(0, 0, 255), At(42, 24));
    EXPECT_EQ(RGB(0, 0, 255), At(149, 24));
    EXPECT_EQ(RGB(255, 255, 255), At(150, 24));
    EXPECT_EQ(RGB(255, 255, 255), At(41, 24));
}

TEST_F(MenuCanvas, PauseMarkOnlyWhenTheEntryIsChecked) {
    fw::Icon mark;
    // A solid red 16x16 icon built in memory.
    std::vector<BYTE> colour(16 * 16 * 4, 0), mask(16 * 16 / 8, 0);
    for (size_t i = 0; i < colour.size(); i += 4) { colour[i + 2] = 255; colour[i + 3] = 255; }
    fw::Bitmap colourBits(::CreateBitmap(16, 16, 1, 32, colour.data()));
    fw::Bitmap maskBits(::CreateBitmap(16, 16, 1, 1, mask.data()));
    ICONINFO info{TRUE, 0, 0, maskBits.get(), colourBits.get()};
    mark.reset(::CreateIconIndirect(&info));
    ASSERT_TRUE(mark);

    std::wstring text = L"p";
    TrayItemDrawing drawing;
    drawing.text = &text;
    drawing.pauseMark = mark.get();
    const RECT r{0, 100, 160, 122};
    DrawTrayMenuItem(Item(ID_TRAY_PAUSE, r, ODA_DRAWENTIRE), drawing);
    EXPECT_EQ(RGB(255, 255, 255), At(30, 110));
    DrawTrayMenuItem(Item(ID_TRAY_PAUSE, r, ODA_DRAWENTIRE, ODS_CHECKED), drawing);
    EXPECT_EQ(RGB(255, 0, 0), At(23, 103));
    EXPECT_EQ(RGB(255, 0, 0), At(38, 118));
    EXPECT_EQ(RGB(255, 255, 255), At(39, 118));
}

TEST(TrayItemWidth, LeavesRoomForTheBannerAndTheMarginsAtTheMenusDpi) {
    EXPECT_EQ(50 + 58, TrayItemWidthFor(50, 96));
    EXPECT_EQ(75 + 87, TrayItemWidthFor(75, 144));
    EXPECT_EQ(58, TrayItemWidthFor(0, 96));
}

}  // namespace
