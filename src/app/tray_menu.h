#pragma once
// The tray menu drawn by the program itself: a gradient banner with the product name written
// upwards down the left side, a white panel, 22-pixel items and 4-pixel separators. Every size
// is given at 96 DPI and scaled to the DPI the menu is shown at.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/handles.h"

constexpr int kTrayItemHeight = 22;
constexpr int kTraySeparatorHeight = 4;
constexpr COLORREF kBannerBottom = RGB(70, 0, 35);
constexpr COLORREF kBannerTop = RGB(255, 21, 135);
constexpr COLORREF kSelectionOuter = RGB(10, 36, 106);
constexpr COLORREF kSelectionInner = RGB(230, 202, 213);

// Banner colour of a row counted from the bottom, for a banner `height` rows high.
COLORREF BannerColorForRow(int rowFromBottom, int height);

// The colours of the panel and the selection: the program's white panel and rose selection, or
// under a high-contrast theme the system's menu and highlight pairs, which the theme keeps
// readable (its menu text may be white).
struct TrayMenuColors {
    COLORREF panel;
    COLORREF text;
    COLORREF selectionOuter;
    COLORREF selectionInner;
    COLORREF selectedText;
};
TrayMenuColors TrayMenuColorsFor(bool highContrast);

// The banner: gradient of `width` x `height` at (0, 0), the caption upwards in white bold Arial,
// then the panel (23, 1)-(width - 7, height) on which the items are drawn.
void DrawTrayBanner(HDC dc, int width, int height, const std::wstring& caption, UINT dpi = 96,
                    COLORREF panel = RGB(255, 255, 255));

// Everything one item needs to draw itself, free of the menu object.
struct TrayItemDrawing {
    const std::wstring* text = nullptr;  // empty: a separator
    int menuHeight = 0;
    int menuTop = 0;  // where the first item begins in the DC: the banner starts there
    std::wstring version;
    HICON pauseMark = nullptr;
    UINT dpi = 96;
    bool highContrast = false;
};
// Draws one item inside its rectangle, its band of the banner included (on a full draw).
void DrawTrayMenuItem(const DRAWITEMSTRUCT& item, const TrayItemDrawing& drawing);

// Row heights at a DPI: 22 and 4 scaled, and an item never lower than the menu font needs.
struct TrayRowHeights {
    int item = kTrayItemHeight;
    int separator = kTraySeparatorHeight;
};
TrayRowHeights TrayRowHeightsFor(UINT dpi, int fontHeight);
// Width of an item whose text measures textWidth pixels in the menu font.
int TrayItemWidthFor(int textWidth, UINT dpi);

class CTrayMenu {
public:
    // Attaches to a popup menu that the caller owns; `resources` is the module with the version
    // string and the pause mark; `dpi` is the DPI of the window the menu is shown for.
    explicit CTrayMenu(HMENU popup, HINSTANCE resources = ::GetModuleHandleW(nullptr), UINT dpi = 96);
    virtual ~CTrayMenu();
    CTrayMenu(const CTrayMenu&) = delete;
    CTrayMenu& operator=(const CTrayMenu&) = delete;

    void ConvertItems();
    void SetItemText(int index, const std::wstring& text);
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    virtual void MeasureItem(MEASUREITEMSTRUCT& item);

    HMENU GetSafeHmenu() const noexcept { return m_menu; }
    int MenuHeight() const noexcept { return m_menuHeight; }
    const TrayRowHeights& RowHeights() const noexcept { return m_rows; }
    size_t ItemCount() const noexcept { return m_items.size(); }
    const std::wstring& ItemText(size_t index) const { return m_items.at(index)->text; }

private:
    struct Item {
        std::wstring text;
        int top = 0;  // from the first item's top
    };

    SIZE TextSize(const std::wstring& text) const;

    HMENU m_menu;
    HINSTANCE m_resources;
    UINT m_dpi;
    bool m_highContrast;
    fw::Font m_font;  // the menu font at m_dpi: items are measured and drawn in it
    fw::Icon m_pauseMark;
    TrayRowHeights m_rows;
    std::vector<std::unique_ptr<Item>> m_items;
    int m_menuHeight = 0;
};

// Checks the pause entry and, while the desktop icons are shown, offers to hide them (entry 3).
struct TrayMenuState;
void ApplyTrayMenuState(CTrayMenu& menu, const TrayMenuState& state);
