#include "app/wallpaper_dlg.h"

#include <ctime>

#include "app/desktop.h"
#include "app/main_window_logic.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"
#include "resource.h"

const fw::Handler<CWallpaperDlg> CWallpaperDlg::kHandlers[] = {
    fw::OnMessage(WM_TRAYNOTIFY, &CWallpaperDlg::OnTrayNotify),
    fw::OnMessage(WM_TIMER, &CWallpaperDlg::OnTimer),
    fw::OnMessage(WM_MEASUREITEM, &CWallpaperDlg::OnMeasureItem),
    fw::OnMessage(WM_DRAWITEM, &CWallpaperDlg::OnDrawItem),
    fw::OnMessage(WM_DESTROY, &CWallpaperDlg::OnDestroy),
    fw::OnMessage(WM_QUERYENDSESSION, &CWallpaperDlg::OnQueryEndSession),
    fw::OnMessage(WM_WINDOWPOSCHANGING, &CWallpaperDlg::OnWindowPosChanging),
    fw::OnMessage(WM_SYSCOMMAND, &CWallpaperDlg::OnSysCommand),
    fw::OnMessage(WM_PAINT, &CWallpaperDlg::OnPaint),
    fw::OnMessage(WM_QUERYDRAGICON, &CWallpaperDlg::OnQueryDragIcon),
    fw::OnCommand(IDOK, &CWallpaperDlg::OnOk),
    fw::OnCommand(IDCANCEL, &CWallpaperDlg::OnCancel),
    fw::OnCommand(ID_TRAY_CURRENT_IMAGES, &CWallpaperDlg::OnCurrentImages),
    fw::OnCommand(ID_TRAY_TIDY_SCREEN, &CWallpaperDlg::OnTidyScreen),
    fw::OnCommand(ID_TRAY_DESKTOP_ICONS, &CWallpaperDlg::OnToggleDesktopIcons),
    fw::OnCommand(ID_TRAY_SHOW_DESKTOP, &CWallpaperDlg::OnShowDesktop),
    fw::OnCommand(ID_TRAY_PAUSE, &CWallpaperDlg::OnPause),
    fw::OnCommand(ID_TRAY_SAVE_WALLPAPER, &CWallpaperDlg::OnSaveWallpaper),
    fw::OnCommand(ID_TRAY_SETTINGS, &CWallpaperDlg::OnSettings),
    fw::OnCommand(ID_TRAY_ABOUT, &CWallpaperDlg::OnAbout),
    fw::OnCommand(ID_TRAY_EXIT, &CWallpaperDlg::OnExit),
};

CWallpaperDlg::CWallpaperDlg(fw::ISystem& system)
    : CDialogImpl(IDD_WALLPAPER_DIALOG),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_composer(stEnv, m_catalogue, system),
      m_system(system) {}

CWallpaperDlg::~CWallpaperDlg() { m_trayIcon.RemoveFromTray(); }

bool CWallpaperDlg::PreTranslateMessage(MSG* msg) {
    // Enter must not end the hidden dialog.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return true;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CWallpaperDlg::OnInitDialog() {
    wchar_t about[128] = {};
    if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 128) > 0) {
        HMENU sys = ::GetSystemMenu(m_hwnd, FALSE);
        ::AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(sys, MF_STRING, IDM_ABOUTBOX, about);
    }
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    ::SetWindowTextW(m_hwnd, L"Dioramix");

    // Without a notification area the program has no face: load nothing, change nothing.
    if (!m_trayIcon.AddToTray(m_hwnd, WM_TRAYNOTIFY, "", nullptr, kTrayIconId)) return -1;
    m_trayIcon.ChangeIcon(IDI_TRAY);

    LoadStartupState();
    UpdateTrayTip();
    m_composer.LoadMasks(stEnv.FilePath("\\Masks"));
    m_system.SeedRandom(static_cast<unsigned>(std::time(nullptr)));

    m_composer.m_imageCount = 0;
    m_composer.m_clearRequested = TRUE;
    m_composer.ComposeWallpaper();
    if (!m_catalogue.m_imageList.empty() && stEnv.isforeimg) m_changeEnabled = TRUE;
    ArmChangeTimer();

    if (stEnv.isweekday || stEnv.iscalender) StartDateWatch();
    return TRUE;
}

