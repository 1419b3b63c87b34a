#pragma once
// The settings dialog's list of pages: owner-drawn items, each with its icon and name, the
// selected one outlined on a pale rose fill (the system's highlight under a high-contrast theme).
// Sizes are given at 96 DPI and follow the DPI the settings window is shown at.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/window.h"

// The colours of one row: the pale rose selection only where the theme's text stays readable on it.
struct PageRowColors {
    COLORREF fill;
    COLORREF text;
    COLORREF outline;  // of a selected row
};
PageRowColors PageRowColorsFor(bool selected, bool highContrast);

// The page icons at `size` pixels, cut from a strip of `count` icons of `sourceSize` pixels each,
// white for transparent. Null when the strip is missing.
HIMAGELIST MakePageIcons(HBITMAP strip, int count, int sourceSize, int size);

class CPageListBox : public fw::CControlImpl<CPageListBox> {
public:
    static constexpr int kItemHeight = 20;
    static constexpr int kTextIndent = 22;
    static constexpr COLORREF kSelectedFill = RGB(230, 202, 213);

    static constexpr int kIconSize = 20;

    CPageListBox();
    ~CPageListBox() override;

    // Image i is drawn beside item i; null draws no icons. Not owned.
    void SetImageList(HIMAGELIST images) { m_pImageList = images; }

    // The owner-draw requests of the list; the dialog forwards WM_MEASUREITEM, WM_DRAWITEM comes
    // back reflected. Tests call them directly.
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    void DrawItem(const DRAWITEMSTRUCT& item, bool highContrast) const;
    void MeasureItem(MEASUREITEMSTRUCT& item) const { item.itemHeight = static_cast<UINT>(ItemHeight()); }

    // The DPI the rows are measured and drawn at; a live list takes the new row height at once.
    void SetDpi(UINT dpi);
    UINT Dpi() const { return m_dpi; }
    int ItemHeight() const;
    int TextIndent() const;

    std::wstring ItemText(int index) const;

    static const fw::Handler<CPageListBox> kHandlers[];

private:
    LRESULT OnReflectedDrawItem(WPARAM, LPARAM);
    void DrawIconAndText(HDC dc, const RECT& r, int index, COLORREF textColor) const;

    HIMAGELIST m_pImageList = nullptr;
    UINT m_dpi = 96;
};
