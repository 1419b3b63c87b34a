#include "app/wallpaper_dlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include "app/desktop.h"
#include "app/main_window_logic.h"
#include "aux_windows/images_dlg.h"
#include "framework/dpi.h"
#include "framework/field_log.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"
#include "framework/texts.h"
#include "resource.h"
#include "settings_ui/about_dlg.h"
#include "settings_ui/env_set_dlg.h"
#include "settings_ui/prompts.h"
#include "state/data_files.h"
#include "state/data_folder.h"
#include "state/stored_files.h"

namespace {

// "10.0.22631": what the system is, whatever the manifest lets GetVersionEx admit.
std::string WindowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    auto get = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (!get || get(&info) != 0) return "?";
    char text[48];
    wsprintfA(text, "%lu.%lu.%lu", info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
    return text;
}

// SPI_SETLOGICALDPIOVERRIDE, which the headers name only for Windows 8 and later: broadcast when
// the user gives a monitor another scale.
constexpr UINT kScaleChangedSetting = 0x009F;

// Broadcast by the shell when its task bar is created: after Explorer restarted, or when it
// comes up after us at logon.
const UINT WM_TASKBARCREATED = ::RegisterWindowMessageW(L"TaskbarCreated");

// The file the user names in the shell's save dialog; false when the user cancels. Asked for
// wide: a narrow answer would be a best-fit spelling, which can name another file than the one
// the replace question was about.
bool AskWhereToSaveWallpaper(HWND owner, std::wstring& path) {
    wchar_t file[MAX_PATH] = {};
    wcsncpy_s(file, fw::LoadText(IDS_SAVE_WALLPAPER_NAME).c_str(), _TRUNCATE);
    const std::wstring filter = fw::LoadFilter(IDS_SAVE_WALLPAPER_FILTER);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
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
    fw::OnMessage(WM_COMPOSITION_DONE, &CWallpaperDlg::OnCompositionDone),
    fw::OnMessage(WM_START_REFILL, &CWallpaperDlg::OnStartRefill),
    fw::OnMessage(WM_WTSSESSION_CHANGE, &CWallpaperDlg::OnSessionChange),
    fw::OnMessage(WM_POWERBROADCAST, &CWallpaperDlg::OnPowerBroadcast),
    fw::OnMessage(WM_CATCH_UP, &CWallpaperDlg::OnCatchUp),
    fw::OnMessage(WM_TASKBARCREATED, &CWallpaperDlg::OnTaskbarCreated),
    fw::OnMessage(WM_DISPLAYCHANGE, &CWallpaperDlg::OnDisplayChange),
    fw::OnMessage(WM_DPICHANGED, &CWallpaperDlg::OnDisplayChange),
    fw::OnMessage(WM_SETTINGCHANGE, &CWallpaperDlg::OnSettingChange),
    fw::OnMessage(WM_WINDOWPOSCHANGING, &CWallpaperDlg::OnWindowPosChanging),
    fw::OnMessage(WM_SYSCOMMAND, &CWallpaperDlg::OnSysCommand),
    fw::OnMessage(WM_COPYDATA, &CWallpaperDlg::OnCopyData),
    fw::OnMessage(WM_HOTKEY, &CWallpaperDlg::OnHotKey),
    fw::OnCommand(ID_VERB_PAUSE, &CWallpaperDlg::OnVerbPause),
    fw::OnCommand(ID_VERB_RESUME, &CWallpaperDlg::OnVerbResume),
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
    // Asked for on the worker: the scan's timer belongs to the window's thread.
    m_catalogue.HandRefillsTo([this] { ::PostMessageW(m_hwnd, WM_START_REFILL, 0, 0); });
    m_composer.SetCancelToken(&m_worker.CancelToken());
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
    RegisterSessionNotifications();
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
    RegisterHotkeys();
    UpdateTrayTip();
    TellOfPausedSystemShow();
    m_composer.LoadMasks(stEnv.InstalledFilePath(data_files::kMaskFolder));
    m_system.SeedRandom(static_cast<unsigned>(std::time(nullptr)));

    // Listed folders refill a catalogue the last run used up.
    if ((!m_catalogue.Images().empty() || m_catalogue.HasFolders()) && stEnv.isforeimg) m_changeEnabled = TRUE;
    ArmChangeTimer();
    if (stEnv.isweekday || stEnv.iscalender) StartDateWatch();

    Ask({.change = true, .fresh = true});
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
    MigrateStoredFiles(stEnv.DataFolder());
    if (!stEnv.DataFolder().empty()) {
        const std::wstring folder = mb::Widen(stEnv.DataFolder());
        fw::FieldLog::Process().Open(folder + data_files::kLog, folder + data_files::kOldLog);
    }
    fw::Log("start: Dioramix %s on Windows %s", mb::Narrow(fw::LoadText(IDS_VERSION)).c_str(), WindowsVersion().c_str());
    // A run killed in the middle of a save leaves its temporary file behind; the saved file
    // itself is whole, in its old or its new version.
    fw::RemoveStaleTemporaryFiles(stEnv.m_exePath);
    if (stEnv.DataFolder() != stEnv.m_exePath) fw::RemoveStaleTemporaryFiles(stEnv.DataFolder());
    m_composer.LoadPriorWallpaper();
    LoadSettings(stEnv, m_outPrograms);
    m_catalogue.LoadImageList(stEnv.DataFolder());
    m_composer.LoadPhotoLists();
    m_composer.LoadSpecialDays();
    if (stEnv.imagepos == 1) m_composer.LoadPositions();
    m_composer.SavePriorWallpaperPath();
    m_loaded = true;
}

// Once a run, at its start: the user should not take the held-back slideshow for lost.
void CWallpaperDlg::TellOfPausedSystemShow() {
    const PausedShow paused = m_composer.PausedSystemShow();
    if (paused == PausedShow::None) return;
    const UINT text = paused == PausedShow::Spotlight ? IDS_SPOTLIGHT_PAUSED : IDS_SLIDESHOW_PAUSED;
    m_trayIcon.ShowBalloon(mb::Narrow(fw::LoadText(IDS_MESSAGE_CAPTION)), mb::Narrow(fw::LoadText(text)));
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
    else if (id == TIMER_SESSION_RETRY) RegisterSessionNotifications();
    else if (id == TIMER_ADOPTED_EDITS) CommitAdoptedFolderEdits();
    return 0;
}

void CWallpaperDlg::StartRefill() {
    if (m_refill.Start()) ::SetTimer(m_hwnd, TIMER_REFILL, kRefillPollInterval, nullptr);
}

LRESULT CWallpaperDlg::OnStartRefill(WPARAM, LPARAM) {
    StartRefill();
    return 0;
}

void CWallpaperDlg::OnRefillTimer() {
    // The composition on the worker reads the catalogue: the scan is taken in after it.
    if (m_worker.Busy()) return;
    if (m_refill.Poll()) ::KillTimer(m_hwnd, TIMER_REFILL);
}

// ---- Folder edits that outlived the settings window -------------------------------------------

void CWallpaperDlg::AdoptFolderEdit(FolderEdit edit) {
    m_adoptedEdits.Adopt(std::move(edit));
    if (!m_adoptedEdits.Empty()) ::SetTimer(m_hwnd, TIMER_ADOPTED_EDITS, kAdoptedEditPollInterval, nullptr);
}

void CWallpaperDlg::CommitAdoptedFolderEdits() {
    if (m_worker.Busy()) return;  // the catalogue is being read: the next tick commits
    if (m_adoptedEdits.CommitFinished(m_catalogue) && m_loaded) m_catalogue.SaveImageList(stEnv.DataFolder());
    if (m_adoptedEdits.Empty()) ::KillTimer(m_hwnd, TIMER_ADOPTED_EDITS);
}

void CWallpaperDlg::OnChangeTimer() { Ask({.tick = true}); }

void CWallpaperDlg::OnDateTimer() {
    const fw::LocalDate today = m_system.Today();
    const DateTickAction action = DecideDateTick(m_lastDate, today, stEnv);
    if (action.setWeekdayIcon) m_trayIcon.ChangeIcon(action.weekdayIcon);
    if (action.compose) Ask({.change = true});
    m_lastDate = FormatDateKey(today);
}

// ---- Compositions ---------------------------------------------------------------------------

void CWallpaperDlg::Ask(const OwedChanges& asked) {
    Owe(m_owed, asked, m_worker.Busy() && m_photoUnderWay);
    RunOwed();
}

bool CWallpaperDlg::CanCompose() const {
    // The settings and current images windows edit the composer's lists in place, and the save
    // dialog saves its picture: none changes under them.
    return m_started && !m_exiting && !m_worker.Busy() && !m_saveDialogOpen && !m_pEnvSetDlg && !m_pImagesDlg &&
           m_waitingCommands.empty();
}

void CWallpaperDlg::RunOwed() {
    ApplyVerdicts();
    // Held while nobody looks: the user's return posts WM_CATCH_UP, which comes back here.
    if (!m_owed.Any() || !CanCompose() || !m_presence.Watched()) return;
    OwedChanges owed = std::exchange(m_owed, {});
    const bool tickAllowed = owed.tick && ShouldComposeOnChangeTick(stEnv, m_changeEnabled, [this] {
                                 return IsOtherProgramActive(m_system, m_outPrograms);
                             });
    const bool monitorsChanged = owed.display && !SameMonitors(m_composer.CurrentLayout(), m_composer.ShownLayout());
    const CompositionPlan plan = PlanComposition(owed, tickAllowed, monitorsChanged);
    m_owed = OwedAfter(plan, std::move(owed));
    StartComposition(plan);
}

void CWallpaperDlg::ApplyVerdicts() {
    // The composer's lists are the worker's while it composes, and the current images window's
    // while that is open.
    if (!m_owed.AnyVerdict() || m_worker.Busy() || m_pImagesDlg || !m_started) return;
    for (const std::string& path : std::exchange(m_owed.banned, {})) m_composer.Ban(path);
    for (const std::string& path : std::exchange(m_owed.kept, {})) m_composer.Keep(path);
}

void CWallpaperDlg::StartComposition(const CompositionPlan& plan) {
    if (plan.kind == Composition::None) return;
    if (plan.fresh) m_composer.RequestFreshBackground();
    m_photoUnderWay = plan.kind == Composition::NewPicture && plan.monitors == 0;
    // A shut-down that was then cancelled (the end of the session called off) closed the gate.
    m_composer.Gate().Open();
    m_showsAtStart = m_composer.Gate().Shows();
    const Composition kind = plan.kind;
    const ComposeRequest request{plan.monitors, plan.freshMonitors};
    m_resultPending = m_worker.Start([this, kind, request] {
        if (kind == Composition::Redraw)
            m_composer.RedrawOverlays();
        else if (kind == Composition::Back)
            m_composer.GoBack();
        else
            m_composer.ComposeWallpaper(request);
    });
}

void CWallpaperDlg::RememberShownPicture() {
    m_shownLayout = m_composer.Layout();
    m_shownPaths.clear();
    for (const MonitorPicture& picture : m_composer.Pictures()) m_shownPaths.push_back(picture.path);
}

void CWallpaperDlg::DoVerb(Verb verb, int displayNumber) {
    if (!m_started || m_exiting) return;
    if (verb == Verb::Pause || verb == Verb::Resume || verb == Verb::PauseOrResume) {
        SetPaused(verb == Verb::PauseOrResume ? !stEnv.ispause : verb == Verb::Pause);
        return;
    }
    if (verb == Verb::Back) {
        Ask({.back = true});
        return;
    }
    const int monitor = VerbMonitor(m_shownLayout.monitors, m_system.Monitors(), displayNumber, m_system.CursorPos());
    if (monitor < 0 || monitor >= 32) return;
    const uint32_t bit = 1u << monitor;
    if (verb == Verb::Next) {
        Ask({.nextMonitors = bit});
        return;
    }
    if (m_resultPending && m_composer.Gate().Shows() != m_showsAtStart) {
        m_verbsAfterShow.emplace_back(verb, displayNumber);  // the user sees the new picture already
        return;
    }
    const size_t index = static_cast<size_t>(monitor);
    const std::string path = index < m_shownPaths.size() ? m_shownPaths[index] : std::string();
    if (path.empty()) return;  // no photo of ours on that monitor
    if (verb == Verb::Ban) {
        m_shownPaths[index].clear();  // banned once, however often asked before it leaves
        Ask({.freshMonitors = bit, .banned = {path}});
    } else if (verb == Verb::Keep) {
        Ask({.kept = {path}});
    }
}

LRESULT CWallpaperDlg::OnCopyData(WPARAM, LPARAM lp) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    if (!data || data->dwData != kVerbCopyData || data->cbData != sizeof(VerbMessage) || !data->lpData) return FALSE;
    VerbMessage message;
    std::memcpy(&message, data->lpData, sizeof message);
    if (message.verb < static_cast<int>(Verb::Next) || message.verb > static_cast<int>(Verb::PauseOrResume))
        return FALSE;
    // Answered first: the sender waits for the answer, and a verb may open nothing but must not hold it.
    ::ReplyMessage(TRUE);
    DoVerb(static_cast<Verb>(message.verb), message.displayNumber);
    return TRUE;
}

