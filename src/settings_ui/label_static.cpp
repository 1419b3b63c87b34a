#include "settings_ui/label_static.h"

#include <shellapi.h>

#include "framework/mbstring.h"

const fw::Handler<CLabelStatic> CLabelStatic::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_CTLCOLORSTATIC, &CLabelStatic::OnReflectedCtlColor),
    fw::OnMessage(fw::kReflectBase + WM_COMMAND, &CLabelStatic::OnReflectedCommand),
    fw::OnMessage(WM_SETCURSOR, &CLabelStatic::OnSetCursor),
};

void ApplyFontStyle(LOGFONTA& lf, UINT style) {
    lf.lfWeight = (style & CLabelStatic::kBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & CLabelStatic::kItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style & CLabelStatic::kUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style & CLabelStatic::kStrikeOut) ? TRUE : FALSE;
}

CLabelStatic::CLabelStatic()
    : m_crText(::GetSysColor(COLOR_WINDOWTEXT)), m_brBack(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))) {
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_lf, &m_lf);
    m_font.reset(::CreateFontIndirectA(&m_lf));
}

CLabelStatic::~CLabelStatic() {
    // The static keeps only the handle: take it back before the font dies.
    if (m_hwnd && ::IsWindow(m_hwnd)) ::SendMessageW(m_hwnd, WM_SETFONT, 0, FALSE);
}

bool CLabelStatic::SubclassDlgItem(int id, HWND parent) {
    if (!CControl::SubclassDlgItem(id, parent)) return false;
    if (!m_fontSet) TakeDialogFontHeight(parent);
    ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    return true;
}

// The stock font has one size for every monitor.
void CLabelStatic::TakeDialogFontHeight(HWND parent) {
    const auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0));
    LOGFONTA dialog{};
    if (!dialogFont || !::GetObjectA(dialogFont, sizeof dialog, &dialog) || dialog.lfHeight == 0) return;
    m_lf.lfHeight = dialog.lfHeight;
    m_lf.lfWidth = 0;
    m_font.reset(::CreateFontIndirectA(&m_lf));
}

void CLabelStatic::DpiChanged(UINT oldDpi, UINT newDpi) {
    if (oldDpi == 0 || newDpi == 0 || oldDpi == newDpi) return;
    m_lf.lfHeight = ::MulDiv(m_lf.lfHeight, static_cast<int>(newDpi), static_cast<int>(oldDpi));
    m_lf.lfWidth = ::MulDiv(m_lf.lfWidth, static_cast<int>(newDpi), static_cast<int>(oldDpi));
    RebuildFont();
    Redraw(false);
}

void CLabelStatic::SetTextColor(COLORREF color) {
    m_crText = color;
    Redraw(false);
}

void CLabelStatic::SetBkColor(COLORREF color) {
    m_brBack.reset(::CreateSolidBrush(color));
    Redraw(false);
}

void CLabelStatic::SetLogFont(const LOGFONTA& lf) {
    m_lf = lf;
    m_fontSet = true;
    RebuildFont();
    Redraw(true);
}

void CLabelStatic::SetFontStyle(UINT remove, UINT add) {
    m_nStyle = CombineFontStyle(m_nStyle, remove, add);
    ApplyFontStyle(m_lf, m_nStyle);
    RebuildFont();
    Redraw(true);
    ApplyFrameStyles();
}

void CLabelStatic::SetLink(BOOL on) {
    m_bLink = on;
    if (m_hwnd) fw::SetStyleBits(m_hwnd, GWL_STYLE, SS_NOTIFY, on);
    if (!on) return;
    m_hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    SetFontStyle(0, kUnderline);
    m_crText = RGB(0, 0, 255);
    Redraw(false);
}

void CLabelStatic::OpenLinkTarget(const std::string& text) {
    ::ShellExecuteW(nullptr, L"open", mb::Widen(text).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CLabelStatic::RebuildFont() {
    fw::Font font(::CreateFontIndirectA(&m_lf));
    if (m_hwnd) ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    m_font = std::move(font);  // the old one dies only after the control lets go of it
}

void CLabelStatic::Redraw(bool now) {
    if (!m_hwnd) return;
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
    if (now) ::UpdateWindow(m_hwnd);
}

void CLabelStatic::ApplyFrameStyles() {
    if (!m_hwnd) return;
    constexpr UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    fw::SetStyleBits(m_hwnd, GWL_EXSTYLE, WS_EX_STATICEDGE, (m_nStyle & kSunken) != 0);
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, kFrameChanged);
    fw::SetStyleBits(m_hwnd, GWL_STYLE, WS_BORDER, (m_nStyle & kBorder) != 0);
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, kFrameChanged);
}

LRESULT CLabelStatic::OnReflectedCtlColor(WPARAM wp, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wp);
    ::SetTextColor(dc, m_crText);
    ::SetBkMode(dc, TRANSPARENT);
    ::SelectObject(dc, m_font.get());
    return reinterpret_cast<LRESULT>(m_brBack.get());
}

bool CLabelStatic::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == fw::kReflectBase + WM_COMMAND && (HIWORD(wp) != STN_CLICKED || !m_bLink)) return false;
    return CControlImpl::Dispatch(msg, wp, lp, result);
}

LRESULT CLabelStatic::OnReflectedCommand(WPARAM, LPARAM) {
    OpenLinkTarget(mb::Narrow(fw::WindowText(m_hwnd)));
    return 0;
}

LRESULT CLabelStatic::OnSetCursor(WPARAM wp, LPARAM lp) {
    if (!m_hCursor) return CallOriginal(WM_SETCURSOR, wp, lp);
    ::SetCursor(m_hCursor);
    return TRUE;
}
