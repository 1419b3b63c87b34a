#include "settings_ui/color_list_ctrl.h"

#include <commctrl.h>

#include <iterator>

#include "framework/dpi.h"
#include "framework/mbstring.h"

int ScaleColumnWidth(int width, UINT fromDpi, UINT toDpi) {
    if (fromDpi == 0 || toDpi == 0) return width;
    return ::MulDiv(width, static_cast<int>(toDpi), static_cast<int>(fromDpi));
}

void ScaleListColumns(HWND list, UINT fromDpi, UINT toDpi) {
    wchar_t cls[32] = {};
    ::GetClassNameW(list, cls, 32);
    if (std::wstring(cls) != WC_LISTVIEWW) return;
    HWND header = ListView_GetHeader(list);
    const int columns = header ? Header_GetItemCount(header) : 0;
    for (int i = 0; i < columns; ++i)
        ListView_SetColumnWidth(list, i, ScaleColumnWidth(ListView_GetColumnWidth(list, i), fromDpi, toDpi));
}

const fw::Handler<CColorListCtrl> CColorListCtrl::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_NOTIFY, &CColorListCtrl::OnReflectedNotify),
};

std::vector<std::string> SplitTokens(const std::string& text, const std::string& delimiters) {
    std::vector<std::string> tokens;
    size_t start = text.find_first_not_of(delimiters);
    while (start != std::string::npos) {
        size_t end = text.find_first_of(delimiters, start);
        tokens.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : text.find_first_not_of(delimiters, end);
    }
    return tokens;
}

RowTint TintForStage(DWORD drawStage, DWORD_PTR itemIndex) {
    if (drawStage == CDDS_PREPAINT) return {CDRF_NOTIFYITEMDRAW, false};
    if (drawStage == CDDS_ITEMPREPAINT && (itemIndex % 2) == 1) return {CDRF_NEWFONT, true};
    return {CDRF_DODEFAULT, false};
}

CColorListCtrl::CColorListCtrl() = default;
CColorListCtrl::~CColorListCtrl() = default;

BOOL CColorListCtrl::InsertColumns(const char* headings, const char* delimiters, const int* widths,
                                   const int* formats) {
    const std::vector<std::string> tokens = SplitTokens(headings ? headings : "", delimiters ? delimiters : "");
    if (tokens.empty()) return FALSE;
    HWND header = ListView_GetHeader(m_hwnd);
    const int existing = header ? Header_GetItemCount(header) : 0;
    const UINT dpi = fw::WindowDpi(m_hwnd);
    for (size_t i = 0; i < tokens.size(); ++i) {
        std::wstring text = mb::Widen(tokens[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = formats ? formats[i] : LVCFMT_LEFT;
        column.cx = fw::ScaleForDpi(widths ? widths[i] : 30, dpi);
        column.pszText = text.data();
        column.iSubItem = static_cast<int>(i);
        if (::SendMessageW(m_hwnd, LVM_INSERTCOLUMNW, existing + i, reinterpret_cast<LPARAM>(&column)) < 0)
            return FALSE;
    }
    m_nColumns = static_cast<int>(tokens.size());
    return TRUE;
}

int CColorListCtrl::InsertRow(const std::vector<std::string>& cells) {
    if (cells.empty()) return -1;
    std::wstring first = mb::Widen(cells[0]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = GetItemCount();
    item.pszText = first.data();
    const int row = static_cast<int>(::SendMessageW(m_hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return row;
    for (size_t i = 1; i < cells.size(); ++i) {
        std::wstring text = mb::Widen(cells[i]);
        LVITEMW cell{};
        cell.iSubItem = static_cast<int>(i);
        cell.pszText = text.data();
        if (!::SendMessageW(m_hwnd, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell))) return -1;
    }
    return row;
}

int CColorListCtrl::GetItemCount() const { return static_cast<int>(::SendMessageW(m_hwnd, LVM_GETITEMCOUNT, 0, 0)); }

std::string CColorListCtrl::GetItemText(int row, int column) const {
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    ::SendMessageW(m_hwnd, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return mb::Narrow(buffer);
}

void CColorListCtrl::DeleteAllItems() { ::SendMessageW(m_hwnd, LVM_DELETEALLITEMS, 0, 0); }

bool CColorListCtrl::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == fw::kReflectBase + WM_NOTIFY && (!lp || reinterpret_cast<NMHDR*>(lp)->code != NM_CUSTOMDRAW))
        return false;
    return CControlImpl::Dispatch(msg, wp, lp, result);
}

LRESULT CColorListCtrl::OnReflectedNotify(WPARAM, LPARAM lp) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
    const RowTint tint = TintForStage(draw->nmcd.dwDrawStage, draw->nmcd.dwItemSpec);
    if (tint.tinted) {
        draw->clrText = kTintText;
        draw->clrTextBk = kTintBack;
    }
    return tint.answer;
}