LRESULT CWallpaperDlg::OnHotKey(WPARAM id, LPARAM) {
    static constexpr Verb kVerbs[kHotkeyCount] = {Verb::Next, Verb::Back, Verb::PauseOrResume, Verb::Ban, Verb::Keep};
    const WPARAM index = id - kHotkeyIdBase;
    if (id >= static_cast<WPARAM>(kHotkeyIdBase) && index < kHotkeyCount) DoVerb(kVerbs[index], 0);
    return 0;
}

void CWallpaperDlg::RegisterHotkeys() {
    UnregisterHotkeys();
    for (size_t i = 0; i < kHotkeyCount; ++i) {
        const int32_t word = HotkeyOf(stEnv, static_cast<HotkeyVerb>(i));
        if (!IsUsableHotkey(word)) continue;
        const HotkeyRegistration r = RegistrationOf(word);
        m_hotkeyTaken[i] = !::RegisterHotKey(m_hwnd, kHotkeyIdBase + static_cast<int>(i), r.modifiers, r.key);
    }
}

void CWallpaperDlg::UnregisterHotkeys() {
    for (size_t i = 0; i < kHotkeyCount; ++i) {
        ::UnregisterHotKey(m_hwnd, kHotkeyIdBase + static_cast<int>(i));
        m_hotkeyTaken[i] = false;
    }
}

