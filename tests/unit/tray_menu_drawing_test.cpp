#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>

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
    std::wstring text;

    void SetUp() override { ASSERT_TRUE(canvas); }
    HDC dc() const { return canvas.dc(); }
    COLORREF At(int x, int y) const { return canvas.At(x, y); }
    // What the menu hands each item: this label, for a menu of that height.
    TrayItemDrawing Drawing(const std::wstring& label, int menuHeight = 0) {
        text = label;
        TrayItemDrawing drawing;
        drawing.text = &text;
        drawing.menuHeight = menuHeight;
        return drawing;
    }
    // Each point's colour; the first that differs tells which.
    ::testing::AssertionResult Pixels(std::initializer_list<std::tuple<int, int, COLORREF>> points) const {
        for (const auto& [x, y, colour] : points)
            if (At(x, y) != colour)
                return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << std::hex << At(x, y) << ", not "
                                                     << colour;
        return ::testing::AssertionSuccess();
    }

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
    TrayItemDrawing drawing = Drawing(L"\uD604\uC7AC \uC774\uBBF8\uC9C0\uB4E4..", kHeight);
    drawing.version = L"1.56";
    DrawWholeMenu(drawing, 96);

    // The banner's top and bottom, the panel, the right edge strip from R - 4, and nothing beyond
    // the items' rectangles.
    EXPECT_TRUE(Pixels({{21, 0, RGB(255, 21, 135)}, {21, kHeight - 1, RGB(70, 0, 35)}, {100, 120, RGB(255, 255, 255)},
                        {159, 0, RGB(255, 21, 135)}, {160, 100, RGB(255, 255, 255)}}));
    // The caption is white text written upwards inside the banner's lower part.
    EXPECT_GT(canvas.Count(RGB(255, 255, 255), {2, kHeight - 120, 22, kHeight - 4}), 60);
    EXPECT_EQ(0, canvas.Count(RGB(255, 255, 255), {2, 1, 22, 40}));
}

TEST_F(MenuCanvas, AFullDrawPaintsOnlyTheItemsOwnBandOfTheBanner) {
    const TrayItemDrawing drawing = Drawing(L"x", kHeight);
    DrawTrayMenuItem(Item(ID_TRAY_CURRENT_IMAGES, {0, 0, 160, 22}, ODA_SELECT), drawing);
    DrawTrayMenuItem(Item(ID_TRAY_TIDY_SCREEN, {0, 26, 160, 48}, ODA_DRAWENTIRE), drawing);
    // A selection change draws no banner, nor does a row outside the item; the item's band does.
    EXPECT_TRUE(Pixels({{5, 5, RGB(255, 255, 255)}, {5, 25, RGB(255, 255, 255)}, {5, kHeight - 1, RGB(255, 255, 255)},
                        {5, 30, BannerColorForRow(kHeight - 1 - 30, kHeight)}, {5, 48, RGB(255, 255, 255)}}));
}

// At 144 DPI every 96-DPI size is half as large again, and each row keeps to its rectangle.
TEST_F(MenuCanvas, At144DpiSizesScaleAndDrawingStaysInsideEachRow) {
    const TrayRowHeights rows = TrayRowHeightsFor(144, 0);
    EXPECT_EQ(33, rows.item);
    EXPECT_EQ(6, rows.separator);
    const int height = 9 * rows.item + 4 * rows.separator;  // 321 of the canvas' 214: cut below
    TrayItemDrawing drawing = Drawing(L"\uC885\uB8CC", height);
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
    TrayItemDrawing drawing = Drawing(L"x", 44);
    drawing.menuTop = 3;
    DrawTrayMenuItem(Item(ID_TRAY_CURRENT_IMAGES, {0, 3, 160, 25}, ODA_DRAWENTIRE), drawing);
    DrawTrayMenuItem(Item(ID_TRAY_EXIT, {0, 25, 160, 47}, ODA_DRAWENTIRE), drawing);
    // The border stays as it was; the banner's top is on the first item's top, its bottom on the
    // last item's bottom.
    EXPECT_TRUE(Pixels({{21, 2, RGB(255, 255, 255)}, {21, 3, BannerColorForRow(43, 44)}, {21, 46, BannerColorForRow(0, 44)},
                        {21, 47, RGB(255, 255, 255)}}));
}

