#include "app/wallpaper_dlg.h"

#include <ctime>

#include "resource.h"

const fw::Handler<CWallpaperDlg> CWallpaperDlg::kHandlers[] = {
    fw::OnMessage(WM_DESTROY, &CWallpaperDlg::OnDestroy),
    fw::OnMessage(WM_QUERYENDSESSION, &CWallpaperDlg::OnQueryEndSession),
    fw::OnMessage(WM_WINDOWPOSCHANGING, &CWallpaperDlg::OnWindowPosChanging),
    fw::OnMessage(WM_SYSCOMMAND, &CWallpaperDlg::OnSysCommand),
    fw::OnMessage(WM_PAINT, &CWallpaperDlg::OnPaint),
    fw::OnMessage(WM_QUERYDRAGICON, &CWallpaperDlg::OnQueryDragIcon),
    fw::OnCommand(IDOK, &CWallpaperDlg::OnOk),
    fw::OnCommand(IDCANCEL, &CWallpaperDlg::OnCancel),
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

    if (!m_trayIcon.AddToTray(m_hwnd, WM_TRAYNOTIFY, "", nullptr, kTrayIconId)) return -1;
    m_trayIcon.ChangeIcon(IDI_TRAY);

    ResetSettings(stEnv);
    InitExePath(stEnv);
    m_composer.LoadPriorWallpaper();
    LoadSettings(stEnv, m_outPrograms);
    m_catalogue.LoadImageList(stEnv.m_exePath);
    if (stEnv.imagepos == 1) m_composer.LoadPositions();
    m_composer.SavePriorWallpaperPath();
    m_loaded = true;

    m_system.SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    m_composer.m_imageCount = 0;
    m_composer.m_clearRequested = TRUE;
    m_composer.ComposeWallpaper();
    if (!m_catalogue.m_imageList.empty() && stEnv.isforeimg) m_changeEnabled = TRUE;
    ::SetTimer(m_hwnd, TIMER_CHANGE, static_cast<UINT>(stEnv.changetime * stEnv.min_sec), nullptr);
    return TRUE;
}

void CWallpaperDlg::ShutDown() {
    if (!m_loaded) return;  // initialisation stopped early: nothing loaded, nothing to write
    SaveSettings(stEnv, m_outPrograms);
    m_catalogue.SaveImageList(stEnv.m_exePath);
    m_composer.SavePositions();
    m_composer.RestorePriorWallpaper();
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

void CWallpaperDlg::OnExit() { EndDialog(IDCANCEL); }
