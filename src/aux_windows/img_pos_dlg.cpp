#include "aux_windows/img_pos_dlg.h"

#include <windowsx.h>

#include <string>

#include "composer/placement.h"
#include "framework/font_faces.h"
#include "framework/texts.h"
#include "resource.h"

void SquareSizingRect(UINT edge, RECT& r) {
    switch (edge) {
        case WMSZ_TOP:
        case WMSZ_BOTTOM:
            r.right = r.left + (r.bottom - r.top);
            break;
        case WMSZ_TOPLEFT:
        case WMSZ_TOPRIGHT:
            r.top = r.bottom - (r.right - r.left);
            break;
        default:  // left, right and the bottom corners
            r.bottom = r.top + (r.right - r.left);
            break;
    }
}

SIZE WheelResizedSize(SIZE current, int wheelDelta) {
    const int step = wheelDelta > 0 ? 5 : wheelDelta < 0 ? -5 : 0;
    return {current.cx + step, current.cy + step};
}

RECT CentredSquare(int side, int screenWidth, int screenHeight) {
    const int left = (screenWidth - side) / 2, top = (screenHeight - side) / 2;
    return {left, top, left + side, top + side};
}

namespace {

fw::Font MakeFont(int height, int weight, const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return fw::Font(::CreateFontIndirectW(&lf));
}

}  // namespace

const fw::Handler<CImgPosDlg> CImgPosDlg::kHandlers[] = {
    fw::OnMessage(WM_LBUTTONDOWN, &CImgPosDlg::OnLButtonDown),
    fw::OnMessage(WM_GETMINMAXINFO, &CImgPosDlg::OnGetMinMaxInfo),
    fw::OnMessage(WM_SIZING, &CImgPosDlg::OnSizing),
    fw::OnMessage(WM_SIZE, &CImgPosDlg::OnSize),
    fw::OnMessage(WM_CONTEXTMENU, &CImgPosDlg::OnContextMenu),
    fw::OnCommand(ID_IMGPOS_DELETE, &CImgPosDlg::OnDelete),
    fw::OnMessage(WM_PAINT, &CImgPosDlg::OnPaint),
    fw::OnMessage(WM_PRINTCLIENT, &CImgPosDlg::OnPrintClient),
    fw::OnMessage(WM_SETFOCUS, &CImgPosDlg::OnSetFocus),
    fw::OnMessage(WM_KILLFOCUS, &CImgPosDlg::OnKillFocus),
    fw::OnMessage(WM_MOUSEWHEEL, &CImgPosDlg::OnMouseWheel),
};

CImgPosDlg::CImgPosDlg(const RECT& rect, int number, int screenWidth, HWND receiver)
    : CDialogImpl(IDD_IMGPOS), m_rect(rect), m_number(number), m_screenWidth(screenWidth), m_receiver(receiver) {}

CImgPosDlg::~CImgPosDlg() = default;

BOOL CImgPosDlg::OnInitDialog() {
    m_captionFont = MakeFont(11, FW_NORMAL, fw::LoadText(IDS_CAPTION_FACE).c_str());
    m_numberFont = MakeFont(48, FW_BOLD, fw::kPositionNumberFace);
    ::MoveWindow(m_hwnd, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, TRUE);
    m_color = kNormalColor;
    MakeTranslucent();
    return TRUE;
}

void CImgPosDlg::MakeTranslucent() {
    fw::SetStyleBits(m_hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
    // Where layering is refused the window simply stays opaque.
    ::SetLayeredWindowAttributes(m_hwnd, 0, kAlpha, LWA_ALPHA);
}

void CImgPosDlg::SetColor(COLORREF color) {
    m_color = color;
    if (!m_hwnd) return;
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
    ::UpdateWindow(m_hwnd);
}

LRESULT CImgPosDlg::OnLButtonDown(WPARAM, LPARAM lp) {
    // Anywhere in the square moves it, as a caption would.
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ::ClientToScreen(m_hwnd, &at);
    ::PostMessageW(m_hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    return 0;
}

LRESULT CImgPosDlg::OnGetMinMaxInfo(WPARAM, LPARAM lp) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lp);
    const int maxSide = MaxPhotoSizeForScreen(m_screenWidth);
    info->ptMinTrackSize = {kMinSide, kMinSide};
    info->ptMaxTrackSize = {maxSide, maxSide};
    return 0;
}

LRESULT CImgPosDlg::OnSizing(WPARAM edge, LPARAM lp) {
    SquareSizingRect(static_cast<UINT>(edge), *reinterpret_cast<RECT*>(lp));
    return TRUE;
}

LRESULT CImgPosDlg::OnSize(WPARAM, LPARAM) {
    ::InvalidateRect(m_hwnd, nullptr, TRUE);  // the number stays centred
    return 0;
}

LRESULT CImgPosDlg::OnContextMenu(WPARAM, LPARAM lp) {
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (at.x == -1 && at.y == -1) {  // from the keyboard: the middle of the square
        RECT r{};
        ::GetWindowRect(m_hwnd, &r);
        at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    fw::Menu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_IMGPOS_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (popup) ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hwnd, nullptr);
    return 0;
}

void CImgPosDlg::OnDelete() {
    if (m_receiver) ::PostMessageW(m_receiver, WM_IMGPOS_DELETE, static_cast<WPARAM>(m_number), 0);
}

LRESULT CImgPosDlg::OnSetFocus(WPARAM, LPARAM) {
    SetColor(kFocusColor);
    return 0;
}

LRESULT CImgPosDlg::OnKillFocus(WPARAM, LPARAM) {
    SetColor(kNormalColor);
    return 0;
}

LRESULT CImgPosDlg::OnMouseWheel(WPARAM wp, LPARAM) {
    RECT r{};
    ::GetWindowRect(m_hwnd, &r);
    // The system holds the size within the tracking limits on every resize of a sizing frame.
    const SIZE size = WheelResizedSize({r.right - r.left, r.bottom - r.top}, GET_WHEEL_DELTA_WPARAM(wp));
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT CImgPosDlg::OnPaint(WPARAM, LPARAM) {
    fw::PaintDc dc(m_hwnd);
    Paint(dc.get());
    return 0;
}

LRESULT CImgPosDlg::OnPrintClient(WPARAM wp, LPARAM) {
    Paint(reinterpret_cast<HDC>(wp));
    return 0;
}

void CImgPosDlg::Paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    {
        fw::Brush fill(::CreateSolidBrush(m_color));
        fw::SelectObjectGuard brush(dc, fill.get());
        fw::SelectObjectGuard pen(dc, ::GetStockObject(BLACK_PEN));
        ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
    }
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, RGB(0, 0, 0));
    {
        RECT below = client;
        below.top = (client.top + client.bottom) / 2 + 24;
        fw::SelectObjectGuard font(dc, m_captionFont.get());
        ::DrawTextW(dc, fw::LoadText(IDS_POSITION_CAPTION).c_str(), -1, &below, DT_CENTER | DT_SINGLELINE);
    }
    {
        RECT all = client;
        const std::wstring number = std::to_wstring(m_number);
        fw::SelectObjectGuard font(dc, m_numberFont.get());
        ::DrawTextW(dc, number.c_str(), -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
}