// Tall menu fonts get taller rows; an item's width leaves room for the banner and the margins
// at the menu's DPI.
TEST(TrayRows, TallMenuFontsGetTallerRowsAndItemsRoomForTheBanner) {
    EXPECT_EQ(22, TrayRowHeightsFor(96, 16).item);
    EXPECT_EQ(30, TrayRowHeightsFor(96, 26).item);  // a large accessibility text size
    EXPECT_EQ(44, TrayRowHeightsFor(192, 30).item);
    EXPECT_EQ(8, TrayRowHeightsFor(192, 30).separator);
    EXPECT_EQ(50 + 58, TrayItemWidthFor(50, 96));
    EXPECT_EQ(75 + 87, TrayItemWidthFor(75, 144));
    EXPECT_EQ(58, TrayItemWidthFor(0, 96));
}

TEST_F(MenuCanvas, SelectionFillsTheHighlightsWithReadableTextAndDeselectionWhitensThem) {
    const TrayItemDrawing drawing = Drawing(L"a");
    const RECT r{0, 26, 160, 48};
    DrawTrayMenuItem(Item(ID_TRAY_TIDY_SCREEN, r, ODA_SELECT, ODS_SELECTED), drawing);
    // The outer highlight's corner, the inner highlight, left of the highlight.
    EXPECT_TRUE(Pixels({{24, 27, RGB(10, 36, 106)}, {30, 30, RGB(230, 202, 213)}, {23, 30, RGB(255, 255, 255)}}));
    DrawTrayMenuItem(Item(ID_TRAY_TIDY_SCREEN, r, ODA_SELECT, 0), drawing);
    EXPECT_TRUE(Pixels({{24, 27, RGB(255, 255, 255)}, {30, 30, RGB(255, 255, 255)}}));

    ::SetTextColor(dc(), RGB(255, 255, 255));  // a highlight text colour left in the DC
    DrawTrayMenuItem(Item(ID_TRAY_EXIT, {0, 180, 160, 202}, ODA_SELECT, ODS_SELECTED), Drawing(L"\uC885\uB8CC"));
    int dark = 0;
    for (int y = 182; y < 201; ++y)
        for (int x = 42; x < 100; ++x) dark += GetRValue(At(x, y)) < 128;
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
    TrayItemDrawing drawing = Drawing(L"\uC885\uB8CC", kHeight);
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
    DrawTrayMenuItem(Item(0, {0, 22, 160, 26}, ODA_DRAWENTIRE), Drawing(L""));
    EXPECT_TRUE(Pixels({{42, 24, RGB(0, 0, 255)}, {149, 24, RGB(0, 0, 255)}, {150, 24, RGB(255, 255, 255)},
                        {41, 24, RGB(255, 255, 255)}}));
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

    TrayItemDrawing drawing = Drawing(L"p");
    drawing.pauseMark = mark.get();
    const RECT r{0, 100, 160, 122};
    DrawTrayMenuItem(Item(ID_TRAY_PAUSE, r, ODA_DRAWENTIRE), drawing);
    EXPECT_EQ(RGB(255, 255, 255), At(30, 110));
    DrawTrayMenuItem(Item(ID_TRAY_PAUSE, r, ODA_DRAWENTIRE, ODS_CHECKED), drawing);
    EXPECT_TRUE(Pixels({{23, 103, RGB(255, 0, 0)}, {38, 118, RGB(255, 0, 0)}, {39, 118, RGB(255, 255, 255)}}));
}

}  // namespace
