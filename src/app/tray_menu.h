#pragma once
// The tray menu drawn by the program itself: a gradient banner with the product name written
// upwards down the left side, a white panel, 22-pixel items and 4-pixel separators.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

constexpr int kTrayItemHeight = 22;
constexpr int kTraySeparatorHeight = 4;
constexpr COLORREF kBannerBottom = RGB(70, 0, 35);
constexpr COLORREF kBannerTop = RGB(255, 21, 135);
constexpr COLORREF kSelectionOuter = RGB(10, 36, 106);
constexpr COLORREF kSelectionInner = RGB(230, 202, 213);

// Banner colour of a row counted from the bottom, for a banner `height` rows high.
COLORREF BannerColorForRow(int rowFromBottom, int height);

// The banner: gradient of `width` x `height` at (0, 0), the caption upwards in white bold Arial,
// then the white panel (23, 1)-(width - 7, height) on which the items are drawn.
void DrawTrayBanner(HDC dc, int width, int height, const std::wstring& caption);

// Everything one item needs to draw itself, free of the menu object.
struct TrayItemDrawing {
    const std::wstring* text = nullptr;  // empty: a separator
    int menuHeight = 0;
    std::wstring version;
    HICON pauseMark = nullptr;
};
void DrawTrayMenuItem(const DRAWITEMSTRUCT& item, const TrayItemDrawing& drawing);

class CTrayMenu {
public:
    // Attaches to a popup menu that the caller owns; `resources` is the module with the version
    // string and the pause mark.
    explicit CTrayMenu(HMENU popup, HINSTANCE resources = ::GetModuleHandleW(nullptr));
    virtual ~CTrayMenu();
    CTrayMenu(const CTrayMenu&) = delete;
    CTrayMenu& operator=(const CTrayMenu&) = delete;

    void ConvertItems();
    void SetItemText(int index, const std::wstring& text);
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    virtual void MeasureItem(MEASUREITEMSTRUCT& item);

    HMENU GetSafeHmenu() const noexcept { return m_menu; }
    int MenuHeight() const noexcept { return m_menuHeight; }
    size_t ItemCount() const noexcept { return m_items.size(); }
    const std::wstring& ItemText(size_t index) const { return m_items.at(index)->text; }

private:
    struct Item {
        std::wstring text;
    };

    HMENU m_menu;
    HINSTANCE m_resources;
    std::vector<std::unique_ptr<Item>> m_items;
    int m_menuHeight = 0;
};

// Checks the pause entry and, while the desktop icons are shown, offers to hide them (entry 3).
struct TrayMenuState;
void ApplyTrayMenuState(CTrayMenu& menu, const TrayMenuState& state);

// Width of an item: the text's length in the ANSI code page (a double-byte character counts
// twice, as wide as it draws) times the average character width, plus 10.
int TrayItemWidth(const std::wstring& text, int averageCharWidth);
