#include "settings_ui/page_list_box.h"

#include <algorithm>

#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/system.h"

PageRowColors PageRowColorsFor(bool selected, bool highContrast) {
    if (highContrast)
        return selected ? PageRowColors{::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT),
                                        ::GetSysColor(COLOR_HIGHLIGHTTEXT)}
                        : PageRowColors{::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT),
                                        ::GetSysColor(COLOR_WINDOWTEXT)};
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    return selected ? PageRowColors{CPageListBox::kSelectedFill, text, RGB(0, 0, 0)}
                    : PageRowColors{::GetSysColor(COLOR_WINDOW), text, RGB(0, 0, 0)};
}

HIMAGELIST MakePageIcons(HBITMAP strip, int count, int sourceSize, int size) {
    if (!strip || count <= 0 || sourceSize <= 0 || size <= 0) return nullptr;
    HIMAGELIST icons = ::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, count);
    if (!icons) return nullptr;
    fw::WindowDc screen(nullptr);
    fw::Bitmap scaled(::CreateCompatibleBitmap(screen.get(), size * count, size));
    fw::MemoryDc from(::CreateCompatibleDC(screen.get())), to(::CreateCompatibleDC(screen.get()));
    if (scaled && from && to) {
        fw::SelectObjectGuard source(from.get(), strip);
        fw::SelectObjectGuard target(to.get(), scaled.get());
        // Nearest pixels: a smoothed edge would mix the white that stands for transparent into it.
        ::SetStretchBltMode(to.get(), COLORONCOLOR);
        for (int i = 0; i < count; ++i)
            ::StretchBlt(to.get(), i * size, 0, size, size, from.get(), i * sourceSize, 0, sourceSize, sourceSize,
                         SRCCOPY);
    }
    if (scaled) ::ImageList_AddMasked(icons, scaled.get(), RGB(255, 255, 255));
    return icons;
}

const fw::Handler<CPageListBox> CPageListBox::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_DRAWITEM, &CPageListBox::OnReflectedDrawItem),
};

CPageListBox::CPageListBox() = default;
CPageListBox::~CPageListBox() = default;

std::wstring CPageListBox::ItemText(int index) const {
    const LRESULT len = ::SendMessageW(m_hwnd, LB_GETTEXTLEN, index, 0);
    if (len == LB_ERR || len <= 0) return {};
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    const LRESULT got = ::SendMessageW(m_hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void CPageListBox::SetDpi(UINT dpi) {
    m_dpi = dpi ? dpi : fw::kDefaultDpi;
    if (m_hwnd) {
        // A variable-height list keeps a height per item; a fixed one reads the first only.
        const LRESULT count = ::SendMessageW(m_hwnd, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < std::max<LRESULT>(count, 1); ++i)
            ::SendMessageW(m_hwnd, LB_SETITEMHEIGHT, static_cast<WPARAM>(i), ItemHeight());
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
    }
}

int CPageListBox::ItemHeight() const { return fw::ScaleForDpi(kItemHeight, m_dpi); }
int CPageListBox::TextIndent() const { return fw::ScaleForDpi(kTextIndent, m_dpi); }

void CPageListBox::DrawIconAndText(HDC dc, const RECT& r, int index, COLORREF textColor) const {
    if (m_pImageList) {
        int size = 0, height = 0;
        ::ImageList_GetIconSize(m_pImageList, &size, &height);
        ::ImageList_Draw(m_pImageList, index, dc, r.left, r.top + (r.bottom - r.top - height) / 2, ILD_NORMAL);
    }
    const std::wstring text = ItemText(index);
    if (text.empty()) return;
    RECT textRect = r;
    textRect.left += TextIndent();
    ::SetTextColor(dc, textColor);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

void CPageListBox::DrawItem(const DRAWITEMSTRUCT& item) const { DrawItem(item, fw::HighContrastOn()); }

void CPageListBox::DrawItem(const DRAWITEMSTRUCT& item, bool highContrast) const {
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list asks for its focus only
    const int index = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool whole = (item.itemAction & ODA_DRAWENTIRE) != 0;
    const bool selectionChanged = (item.itemAction & ODA_SELECT) != 0;
    if (!whole && !selectionChanged) return;  // focus alone: no focus rectangle

    HDC dc = item.hDC;
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const RECT& r = item.rcItem;
    const PageRowColors colors = PageRowColorsFor(selected, highContrast);
    if (!selected) {
        fw::FillSolid(dc, r, colors.fill);
    } else {
        {
            fw::Pen outline(::CreatePen(PS_SOLID, 1, colors.outline));
            fw::SelectObjectGuard pen(dc, outline.get());
            fw::SelectObjectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
        RECT inside = r;
        ::InflateRect(&inside, -1, -1);
        fw::FillSolid(dc, inside, colors.fill);
    }
    DrawIconAndText(dc, r, index, colors.text);
    ::SetBkMode(dc, oldMode);
}

LRESULT CPageListBox::OnReflectedDrawItem(WPARAM, LPARAM lp) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!item || item->CtlType != ODT_LISTBOX) return FALSE;
    DrawItem(*item);
    return TRUE;
}