void CWallpaperDlg::LoadStartupState() {
    ResetSettings(stEnv);
    InitExePath(stEnv);
    // A run killed in the middle of a save leaves its temporary file behind; the saved file
    // itself is whole, in its old or its new version.
    fw::RemoveStaleTemporaryFiles(stEnv.m_exePath);
    m_composer.LoadPriorWallpaper();
    LoadSettings(stEnv, m_outPrograms);
    m_catalogue.LoadImageList(stEnv.m_exePath);
    m_composer.LoadSpecialDays();
    if (stEnv.imagepos == 1) m_composer.LoadPositions();
    m_composer.SavePriorWallpaperPath();
    m_loaded = true;
}

void CWallpaperDlg::ArmChangeTimer() { ::SetTimer(m_hwnd, TIMER_CHANGE, ChangeInterval(stEnv), nullptr); }

void CWallpaperDlg::StartDateWatch() {
    ::SetTimer(m_hwnd, TIMER_DATE, kDateTimerInterval, nullptr);
    const fw::LocalDate today = m_system.Today();
    m_lastDate = FormatDateKey(today);
    if (stEnv.isweekday) m_trayIcon.ChangeIcon(WeekdayIconId(today.weekday));
}

std::string CWallpaperDlg::VersionText() const {
    wchar_t text[64] = {};
    ::LoadStringW(::GetModuleHandleW(nullptr), IDS_VERSION, text, 64);
    return mb::Narrow(text);
}

void CWallpaperDlg::UpdateTrayTip() {
    const std::string ip = stEnv.isiptooltip ? GetIpText() : std::string();
    m_trayIcon.ChangeTip(TrayTipText(stEnv, VersionText(), ip));
}

// ---- Timers ---------------------------------------------------------------------------------

LRESULT CWallpaperDlg::OnTimer(WPARAM id, LPARAM) {
    if (id == TIMER_CHANGE) OnChangeTimer();
    else if (id == TIMER_DATE) OnDateTimer();
    return 0;
}

void CWallpaperDlg::OnChangeTimer() {
    HWND self = m_hwnd;
    const OutProgramList& programs = m_outPrograms;
    if (ShouldComposeOnChangeTick(stEnv, m_changeEnabled, [self, &programs] { return IsOtherProgramActive(self, programs); }))
        m_composer.ComposeWallpaper();
}

void CWallpaperDlg::OnDateTimer() {
    const fw::LocalDate today = m_system.Today();
    const DateTickAction action = DecideDateTick(m_lastDate, today, stEnv);
    if (action.setWeekdayIcon) m_trayIcon.ChangeIcon(action.weekdayIcon);
    if (action.compose) m_composer.ComposeWallpaper();
    m_lastDate = FormatDateKey(today);
}

// ---- Tray icon and menu --------------------------------------------------------------------

LRESULT CWallpaperDlg::OnTrayNotify(WPARAM id, LPARAM event) {
    switch (LOWORD(event)) {
        case WM_MOUSEMOVE:
            return 0;
        case WM_RBUTTONUP:
            m_changeEnabled = FALSE;
            if (BringToFrontIfOpen(m_pEnvSetDlg) || BringToFrontIfOpen(m_pImagesDlg)) return 0;
            if (!ShowTrayMenu()) return 0;
            break;
        case WM_LBUTTONDBLCLK:
            m_composer.ComposeWallpaper();
            break;
        default:
            break;
    }
    return m_trayIcon.HandleNotify(id, event);
}

bool CWallpaperDlg::ShowTrayMenu() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    fw::Menu loaded(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU)));
    if (!loaded) return false;
    HMENU popup = ::GetSubMenu(loaded.get(), 0);
    if (!popup) return false;

    CTrayMenu menu(popup);
    menu.ConvertItems();
    ApplyTrayMenuState(menu, TrayMenuStateFor(stEnv));

    m_trayMenu = &menu;
    ::SetForegroundWindow(m_hwnd);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, m_hwnd, nullptr);
    m_trayMenu = nullptr;
    m_changeEnabled = TRUE;
    return true;
}

LRESULT CWallpaperDlg::OnMeasureItem(WPARAM, LPARAM lp) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (!m_trayMenu || !item || item->CtlType != ODT_MENU) return FALSE;
    m_trayMenu->MeasureItem(*item);
    return TRUE;
}

LRESULT CWallpaperDlg::OnDrawItem(WPARAM, LPARAM lp) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    if (!m_trayMenu || !item || item->CtlType != ODT_MENU) return FALSE;
    m_trayMenu->DrawItem(*item);
    return TRUE;
}

