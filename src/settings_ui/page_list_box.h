#pragma once
// The settings dialog's list of pages: owner-drawn items, each with its icon and name, the
// selected one outlined on a pale rose fill.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/window.h"

class CPageListBox : public fw::CControlImpl<CPageListBox> {
public:
    static constexpr int kItemHeight = 20;
    static constexpr int kTextIndent = 22;
    static constexpr COLORREF kSelectedFill = RGB(230, 202, 213);

    CPageListBox();
    ~CPageListBox() override;

    // Image i is drawn beside item i; null draws no icons. Not owned.
    void SetImageList(HIMAGELIST images) { m_pImageList = images; }

    // The owner-draw requests of the list; the dialog forwards WM_MEASUREITEM, WM_DRAWITEM comes
    // back reflected. Tests call them directly.
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    void MeasureItem(MEASUREITEMSTRUCT& item) const { item.itemHeight = kItemHeight; }

    std::wstring ItemText(int index) const;

    static const fw::Handler<CPageListBox> kHandlers[];

private:
    LRESULT OnReflectedDrawItem(WPARAM, LPARAM);
    void DrawIconAndText(HDC dc, const RECT& r, int index) const;

    HIMAGELIST m_pImageList = nullptr;
};
