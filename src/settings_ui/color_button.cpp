#include "settings_ui/color_button.h"

#include "framework/handles.h"

namespace {

// A one-pixel 3-D frame just inside `r`: `topLeft` on the top and left edges, `bottomRight` on
// the other two (which own the two far corners).
void Draw3dFrame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    fw::FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    fw::FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    fw::FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    fw::FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

void HorizontalLine(HDC dc, int x1, int x2, int y) {
    ::MoveToEx(dc, x1, y, nullptr);
    ::LineTo(dc, x2, y);
}

}  // namespace

const fw::Handler<CColorButton> CColorButton::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_DRAWITEM, &CColorButton::OnReflectedDrawItem),
};

CColorButton::CColorButton() = default;
CColorButton::~CColorButton() = default;

bool CColorButton::SubclassDlgItem(int id, HWND parent) {
    if (!CControl::SubclassDlgItem(id, parent)) return false;
    // The template may declare an ordinary push button: the swatch is owner-drawn either way.
    const LONG_PTR style = ::GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
    return true;
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const int savedDc = ::SaveDC(dc);
    RECT r = item.rcItem;
    Draw3dFrame(dc, r, RGB(255, 255, 255), RGB(0, 0, 0));

    RECT s = r;
    ::InflateRect(&s, -2, -2);
    fw::FillSolid(dc, s, (item.itemState & ODS_DISABLED) ? ::GetSysColor(COLOR_BTNSHADOW) : m_crColor);
    Draw3dFrame(dc, s, RGB(0, 0, 0), RGB(255, 255, 255));

    // The drop-down marker in the bottom right corner: a white-edged box with a small triangle.
    const int w = s.right - s.left, h = s.bottom - s.top;
    RECT marker{w - 10, h - 5, s.right, s.bottom};
    fw::FillSolid(dc, marker, RGB(255, 255, 255));
    marker.left += 1;
    marker.top += 1;
    fw::FillSolid(dc, marker, ::GetSysColor(COLOR_BTNFACE));
    ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    HorizontalLine(dc, w - 6, w - 1, h - 2);
    HorizontalLine(dc, w - 5, w - 2, h - 1);
    HorizontalLine(dc, w - 4, w - 3, h);
    ::RestoreDC(dc, savedDc);
}

LRESULT CColorButton::OnReflectedDrawItem(WPARAM, LPARAM lp) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!item || item->CtlType != ODT_BUTTON) return FALSE;
    DrawItem(*item);
    return TRUE;
}