void CWallpaperDlg::OnVerbPause() { SetPaused(true); }
void CWallpaperDlg::OnVerbResume() { SetPaused(false); }

void CWallpaperDlg::SetPaused(bool paused) {
    // After the composition under way, like the tray's pause; of several asked meanwhile the last counts.
    if (m_worker.Busy()) {
        std::erase_if(m_waitingCommands, [](UINT c) { return c == ID_VERB_PAUSE || c == ID_VERB_RESUME; });
        WaitsForComposition(paused ? ID_VERB_PAUSE : ID_VERB_RESUME, false);
        return;
    }
    if ((stEnv.ispause != 0) == paused) return;
    m_composer.TogglePause();
    SaveSettings(stEnv, m_outPrograms);
}

LRESULT CWallpaperDlg::OnCompositionDone(WPARAM, LPARAM) {
    if (m_worker.Busy() || m_exiting) return 0;
    m_photoUnderWay = false;
    m_resultPending = false;
    RememberShownPicture();
    for (const auto& [verb, displayNumber] : std::exchange(m_verbsAfterShow, {})) DoVerb(verb, displayNumber);
    for (UINT command : std::exchange(m_waitingCommands, {})) ::SendMessageW(m_hwnd, WM_COMMAND, command, 0);
    RunOwed();
    return 0;
}

