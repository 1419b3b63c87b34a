#include "settings_ui/settings_page.h"

#include "settings_ui/color_list_ctrl.h"

CSettingsPage::CSettingsPage(UINT templateId, SettingsContext& context)
    : CDialog(templateId), m_context(context), m_pEnv(&context.env) {}

bool CSettingsPage::CreateIn(HWND host) {
    if (!Create(host)) return false;
    fw::SetStyleBits(m_hwnd, GWL_STYLE, DS_CONTROL, false);
    fw::SetStyleBits(m_hwnd, GWL_EXSTYLE, WS_EX_CONTROLPARENT, true);
    return true;
}

bool CSettingsPage::IsChecked(int id) const {
    return ::SendMessageW(GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSettingsPage::SetChecked(int id, bool on) const {
    ::SendMessageW(GetDlgItem(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CSettingsPage::Enable(int id, bool on) const { ::EnableWindow(GetDlgItem(id), on ? TRUE : FALSE); }

void CSettingsPage::Enable(std::initializer_list<int> ids, bool on) const {
    for (int id : ids) Enable(id, on);
}

void CSettingsPage::SetText(int id, const std::wstring& text) const { ::SetDlgItemTextW(m_hwnd, id, text.c_str()); }

std::wstring CSettingsPage::ComboText(int id) const {
    const LRESULT selected = ::SendMessageW(GetDlgItem(id), CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::wstring() : ComboText(id, static_cast<int>(selected));
}

std::wstring CSettingsPage::ComboText(int id, int index) const {
    HWND combo = GetDlgItem(id);
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

bool CSettingsPage::ChooseSwatchColor(CColorButton& swatch, COLORREF& color) {
    COLORREF chosen = color;
    if (!Prompts().PickColor(SettingsWindow(), chosen)) return false;
    color = chosen;
    swatch.SetColor(chosen);
    ::InvalidateRect(swatch.GetSafeHwnd(), nullptr, TRUE);
    return true;
}

void CSettingsPage::DpiChanged(UINT oldDpi, UINT newDpi) {
    if (!m_hwnd || oldDpi == 0 || oldDpi == newDpi) return;
    for (HWND child = ::GetWindow(m_hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ScaleListColumns(child, oldDpi, newDpi);
}

bool CSettingsPage::Dispatch(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || (LOWORD(wp) != IDOK && LOWORD(wp) != IDCANCEL)) return false;
    result = 0;
    return true;
}
