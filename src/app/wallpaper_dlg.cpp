#include "app/wallpaper_dlg.h"

#include <commdlg.h>

#include <cstring>
#include <ctime>

#include "app/desktop.h"
#include "app/main_window_logic.h"
#include "aux_windows/images_dlg.h"
#include "framework/dpi.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"
#include "framework/texts.h"
#include "resource.h"
#include "settings_ui/about_dlg.h"
#include "settings_ui/env_set_dlg.h"
#include "settings_ui/prompts.h"
#include "state/data_folder.h"

namespace {

// Broadcast by the shell when its task bar is created: after Explorer restarted, or when it
// comes up after us at logon.
const UINT WM_TASKBARCREATED = ::RegisterWindowMessageW(L"TaskbarCreated");

// The file the user names in the shell's save dialog; false when the user cancels. Asked for
// wide: a narrow answer would be a best-fit spelling, which can name another file than the one
// the replace question was about.
bool AskWhereToSaveWallpaper(HWND owner, std::wstring& path) {
    wchar_t file[MAX_PATH] = L"dioramix001.jpg";
    static const wchar_t kFilter[] = L"jpg (*.jpg)\0*.jpg\0png (*.png)\0*.png\0bmp (*.bmp)\0*.bmp\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"jpg";
    // A chosen photo's name must not silently replace that photo.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT;
    if (!::GetSaveFileNameW(&ofn)) return false;
    path = file;
    return true;
}

}  // namespace

const fw::Handler<CWallpaperDlg> CWallpaperDlg::kHandlers[] = {
    fw::OnMessage(WM_TRAYNOTIFY, &CWallpaperDlg::OnTrayNotify),
    fw::OnMessage(WM_TIMER, &CWallpaperDlg::OnTimer),
    fw::OnMessage(WM_MEASUREITEM, &CWallpaperDlg::OnMeasureItem),
    fw::OnMessage(WM_DRAWITEM, &CWallpaperDlg::OnDrawItem),
    fw::OnMessage(WM_DESTROY, &CWallpaperDlg::OnDestroy),
    fw::OnMessage(WM_QUERYENDSESSION, &CWallpaperDlg::OnQueryEndSession),
    fw::OnMessage(WM_ENDSESSION, &CWallpaperDlg::OnEndSession),
    fw::OnMessage(WM_DEFERRED_SHUTDOWN, &CWallpaperDlg::OnDeferredShutDown),
    fw::OnMessage(WM_WTSSESSION_CHANGE, &CWallpaperDlg::OnSessionChange),
    fw::OnMessage(WM_POWERBROADCAST, &CWallpaperDlg::OnPowerBroadcast),
    fw::OnMessage(WM_CATCH_UP, &CWallpaperDlg::OnCatchUp),
    fw::OnMessage(WM_TASKBARCREATED, &CWallpaperDlg::OnTaskbarCreated),
    fw::OnMessage(WM_DISPLAYCHANGE, &CWallpaperDlg::OnDisplayChange),
    fw::OnMessage(WM_DPICHANGED, &CWallpaperDlg::OnDisplayChange),
    fw::OnMessage(WM_SETTINGCHANGE, &CWallpaperDlg::OnSettingChange),
    fw::OnMessage(WM_WINDOWPOSCHANGING, &CWallpaperDlg::OnWindowPosChanging),
    fw::OnMessage(WM_SYSCOMMAND, &CWallpaperDlg::OnSysCommand),
    fw::OnCommand(IDOK, &CWallpaperDlg::OnOk),
    fw::OnCommand(IDCANCEL, &CWallpaperDlg::OnCancel),
    fw::OnCommand(ID_TRAY_CURRENT_IMAGES, &CWallpaperDlg::OnCurrentImages),
    fw::OnCommand(ID_TRAY_TIDY_SCREEN, &CWallpaperDlg::OnTidyScreen),
    fw::OnCommand(ID_TRAY_DESKTOP_ICONS, &CWallpaperDlg::OnToggleDesktopIcons),
    fw::OnCommand(ID_TRAY_SHOW_DESKTOP, &CWallpaperDlg::OnShowDesktop),
    fw::OnCommand(ID_TRAY_PAUSE, &CWallpaperDlg::OnPause),
    fw::OnCommand(ID_TRAY_SAVE_WALLPAPER, &CWallpaperDlg::SaveCurrentWallpaper),
    fw::OnCommand(ID_TRAY_SETTINGS, &CWallpaperDlg::OnSettings),
    fw::OnCommand(ID_TRAY_ABOUT, &CWallpaperDlg::OnAbout),
    fw::OnCommand(ID_TRAY_EXIT, &CWallpaperDlg::OnExit),
};