bool CWallpaperDlg::BringToFrontIfOpen(fw::CDialog* dialog) {
    if (!dialog || !dialog->IsWindow()) return false;
    ::SetForegroundWindow(dialog->GetSafeHwnd());
    return true;
}

// ---- Tray menu commands --------------------------------------------------------------------

void CWallpaperDlg::OnCurrentImages() {
    m_changeEnabled = FALSE;
    if (BringToFrontIfOpen(m_pImagesDlg)) return;
    // The current images dialog runs here modally once it exists; until then nothing is open.
    m_changeEnabled = TRUE;
}

void CWallpaperDlg::OnTidyScreen() {
    m_composer.m_clearRequested = TRUE;
    m_composer.ComposeWallpaper();
}

void CWallpaperDlg::OnToggleDesktopIcons() { ToggleDesktopIcons(stEnv); }

void CWallpaperDlg::OnShowDesktop() { ShowDesktop(); }

void CWallpaperDlg::OnPause() { m_composer.TogglePause(); }

void CWallpaperDlg::OnSaveWallpaper() { m_composer.SaveCurrentWallpaper(m_hwnd); }

void CWallpaperDlg::OnSettings() {
    m_changeEnabled = FALSE;
    if (BringToFrontIfOpen(m_pEnvSetDlg)) return;
    // The settings dialog runs here modally (its pages edit stEnv in place) once it exists.
    if (!m_catalogue.m_imageList.empty() && stEnv.isforeimg) ArmChangeTimer();
    m_changeEnabled = TRUE;
    m_composer.ComposeWallpaper();
}

void CWallpaperDlg::OnAbout() {
    // Timed changes go on under the about box.
    const std::wstring text = L"Dioramix " + mb::Widen(VersionText());
    ::MessageBoxW(m_hwnd, text.c_str(), L"Dioramix", MB_OK | MB_ICONINFORMATION);
}

void CWallpaperDlg::OnExit() {
    if (m_pEnvSetDlg && m_pEnvSetDlg->IsWindow())
        ::PostMessageW(m_pEnvSetDlg->GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EndDialog(IDCANCEL);
}

// ---- Window messages -----------------------------------------------------------------------

void CWallpaperDlg::ShutDown() {
    if (!m_loaded) return;  // initialisation stopped early: nothing loaded, nothing to write
    if (stEnv.isiconhide) ShowDesktopIcons();
    SaveSettings(stEnv, m_outPrograms);
    m_catalogue.SaveImageList(stEnv.m_exePath);
    m_composer.SavePositions();
    m_composer.RestorePriorWallpaper();
    // The positions stay: a cancelled end of session leaves the program running on them.
}

LRESULT CWallpaperDlg::OnDestroy(WPARAM, LPARAM) {
    ShutDown();
    return 0;
}

LRESULT CWallpaperDlg::OnQueryEndSession(WPARAM wp, LPARAM lp) {
    if (!::DefWindowProcW(m_hwnd, WM_QUERYENDSESSION, wp, lp)) return 0;
    ShutDown();
    return TRUE;
}

LRESULT CWallpaperDlg::OnWindowPosChanging(WPARAM, LPARAM lp) {
    reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~SWP_SHOWWINDOW;
    return 0;
}

LRESULT CWallpaperDlg::OnSysCommand(WPARAM wp, LPARAM lp) {
    if ((wp & 0xFFF0) == IDM_ABOUTBOX) {
        OnAbout();
        return 0;
    }
    return ::DefWindowProcW(m_hwnd, WM_SYSCOMMAND, wp, lp);
}

LRESULT CWallpaperDlg::OnPaint(WPARAM wp, LPARAM lp) {
    if (!::IsIconic(m_hwnd)) return ::DefWindowProcW(m_hwnd, WM_PAINT, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    RECT rc;
    ::GetClientRect(m_hwnd, &rc);
    int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
    ::DrawIcon(dc, (rc.right - cx + 1) / 2, (rc.bottom - cy + 1) / 2, m_hIcon);
    ::EndPaint(m_hwnd, &ps);
    return 0;
}

LRESULT CWallpaperDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

void CWallpaperDlg::OnOk() {}  // Enter never closes the hidden window

void CWallpaperDlg::OnCancel() { EndDialog(IDCANCEL); }