bool CWallpaperDlg::WaitsForComposition(UINT command, bool hurry) {
    if (!m_worker.Busy()) return false;
    if (std::find(m_waitingCommands.begin(), m_waitingCommands.end(), command) == m_waitingCommands.end())
        m_waitingCommands.push_back(command);
    if (hurry) m_worker.Cancel();
    return true;
}

void CWallpaperDlg::StopComposing() {
    m_waitingCommands.clear();  // no window opens on the way out
    m_worker.Cancel();
    m_worker.Wait(kCompositionStopWait);
    // A picture being set is let through first; none set after this.
    fw::WaitHandlingSentMessages(kCompositionStopWait, [this] { return m_composer.Gate().TryClose(); });
}

// ---- Nobody looking -------------------------------------------------------------------------

void CWallpaperDlg::RegisterSessionNotifications() {
    // Early in a logon the session service may not answer yet: tried again until it does.
    if (m_presenceNotifications.Start(m_hwnd, m_system)) {
        ::KillTimer(m_hwnd, TIMER_SESSION_RETRY);
    } else {
        fw::Log("session notifications refused (error %lu): trying again", ::GetLastError());
        ::SetTimer(m_hwnd, TIMER_SESSION_RETRY, kSessionRetryInterval, nullptr);
    }
}