CWallpaperDlg::CWallpaperDlg(fw::ISystem& system, std::string programFile)
    : CDialogImpl(IDD_WALLPAPER_DIALOG),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_composer(stEnv, m_catalogue, system),
      m_system(system),
      m_programFile(std::move(programFile)) {
    m_catalogue.onRefill = [this] { StartRefill(); };
}

CWallpaperDlg::~CWallpaperDlg() { m_trayIcon.RemoveFromTray(); }

bool CWallpaperDlg::PreTranslateMessage(MSG* msg) {
    // Enter must not end the hidden dialog.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return true;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CWallpaperDlg::OnInitDialog() {
    const std::wstring about = fw::LoadText(IDS_ABOUTBOX);
    if (!about.empty()) {
        HMENU sys = ::GetSystemMenu(m_hwnd, FALSE);
        ::AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(sys, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    ::SetWindowTextW(m_hwnd, L"Dioramix");
    ::SetPropW(m_hwnd, kMainWindowMark, reinterpret_cast<HANDLE>(1));
    // Let the shell's broadcast through to an elevated copy too.
    ::ChangeWindowMessageFilterEx(m_hwnd, WM_TASKBARCREATED, MSGFLT_ALLOW, nullptr);
    // Registered first: a lock between the query and the registration would go unseen.
    m_presenceNotifications.Start(m_hwnd);
    m_presence.SetSession(m_system.CurrentSession());

    // Without a notification area the program has no face: load nothing, change nothing until
    // there is one.
    if (AddTrayIcon()) {
        StartUp();
    } else {
        m_trayAttempts = 1;
        ::SetTimer(m_hwnd, TIMER_TRAY_RETRY, m_trayRetryInterval, nullptr);
    }
    return TRUE;
}

bool CWallpaperDlg::AddTrayIcon() { return m_trayIcon.AddToTray(m_hwnd, WM_TRAYNOTIFY, "", nullptr, kTrayIconId); }

void CWallpaperDlg::StartUp() {
    if (m_started) return;  // the loaders append: a second run would double every list
    m_started = true;
    m_trayIcon.ChangeIcon(IDI_TRAY);

    LoadStartupState();
    UpdateTrayTip();
    m_composer.LoadMasks(stEnv.InstalledFilePath("\\Masks"));
    m_system.SeedRandom(static_cast<unsigned>(std::time(nullptr)));

    m_composer.m_imageCount = 0;
    m_composer.m_clearRequested = TRUE;
    ComposeWhenWatched();
    // A catalogue used up in the last run is being refilled by now.
    if ((!m_catalogue.m_imageList.empty() || m_refill.Running()) && stEnv.isforeimg) m_changeEnabled = TRUE;
    ArmChangeTimer();

    if (stEnv.isweekday || stEnv.iscalender) StartDateWatch();
}

void CWallpaperDlg::LoadStartupState() {
    ResetSettings(stEnv);
    if (m_programFile.empty())
        InitExePath(stEnv);
    else
        InitExePath(stEnv, m_programFile);
    UseDataFolder(stEnv);
    if (stEnv.DataFolder().empty())
        ::MessageBoxW(m_hwnd, fw::LoadText(IDS_NO_DATA_FOLDER).c_str(), fw::LoadText(IDS_MESSAGE_CAPTION).c_str(),
                      MB_OK | MB_ICONWARNING);
    // A run killed in the middle of a save leaves its temporary file behind; the saved file
    // itself is whole, in its old or its new version.
    fw::RemoveStaleTemporaryFiles(stEnv.m_exePath);
    if (stEnv.DataFolder() != stEnv.m_exePath) fw::RemoveStaleTemporaryFiles(stEnv.DataFolder());
    m_composer.LoadPriorWallpaper();
    LoadSettings(stEnv, m_outPrograms);
    m_catalogue.LoadImageList(stEnv.DataFolder());
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

void CWallpaperDlg::UpdateTrayTip() {
    const std::string ip = stEnv.isiptooltip ? GetIpText() : std::string();
    m_trayIcon.ChangeTip(TrayTipText(stEnv, mb::Narrow(fw::LoadText(IDS_VERSION)), ip));
}

void CWallpaperDlg::UpdateTrayIcon() {
    if (!stEnv.isweekday) {
        m_trayIcon.ChangeIcon(IDI_TRAY);
        return;
    }
    // The date watch may not run yet (it starts only with the weekday or calendar option).
    ::SetTimer(m_hwnd, TIMER_DATE, kDateTimerInterval, nullptr);
    const fw::LocalDate today = m_system.Today();
    if (m_lastDate.empty()) m_lastDate = FormatDateKey(today);
    m_trayIcon.ChangeIcon(WeekdayIconId(today.weekday));
}

// ---- Timers ---------------------------------------------------------------------------------

LRESULT CWallpaperDlg::OnTimer(WPARAM id, LPARAM) {
    if (id == TIMER_CHANGE) OnChangeTimer();
    else if (id == TIMER_DATE) OnDateTimer();
    else if (id == TIMER_TRAY_RETRY) OnTrayRetryTimer();
    else if (id == TIMER_HIDE_ICONS) OnHideIconsTimer();
    else if (id == TIMER_DISPLAY_CHANGE) OnDisplayChangeTimer();
    else if (id == TIMER_REFILL) OnRefillTimer();
    return 0;
}

void CWallpaperDlg::StartRefill() {
    if (m_refill.Start()) ::SetTimer(m_hwnd, TIMER_REFILL, kRefillPollInterval, nullptr);
}

void CWallpaperDlg::OnRefillTimer() {
    if (m_refill.Poll()) ::KillTimer(m_hwnd, TIMER_REFILL);
}

void CWallpaperDlg::OnChangeTimer() {
    if (!m_presence.Watched()) {
        if (m_held == Held::Nothing) m_held = Held::Tick;
        return;
    }
    if (ShouldComposeOnChangeTick(stEnv, m_changeEnabled,
                                  [this] { return IsOtherProgramActive(m_system, m_outPrograms); }))
        Compose();
}

void CWallpaperDlg::OnDateTimer() {
    // A new day seen while a picture is being made or saved is taken up at the next tick.
    if (m_composer.IsComposing() || m_saveDialogOpen) return;
    const fw::LocalDate today = m_system.Today();
    const DateTickAction action = DecideDateTick(m_lastDate, today, stEnv);
    if (action.setWeekdayIcon) m_trayIcon.ChangeIcon(action.weekdayIcon);
    if (action.compose) ComposeWhenWatched();
    m_lastDate = FormatDateKey(today);
}

void CWallpaperDlg::Compose() {
    if (m_saveDialogOpen) return;
    m_composer.ComposeWallpaper();
}

void CWallpaperDlg::ComposeWhenWatched() {
    if (m_presence.Watched())
        Compose();
    else
        m_held = Held::Composition;
}

// ---- Nobody looking -------------------------------------------------------------------------

LRESULT CWallpaperDlg::OnSessionChange(WPARAM event, LPARAM) {
    if (m_presence.OnSessionChange(event)) UserIsBack();
    return 0;
}

LRESULT CWallpaperDlg::OnPowerBroadcast(WPARAM event, LPARAM lp) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
    if (event == PBT_POWERSETTINGCHANGE && setting && setting->DataLength >= sizeof(DWORD)) {
        DWORD state = 0;
        std::memcpy(&state, setting->Data, sizeof state);
        if (m_presence.OnDisplayState(setting->PowerSetting, state)) UserIsBack();
    }
    return TRUE;
}

// Posted: the desktop is still being switched back while these messages arrive.
void CWallpaperDlg::UserIsBack() {
    if (m_held != Held::Nothing) ::PostMessageW(m_hwnd, WM_CATCH_UP, 0, 0);
}

LRESULT CWallpaperDlg::OnCatchUp(WPARAM, LPARAM) {
    if (!m_presence.Watched()) return 0;  // gone again before this came
    const Held held = m_held;
    m_held = Held::Nothing;
    if (held == Held::Composition) Compose();
    else if (held == Held::Tick) OnChangeTimer();
    return 0;
}

// ---- The notification area ------------------------------------------------------------------

void CWallpaperDlg::OnTrayRetryTimer() {
    if (m_started) return;  // a tick queued before the icon came
    if (AddTrayIcon()) {
        ::KillTimer(m_hwnd, TIMER_TRAY_RETRY);
        StartUp();
    } else if (++m_trayAttempts == m_trayRetryAttempts) {
        ::SetTimer(m_hwnd, TIMER_TRAY_RETRY, m_traySlowRetryInterval, nullptr);
    }
}

LRESULT CWallpaperDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    if (WM_TASKBARCREATED == 0) return 0;  // never registered: this is some other message
    if (m_started) {
        m_trayIcon.Restore();
        // A restarted shell shows its desktop icons again; its desktop may come a little later.
        if (m_iconsHidden && stEnv.isiconhide) {
            m_hideIconsAttempts = 0;
            ::SetTimer(m_hwnd, TIMER_HIDE_ICONS, kHideIconsInterval, nullptr);
        }
    } else if (AddTrayIcon()) {
        ::KillTimer(m_hwnd, TIMER_TRAY_RETRY);
        StartUp();
    }
    return 0;
}

void CWallpaperDlg::OnHideIconsTimer() {
    if (!stEnv.isiconhide || HideDesktopIcons() || ++m_hideIconsAttempts >= kHideIconsAttempts)
        ::KillTimer(m_hwnd, TIMER_HIDE_ICONS);
}

// ---- Display changes ------------------------------------------------------------------------

LRESULT CWallpaperDlg::OnDisplayChange(WPARAM, LPARAM) {
    // Arming it again puts the picture off until the changes stop.
    if (m_started) ::SetTimer(m_hwnd, TIMER_DISPLAY_CHANGE, m_displayChangeDelay, nullptr);
    return 0;
}

LRESULT CWallpaperDlg::OnSettingChange(WPARAM action, LPARAM lp) {
    // A task bar moved, docked or sized changes where the calendar and the path go.
    if (action == SPI_SETWORKAREA) OnDisplayChange(action, lp);
    return 0;
}

void CWallpaperDlg::OnDisplayChangeTimer() {
    // Inside a composition's broadcast, or under the save dialog, the new layout waits for the next tick.
    if (m_composer.IsComposing() || m_saveDialogOpen) return;
    ::KillTimer(m_hwnd, TIMER_DISPLAY_CHANGE);
    m_composer.m_clearRequested = TRUE;
    Compose();
}

// ---- Tray icon and menu --------------------------------------------------------------------

LRESULT CWallpaperDlg::OnTrayNotify(WPARAM id, LPARAM event) {
    switch (LOWORD(event)) {
        case WM_MOUSEMOVE:
            return 0;
        case WM_RBUTTONUP:
            // One menu at a time, none over the save dialog; inside a composition (its broadcast
            // handles sent messages) the click waits until the picture is done.
            if (m_trayMenu || m_saveDialogOpen) return 0;
            if (m_composer.IsComposing()) {
                ::PostMessageW(m_hwnd, WM_TRAYNOTIFY, id, event);
                return 0;
            }
            m_changeEnabled = FALSE;
            if (BringToFrontIfOpen(m_pEnvSetDlg) || BringToFrontIfOpen(m_pImagesDlg)) return 0;
            if (!ShowTrayMenu()) return 0;
            break;
        case WM_LBUTTONDBLCLK:
            Compose();
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

    // Measured for the monitor it opens on, not for the hidden window's.
    CTrayMenu menu(popup, ::GetModuleHandleW(nullptr), fw::DpiAt(cursor));
    menu.ConvertItems();
    ApplyTrayMenuState(menu, TrayMenuStateFor(stEnv));

    m_trayMenu = &menu;
    ::SetForegroundWindow(m_hwnd);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, m_hwnd, nullptr);
    // Without it the next menu after a dismissed one can close at once (a documented quirk).
    ::PostMessageW(m_hwnd, WM_NULL, 0, 0);
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
    CImagesDlg dialog(m_composer.m_currentImages, m_hwnd);
    m_pImagesDlg = &dialog;
    dialog.DoModal();
    m_pImagesDlg = nullptr;
    m_changeEnabled = TRUE;
}

void CWallpaperDlg::OnTidyScreen() {
    m_composer.m_clearRequested = TRUE;
    Compose();
}

void CWallpaperDlg::OnToggleDesktopIcons() {
    ToggleDesktopIcons(stEnv);
    m_iconsHidden = stEnv.isiconhide != 0;
    SaveSettings(stEnv, m_outPrograms);
}

void CWallpaperDlg::OnShowDesktop() { ShowDesktop(); }

void CWallpaperDlg::OnPause() {
    m_composer.TogglePause();
    SaveSettings(stEnv, m_outPrograms);
}

void CWallpaperDlg::SaveCurrentWallpaper() {
    if (m_saveDialogOpen) return;
    fw::ScopedFlag open(m_saveDialogOpen);
    std::wstring chosen;
    if (!AskWhereToSaveWallpaper(m_hwnd, chosen)) return;
    // A name the code page cannot spell is not saved under another one.
    const std::string path = mb::NarrowPathToCreate(chosen);
    if (!path.empty()) m_composer.SaveCurrentWallpaperAs(path);
}

void CWallpaperDlg::OnSettings() {
    m_changeEnabled = FALSE;
    if (BringToFrontIfOpen(m_pEnvSetDlg)) return;
    SystemPrompts prompts;
    SettingsContext context{stEnv, m_outPrograms, m_catalogue, m_composer, m_system, *this, prompts, m_lastPage};
    {
        CEnvSetDlg dialog(context, m_hwnd);
        m_pEnvSetDlg = &dialog;
        dialog.DoModal();
        m_pEnvSetDlg = nullptr;
    }
    if (m_exiting) return;  // closed by the exit command: the program is on its way out
    SaveEditedState();
    if (!m_catalogue.m_imageList.empty() && stEnv.isforeimg) ArmChangeTimer();
    m_changeEnabled = TRUE;
    Compose();
}

void CWallpaperDlg::OnAbout() {
    // Timed changes go on under the about box.
    CAboutDlg about(m_hwnd);
    m_pAboutDlg = &about;
    about.DoModal();
    m_pAboutDlg = nullptr;
}

void CWallpaperDlg::OnExit() {
    m_exiting = true;
    // An open settings window runs its own modal loop inside this one: end it too, without its
    // close checks, after closing what its pages opened.
    if (m_pEnvSetDlg && m_pEnvSetDlg->IsWindow()) {
        m_pEnvSetDlg->CloseOwnedWindows();
        ::PostMessageW(m_pEnvSetDlg->GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    }
    for (fw::CDialog* open : {static_cast<fw::CDialog*>(m_pAboutDlg), m_pImagesDlg})
        if (open && open->IsWindow()) ::PostMessageW(open->GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EndDialog(IDCANCEL);
}

// ---- Window messages -----------------------------------------------------------------------

void CWallpaperDlg::SaveEditedState() {
    if (!m_loaded) return;  // initialisation stopped early: nothing loaded, nothing to write
    SaveSettings(stEnv, m_outPrograms);
    m_catalogue.SaveImageList(stEnv.DataFolder());
    m_composer.SavePositions();
}

void CWallpaperDlg::ShutDown() {
    if (!m_loaded) return;
    if (stEnv.isiconhide) ShowDesktopIcons();
    SaveEditedState();
    m_composer.RestorePriorWallpaper();
    // The positions stay: a cancelled end of session leaves the program running on them.
}

LRESULT CWallpaperDlg::OnDestroy(WPARAM, LPARAM) {
    ::RemovePropW(m_hwnd, kMainWindowMark);
    m_presenceNotifications.Stop();
    ::KillTimer(m_hwnd, TIMER_TRAY_RETRY);
    // The icon goes first: restoring the wallpaper broadcasts the change and can take seconds,
    // during which an icon still in the tray would look like a program that did not exit.
    m_trayIcon.RemoveFromTray();
    ShutDown();
    return 0;
}

LRESULT CWallpaperDlg::OnQueryEndSession(WPARAM, LPARAM) {
    if (m_composer.IsComposing()) {
        // Asked from inside the wallpaper broadcast: the picture is finished first.
        if (!m_shutDownPending) ::PostMessageW(m_hwnd, WM_DEFERRED_SHUTDOWN, 0, 0);
        m_shutDownPending = true;
        return TRUE;
    }
    ShutDown();
    return TRUE;
}

LRESULT CWallpaperDlg::OnDeferredShutDown(WPARAM, LPARAM) {
    if (!m_shutDownPending) return 0;
    m_shutDownPending = false;
    ShutDown();
    return 0;
}

LRESULT CWallpaperDlg::OnEndSession(WPARAM ending, LPARAM) {
    // The process may end as soon as this returns: a shut-down still waiting runs now.
    if (ending && m_shutDownPending) {
        m_shutDownPending = false;
        ShutDown();
    }
    return 0;
}

LRESULT CWallpaperDlg::OnWindowPosChanging(WPARAM, LPARAM lp) {
    reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~SWP_SHOWWINDOW;
    return 0;
}

fw::MessageResult CWallpaperDlg::OnSysCommand(WPARAM wp, LPARAM) {
    if ((wp & 0xFFF0) != IDM_ABOUTBOX) return fw::kDeclined;
    OnAbout();
    return 0;
}

void CWallpaperDlg::OnOk() {}  // Enter never closes the hidden window

// The close request of "-exit" arrives here: the same way out as the exit command.
void CWallpaperDlg::OnCancel() { OnExit(); }
