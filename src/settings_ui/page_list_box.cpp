#include "settings_ui/page_list_box.h"

#include "framework/handles.h"

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

void CPageListBox::DrawIconAndText(HDC dc, const RECT& r, int index) const {
    if (m_pImageList) ::ImageList_Draw(m_pImageList, index, dc, r.left, r.top, ILD_NORMAL);
    const std::wstring text = ItemText(index);
    if (text.empty()) return;
    RECT textRect = r;
    textRect.left += kTextIndent;
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

void CPageListBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list asks for its focus only
    const int index = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool whole = (item.itemAction & ODA_DRAWENTIRE) != 0;
    const bool selectionChanged = (item.itemAction & ODA_SELECT) != 0;
    if (!whole && !selectionChanged) return;  // focus alone: no focus rectangle

    HDC dc = item.hDC;
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const RECT& r = item.rcItem;
    if (!selected) {
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOW));
    } else {
        {
            fw::Pen outline(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
            fw::SelectObjectGuard pen(dc, outline.get());
            fw::SelectObjectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
        RECT inside = r;
        ::InflateRect(&inside, -1, -1);
        fw::Brush fill(::CreateSolidBrush(kSelectedFill));
        ::FillRect(dc, &inside, fill.get());
    }
    DrawIconAndText(dc, r, index);
    ::SetBkMode(dc, oldMode);
}

LRESULT CPageListBox::OnReflectedDrawItem(WPARAM, LPARAM lp) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!item || item->CtlType != ODT_LISTBOX) return FALSE;
    DrawItem(*item);
    return TRUE;
}