LRESULT CWallpaperDlg::OnSessionChange(WPARAM event, LPARAM) {
    fw::Log("session change %u", static_cast<unsigned>(event));
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
    if (m_owed.Any()) ::PostMessageW(m_hwnd, WM_CATCH_UP, 0, 0);
}

LRESULT CWallpaperDlg::OnCatchUp(WPARAM, LPARAM) {
    RunOwed();  // nothing when gone again before this came
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
    // A task bar moved, docked or sized changes where the calendar and the path go; a monitor's
    // new scale in the display settings changes how large they and the photos are drawn.
    if (action == SPI_SETWORKAREA || action == kScaleChangedSetting) OnDisplayChange(action, lp);
    return 0;
}

void CWallpaperDlg::OnDisplayChangeTimer() {
    ::KillTimer(m_hwnd, TIMER_DISPLAY_CHANGE);
    const std::vector<fw::MonitorInfo> monitors = m_system.Monitors();
    fw::Log("display changed: %u monitor(s), primary %dx%d at %u DPI", static_cast<unsigned>(monitors.size()),
            m_system.ScreenWidth(), m_system.ScreenHeight(), PrimaryDpi(monitors));
    Ask({.display = true});
}

// ---- Tray icon and menu --------------------------------------------------------------------

LRESULT CWallpaperDlg::OnTrayNotify(WPARAM id, LPARAM event) {
    switch (LOWORD(event)) {
        case WM_MOUSEMOVE:
            return 0;
        case WM_RBUTTONUP:
            // One menu at a time, none over the save dialog.
            if (m_trayMenu || m_saveDialogOpen) return 0;
            m_changeEnabled = FALSE;
            if (BringToFrontIfOpen(m_pEnvSetDlg) || BringToFrontIfOpen(m_pImagesDlg)) return 0;
            if (!ShowTrayMenu()) return 0;
            break;
        case WM_LBUTTONDBLCLK:
            Ask({.change = true});
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
    if (BringToFrontIfOpen(m_pImagesDlg) || WaitsForComposition(ID_TRAY_CURRENT_IMAGES, true)) return;
    m_changeEnabled = FALSE;
    CImagesDlg dialog(m_composer.CurrentImages(), m_hwnd);
    dialog.onRemove = [this](const std::string& path) { m_composer.ForgetCurrentImage(path); };
    // No composition runs while the window is open: the lists are the window thread's.
    dialog.onBan = [this](const std::string& path) {
        m_composer.Ban(path);
        uint32_t showing = 0;
        for (size_t i = 0; i < m_composer.Pictures().size() && i < 32; ++i) {
            const std::vector<std::string>& images = m_composer.Pictures()[i].images;
            if (std::find(images.begin(), images.end(), path) != images.end()) showing |= 1u << i;
        }
        Owe(m_owed, {.freshMonitors = showing}, false);  // composed once the window closes
    };
    dialog.onKeep = [this](const std::string& path) { m_composer.Keep(path); };
    m_pImagesDlg = &dialog;
    dialog.DoModal();
    m_pImagesDlg = nullptr;
    m_changeEnabled = TRUE;
    RunOwed();
}

void CWallpaperDlg::OnTidyScreen() { Ask({.change = true, .fresh = true}); }

void CWallpaperDlg::OnToggleDesktopIcons() {
    ToggleDesktopIcons(stEnv);
    m_iconsHidden = stEnv.isiconhide != 0;
    SaveSettings(stEnv, m_outPrograms);
}

void CWallpaperDlg::OnShowDesktop() { ShowDesktop(); }

void CWallpaperDlg::OnPause() {
    // The pause keeps the picture of the composition under way.
    if (WaitsForComposition(ID_TRAY_PAUSE, false)) return;
    m_composer.TogglePause();
    SaveSettings(stEnv, m_outPrograms);
}

void CWallpaperDlg::SaveCurrentWallpaper() {
    if (m_saveDialogOpen || WaitsForComposition(ID_TRAY_SAVE_WALLPAPER, true)) return;
    {
        fw::ScopedFlag open(m_saveDialogOpen);
        std::wstring chosen;
        // A name the code page cannot spell is not saved under another one.
        const std::string path = AskWhereToSaveWallpaper(m_hwnd, chosen) ? mb::NarrowPathToCreate(chosen) : "";
        if (!path.empty()) m_composer.SaveCurrentWallpaperAs(path);
    }
    RunOwed();
}

void CWallpaperDlg::OnSettings() {
    if (BringToFrontIfOpen(m_pEnvSetDlg) || WaitsForComposition(ID_TRAY_SETTINGS, true)) return;
    m_changeEnabled = FALSE;
    SystemPrompts prompts;
    SettingsContext context{stEnv, m_outPrograms, m_catalogue, m_composer, m_system,
                            *this, prompts,       m_startWithWindows, m_lastPage};
    {
        CEnvSetDlg dialog(context, m_hwnd);
        m_pEnvSetDlg = &dialog;
        dialog.DoModal();
        m_pEnvSetDlg = nullptr;
    }
    if (m_exiting) return;  // closed by the exit command: the program is on its way out
    SaveEditedState();
    RegisterHotkeys();
    if (!m_catalogue.Images().empty() && stEnv.isforeimg) ArmChangeTimer();
    m_changeEnabled = TRUE;
    Ask({.change = true});
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
    m_worker.Cancel();
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
    // A composition that would not stop may be taking from the catalogue: list.txt keeps its
    // last whole version rather than a list read mid-change.
    if (!m_worker.Busy()) m_catalogue.SaveImageList(stEnv.DataFolder());
    m_composer.SavePositions();
}

void CWallpaperDlg::ShutDown() {
    if (!m_loaded) return;
    StopComposing();
    fw::Log(m_worker.Busy() ? "exit: the composition under way did not stop in time" : "exit");
    if (stEnv.isiconhide) ShowDesktopIcons();
    SaveEditedState();
    m_composer.RestorePriorWallpaper();
    fw::FieldLog::Process().Flush(500);
    // The positions stay: a cancelled end of session leaves the program running on them.
}

LRESULT CWallpaperDlg::OnDestroy(WPARAM, LPARAM) {
    ::RemovePropW(m_hwnd, kMainWindowMark);
    UnregisterHotkeys();
    m_presenceNotifications.Stop();
    ::KillTimer(m_hwnd, TIMER_TRAY_RETRY);
    ::KillTimer(m_hwnd, TIMER_SESSION_RETRY);
    // The icon goes first: restoring the wallpaper broadcasts the change and can take seconds,
    // during which an icon still in the tray would look like a program that did not exit.
    m_trayIcon.RemoveFromTray();
    ShutDown();
    return 0;
}

LRESULT CWallpaperDlg::OnQueryEndSession(WPARAM, LPARAM) {
    // Answered at once: the end of the session is never vetoed, and the files and the user's
    // wallpaper are in order before Windows may end the process.
    ShutDown();
    return TRUE;
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
