#include "settings_ui/env_set_dlg.h"

#include "framework/dpi.h"
#include "framework/texts.h"
#include "resource.h"
#include "settings_ui/set_back_img.h"
#include "settings_ui/set_calen.h"
#include "settings_ui/set_effect.h"
#include "settings_ui/set_etc.h"
#include "settings_ui/set_fore_img.h"
#include "settings_ui/set_help.h"
#include "settings_ui/set_path.h"

namespace {

constexpr COLORREF kCaptionStart = RGB(70, 0, 35);
constexpr COLORREF kCaptionEnd = RGB(255, 21, 135);

constexpr UINT kPageNames[CEnvSetDlg::kPageCount] = {IDS_PAGE_BACKGROUND, IDS_PAGE_PHOTOS,   IDS_PAGE_EFFECTS,
                                                      IDS_PAGE_FOLDERS,    IDS_PAGE_CALENDAR, IDS_PAGE_OTHERS,
                                                      IDS_PAGE_HELP};

fw::Font MakeCaptionFont(UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = fw::ScaleForDpi(12, dpi);
    lf.lfWeight = FW_BOLD;
    wcsncpy_s(lf.lfFaceName, LF_FACESIZE, fw::LoadText(IDS_CAPTION_FACE).c_str(), _TRUNCATE);
    return fw::Font(::CreateFontIndirectW(&lf));
}

// Shown among its siblings, whether or not the dialog itself is on the screen yet.
bool IsShown(HWND page) { return (::GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

void DrawCaptionStrip(HDC dc, const RECT& strip, const std::wstring& text, HFONT font) {
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
    // Each channel advances by (end - start) / width per column; every column takes it truncated.
    const double span = strip.right > strip.left ? strip.right - strip.left : 1;
    auto channel = [span](int start, int end, int column) {
        return static_cast<int>(start + (end - start) * (column / span));
    };
    for (int x = strip.left; x <= strip.right; ++x) {
        const int column = x - strip.left;
        ::SetBkColor(dc, RGB(channel(GetRValue(kCaptionStart), GetRValue(kCaptionEnd), column),
                             channel(GetGValue(kCaptionStart), GetGValue(kCaptionEnd), column),
                             channel(GetBValue(kCaptionStart), GetBValue(kCaptionEnd), column)));
        const RECT line{x, strip.top, x + 1, strip.bottom};
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    }
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    if (font) ::SelectObject(dc, font);
    RECT textRect = strip;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    ::RestoreDC(dc, saved);
}

const fw::Handler<CEnvSetDlg> CEnvSetDlg::kHandlers[] = {
    fw::OnMessage(WM_PAINT, &CEnvSetDlg::OnPaint),
    fw::OnMessage(WM_SYSCOMMAND, &CEnvSetDlg::OnSysCommand),
    fw::OnMessage(WM_MEASUREITEM, &CEnvSetDlg::OnMeasureItem),
    fw::OnMessage(WM_DPICHANGED, &CEnvSetDlg::OnDpiChanged),
    fw::OnCommand(IDC_PAGE_LIST, &CEnvSetDlg::OnPageListSelChange, LBN_SELCHANGE),
    fw::OnCommand(IDOK, &CEnvSetDlg::OnOk),
    fw::OnCommand(IDCANCEL, &CEnvSetDlg::OnCancel),
};

CEnvSetDlg::CEnvSetDlg(SettingsContext& context, HWND parent)
    : CDialogImpl(IDD_ENVSET, parent),
      m_context(context) {
    m_pPages[0] = std::make_unique<CSetBackImg>(context);
    m_pPages[1] = std::make_unique<CSetForeImg>(context);
    m_pPages[2] = std::make_unique<CSetEffect>(context);
    m_pPages[3] = std::make_unique<CSetPath>(context);
    m_pPages[4] = std::make_unique<CSetCalen>(context);
    m_pPages[5] = std::make_unique<CSetEtc>(context);
    m_pPages[6] = std::make_unique<CSetHelp>(context);
}

CEnvSetDlg::~CEnvSetDlg() = default;

BOOL CEnvSetDlg::OnInitDialog() {
    m_pMainWnd = m_context.owner.MainWindow();
    m_pEnv = &m_context.env;
    ::SetWindowTextW(m_hwnd, fw::LoadText(IDS_SETTINGS_TITLE).c_str());
    m_pageList.SubclassDlgItem(IDC_PAGE_LIST, m_hwnd);
    // The pages are made at the window's DPI: only a later change rescales what they hold.
    m_dpi = fw::WindowDpi(m_hwnd);
    CreatePages();
    FillPageList();
    ApplyDpi(m_dpi);
    SelectPage(m_context.m_lastPage);
    return TRUE;
}

void CEnvSetDlg::CreatePages() {
    for (const auto& page : m_pPages) page->CreateIn(m_hwnd);
}

void CEnvSetDlg::ApplyDpi(UINT dpi) {
    const UINT oldDpi = m_dpi;
    m_dpi = dpi ? dpi : fw::kDefaultDpi;
    m_captionFont = MakeCaptionFont(m_dpi);
    fw::Bitmap strip(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PAGE_ICONS),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    fw::ImageList icons(MakePageIcons(strip.get(), kPageCount, CPageListBox::kIconSize,
                                        fw::ScaleForDpi(CPageListBox::kIconSize, m_dpi)));
    m_pageList.SetImageList(icons.get());
    m_images = std::move(icons);
    m_pageList.SetDpi(m_dpi);
    PlacePages();
    if (oldDpi != m_dpi)
        for (const auto& page : m_pPages) page->DpiChanged(oldDpi, m_dpi);
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CEnvSetDlg::FillPageList() {
    for (UINT name : kPageNames)
        ::SendMessageW(m_pageList.GetSafeHwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fw::LoadText(name).c_str()));
}

void CEnvSetDlg::PlacePages() {
    RECT frame{};
    ::GetWindowRect(GetDlgItem(IDC_PAGE_FRAME), &frame);
    ::InflateRect(&frame, -1, -1);
    ::MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&frame), 2);
    for (const auto& page : m_pPages) {
        if (page->IsWindow())
            ::MoveWindow(page->GetSafeHwnd(), frame.left, frame.top, frame.right - frame.left,
                         frame.bottom - frame.top, TRUE);
    }
}

void CEnvSetDlg::ShowOnly(int index) {
    for (int i = 0; i < kPageCount; ++i) {
        HWND page = m_pPages[i]->GetSafeHwnd();
        if (page && i != index && IsShown(page)) ::ShowWindow(page, SW_HIDE);
    }
    if (index >= 0 && index < kPageCount && m_pPages[index]->IsWindow())
        ::ShowWindow(m_pPages[index]->GetSafeHwnd(), SW_SHOW);
}

// The list, the caption, the remembered index and the page itself, all at once.
void CEnvSetDlg::SelectPage(int index) {
    ::SendMessageW(m_pageList.GetSafeHwnd(), LB_SETCURSEL, index, 0);
    m_context.m_lastPage = index;
    const RECT caption = CaptionRect();
    ::InvalidateRect(m_hwnd, &caption, TRUE);
    ShowOnly(index);
}

CSettingsPage* CEnvSetDlg::Page(int index) const {
    return index >= 0 && index < kPageCount ? m_pPages[index].get() : nullptr;
}

int CEnvSetDlg::ShownPage() const {
    for (int i = 0; i < kPageCount; ++i)
        if (m_pPages[i]->IsWindow() && IsShown(m_pPages[i]->GetSafeHwnd())) return i;
    return -1;
}

std::wstring CEnvSetDlg::CaptionText() const {
    LRESULT selected = ::SendMessageW(m_pageList.GetSafeHwnd(), LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) selected = 0;
    return L"  " + m_pageList.ItemText(static_cast<int>(selected));
}

RECT CEnvSetDlg::CaptionRect() const {
    RECT r{};
    HWND caption = GetDlgItem(IDC_PAGE_CAPTION);
    ::GetClientRect(caption, &r);
    ::MapWindowPoints(caption, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CEnvSetDlg::CloseOwnedWindows() {
    // The order of the exit path: mask picker, program list, then the position editor.
    for (int page : {2, 5, 1, 0, 3, 4, 6}) m_pPages[page]->CloseOwnedWindows();
}

bool CEnvSetDlg::PreTranslateMessage(MSG* msg) {
    // With the focus on the page list, neither key may end the window.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) return true;
    return CDialog::PreTranslateMessage(msg);
}

// ---- Close checks ---------------------------------------------------------------------------

CloseCheckFields CEnvSetDlg::ReadCloseCheckFields() const {
    // A page whose window could not be made does not answer: its fields go unchecked.
    CloseCheckFields fields;
    fields.photographsPagePresent = false;
    fields.effectsPagePresent = false;
    for (const auto& page : m_pPages) page->ReadCheckedFields(fields);
    return fields;
}

bool CEnvSetDlg::CheckBeforeClose() {
    const CloseCheckOutcome outcome =
        RunCloseChecks(ReadCloseCheckFields(), m_context.system.ScreenWidth(), m_context.env);
    if (outcome.accepted()) return true;
    SelectPage(outcome.page);
    m_context.prompts.ShowMessage(m_hwnd, outcome.message, fw::LoadText(IDS_SETTINGS_CAPTION), MB_OK | MB_ICONEXCLAMATION);
    HWND field = m_pPages[outcome.page]->CheckedFieldControl(outcome.field);
    if (field && outcome.rewriteField) ::SetWindowTextA(field, outcome.fieldText.c_str());
    // Through the dialog manager, so that the focus it restores when the message box has gone
    // is this field and not the control that had it before.
    if (field) ::SendMessageW(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    return false;
}

// ---- Messages -------------------------------------------------------------------------------

LRESULT CEnvSetDlg::OnPaint(WPARAM, LPARAM) {
    fw::PaintDc dc(m_hwnd);
    DrawCaptionStrip(dc.get(), CaptionRect(), CaptionText(), m_captionFont.get());
    return 0;
}

fw::MessageResult CEnvSetDlg::OnSysCommand(WPARAM wp, LPARAM) {
    if ((wp & 0xFFF0) == SC_CLOSE && !CheckBeforeClose()) return 0;
    return fw::kDeclined;
}

LRESULT CEnvSetDlg::OnMeasureItem(WPARAM, LPARAM lp) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (!item || item->CtlType != ODT_LISTBOX || item->CtlID != IDC_PAGE_LIST) return FALSE;
    m_pageList.MeasureItem(*item);
    return TRUE;
}

fw::MessageResult CEnvSetDlg::OnDpiChanged(WPARAM wp, LPARAM lp) {
    // The dialog manager re-lays the template's controls and fonts out for the new DPI and sizes
    // the window; what is drawn or measured here (fonts, page list, columns) follows after it.
    if (m_inDefaultDpiChange) return fw::kDeclined;
    fw::RunDefaultDpiChange(m_hwnd, wp, lp, m_inDefaultDpiChange);
    ApplyDpi(HIWORD(wp));
    return 0;
}

void CEnvSetDlg::OnPageListSelChange() {
    const LRESULT selected = ::SendMessageW(m_pageList.GetSafeHwnd(), LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || selected == m_context.m_lastPage) return;
    SelectPage(static_cast<int>(selected));
}

void CEnvSetDlg::OnCancel() { EndDialog(IDCANCEL); }
