#pragma once
// The hidden main window: owns the settings, the catalogue, the composer and the tray icon;
// target of the timers and the tray menu commands. Runs modally for the life of the program.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/main_window_logic.h"
#include "app/presence.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "composer/composer.h"
#include "framework/handles.h"
#include "framework/registry.h"
#include "framework/system.h"
#include "framework/window.h"
#include "framework/worker_thread.h"
#include "settings_ui/settings_context.h"
#include "state/background_scan.h"
#include "state/catalogue.h"
#include "state/hotkeys.h"
#include "state/folder_edit.h"
#include "state/settings.h"
#include "state/start_with_windows.h"

constexpr UINT_PTR TIMER_CHANGE = 1;
constexpr UINT_PTR TIMER_DATE = 7;
constexpr UINT_PTR TIMER_TRAY_RETRY = 8;  // waiting for the notification area at start
constexpr UINT_PTR TIMER_HIDE_ICONS = 9;  // hiding the icons again in a restarted shell's desktop
constexpr UINT kHideIconsInterval = 1000;
constexpr int kHideIconsAttempts = 15;
constexpr UINT_PTR TIMER_DISPLAY_CHANGE = 11;  // a new monitor layout, resolution, work area or DPI
constexpr UINT_PTR TIMER_REFILL = 10;     // a refill of the catalogue is scanning
constexpr UINT kRefillPollInterval = 100;
constexpr UINT_PTR TIMER_ADOPTED_EDITS = 12;  // folder edits that outlived the settings window
constexpr UINT kAdoptedEditPollInterval = 250;
constexpr UINT_PTR TIMER_SESSION_RETRY = 13;  // the session notifications are not registered yet
constexpr UINT kSessionRetryInterval = 2000;
constexpr UINT kDateTimerInterval = 30000;
// Docking, a new monitor or a new resolution sends several changes in a row: the picture for the
// layout they leave is composed once, this long after the last of them.
constexpr UINT kDisplayChangeDelay = 500;
// Started at logon, the program can come up before the notification area: it tries again
// every two seconds for two minutes, then every half minute, and starts at once when the shell
// announces its task bar ("TaskbarCreated"). It never gives up: ending would lose the run.
constexpr UINT kTrayRetryInterval = 2000;
constexpr int kTrayRetryAttempts = 60;
constexpr UINT kTraySlowRetryInterval = 30000;
// The composition on the worker has ended: its picture is on the desktop.
constexpr UINT WM_COMPOSITION_DONE = WM_APP + 1;
// The change held while nobody was looking, made once the user is back.
constexpr UINT WM_CATCH_UP = WM_APP + 2;
// The composition found the catalogue used up: a refill scan starts on the window's thread.
constexpr UINT WM_START_REFILL = WM_APP + 3;
// How long shut-down waits for a composition it cancelled before it gives the wallpaper back anyway.
constexpr DWORD kCompositionStopWait = 1500;
// The window property that marks the running copy's main window for "-exit".
constexpr wchar_t kMainWindowMark[] = L"Dioramix.MainWindow";
// A verb handed over by a second copy's command line in WM_COPYDATA.
constexpr ULONG_PTR kVerbCopyData = 0x44524D56;
struct VerbMessage {
    int32_t verb = 0;           // a Verb
    int32_t displayNumber = 0;  // 1-based in Windows' order; 0: the monitor under the pointer
};
// Pause and resume wait for a composition under way like the tray's pause.
constexpr UINT ID_VERB_PAUSE = 0xE101;
constexpr UINT ID_VERB_RESUME = 0xE102;
// RegisterHotKey ids: this plus the HotkeyVerb.
constexpr int kHotkeyIdBase = 0x4100;

class CEnvSetDlg;

class CWallpaperDlg : public fw::CDialogImpl<CWallpaperDlg>, public ISettingsOwner {
public:
    // programFile: where the program's files are looked for (a test's scratch copy); empty for
    // the running executable.
    explicit CWallpaperDlg(fw::ISystem& system, std::string programFile = {});
    ~CWallpaperDlg() override;

    bool PreTranslateMessage(MSG* msg) override;

    // Shut-down: shows hidden desktop icons, saves the files and puts the prior wallpaper back.
    // Safe to run twice (a cancelled end of session, then the real exit).
    void ShutDown();
    // env.ini, list.txt and poslist.txt as they are now. Run whenever the user has finished
    // editing (the settings window closed, a tray switch), so that a crash, a kill or a power
    // cut never takes what was done.
    void SaveEditedState();
    // Sets the tray tooltip from the version and, with `isiptooltip`, the address line.
    void UpdateTrayTip() override;
    // The weekday picture (with the date watch running) under `isweekday`, else the ordinary one.
    void UpdateTrayIcon() override;
    HWND MainWindow() const override { return m_hwnd; }
    bool HotkeyTaken(HotkeyVerb verb) const override { return m_hotkeyTaken[static_cast<size_t>(verb)]; }

    // Acts on a verb of a hotkey or the command line; displayNumber as in VerbMessage.
    void DoVerb(Verb verb, int displayNumber);

    // A folder edit whose settings window closed mid-scan, committed by CommitAdoptedFolderEdits.
    void AdoptFolderEdit(FolderEdit edit) override;
    // Commits the adopted edits whose scans have ended and writes list.txt; never while a
    // wallpaper is being composed from the catalogue. Its timer's tick, also called by tests.
    void CommitAdoptedFolderEdits();
    bool HasAdoptedFolderEdits() const { return !m_adoptedEdits.Empty(); }

    // Timer ticks, also called directly by tests.
    void OnChangeTimer();
    void OnDateTimer();
    // No composition runs or is owed that could run now: what tests wait for.
    bool Idle() const {
        return !m_worker.Busy() && !m_resultPending && m_waitingCommands.empty() && !(m_owed.Any() && CanCompose());
    }
    // The composition on the worker has ended (or none ran): the process may end normally.
    bool CompositionStopped() const { return !m_worker.Busy(); }

    static const fw::Handler<CWallpaperDlg> kHandlers[];

    HICON m_hIcon = nullptr;
    CTrayIcon m_trayIcon;
    int m_lastPage = 0;
    // The open settings and current images dialogs (non-owning, null when none); their classes
    // derive from fw::CDialog.
    CEnvSetDlg* m_pEnvSetDlg = nullptr;
    fw::CDialog* m_pImagesDlg = nullptr;
    EnvSettings stEnv;
    OutProgramList m_outPrograms;
    ImageCatalogue m_catalogue;
    Composer m_composer;
    // The change that finds the catalogue used up refills it in the background.
    BackgroundRefill m_refill{m_catalogue};
    // Every composition runs here; while one runs, the window thread leaves the composer and the
    // catalogue alone, and what needs them waits in m_owed or m_waitingCommands.
    fw::WorkerThread m_worker{[this] { ::PostMessageW(m_hwnd, WM_COMPOSITION_DONE, 0, 0); }};
    BOOL m_changeEnabled = FALSE;
    std::string m_lastDate;
    // How long start-up waits for the notification area; tests shorten it.
    UINT m_trayRetryInterval = kTrayRetryInterval;
    UINT m_displayChangeDelay = kDisplayChangeDelay;
    int m_trayRetryAttempts = kTrayRetryAttempts;
    UINT m_traySlowRetryInterval = kTraySlowRetryInterval;
    // The icon is in the notification area and the start-up sequence ran.
    bool IsStarted() const noexcept { return m_started; }

protected:
    BOOL OnInitDialog() override;

private:
    bool AddTrayIcon();
    void StartUp();
    void LoadStartupState();
    void TellOfPausedSystemShow();
    void ArmChangeTimer();
    void StartDateWatch();

    LRESULT OnTimer(WPARAM, LPARAM);
    void OnTrayRetryTimer();
    void OnHideIconsTimer();
    void StartRefill();
    void OnRefillTimer();
    LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    LRESULT OnDisplayChange(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM, LPARAM);
    void OnDisplayChangeTimer();
    LRESULT OnTrayNotify(WPARAM, LPARAM);
    bool ShowTrayMenu();  // false when the menu resource cannot be loaded
    LRESULT OnMeasureItem(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnSessionChange(WPARAM, LPARAM);
    void RegisterSessionNotifications();
    LRESULT OnCompositionDone(WPARAM, LPARAM);
    LRESULT OnStartRefill(WPARAM, LPARAM);
    LRESULT OnPowerBroadcast(WPARAM, LPARAM);
    LRESULT OnCatchUp(WPARAM, LPARAM);
    void UserIsBack();
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnCopyData(WPARAM, LPARAM);
    LRESULT OnHotKey(WPARAM, LPARAM);
    // The verbs' hotkeys as the settings hold them now; a combination another program holds is
    // remembered as taken (and kept in the settings) for the page to show.
    void RegisterHotkeys();
    void UnregisterHotkeys();
    void OnVerbPause();
    void OnVerbResume();
    void SetPaused(bool paused);
    // The photos on the ban and favourites lists go there once the composer is free.
    void ApplyVerdicts();
    void RememberShownPicture();
    fw::MessageResult OnSysCommand(WPARAM, LPARAM);
    void OnOk();
    void OnCancel();

    // Tray menu commands.
    void OnCurrentImages();
    void OnTidyScreen();
    void OnToggleDesktopIcons();
    void OnShowDesktop();
    void OnPause();
    void SaveCurrentWallpaper();
    void OnSettings();
    void OnAbout();
    void OnExit();

    // True when the dialog is open; it is then brought to the front.
    static bool BringToFrontIfOpen(fw::CDialog* dialog);

    // Every change of the wallpaper is asked for here and made by RunOwed when nothing holds it:
    // a composition under way, the save, settings or current images window, nobody looking.
    void Ask(const OwedChanges& asked);
    void RunOwed();
    bool CanCompose() const;
    void StartComposition(const CompositionPlan& plan);
    // A command that needs the composer's picture or lists runs once the composition under way
    // has ended, which it hurries along when the user waits for a window; true when it waits.
    bool WaitsForComposition(UINT command, bool hurry);
    // Cancels the composition under way, waits a moment for it and keeps any late picture off
    // the desktop.
    void StopComposing();

    fw::ISystem& m_system;
    fw::UserRegistry m_registry;
    StartWithWindows m_startWithWindows{m_registry, fw::ModuleFileNameWide()};
    std::string m_programFile;
    CTrayMenu* m_trayMenu = nullptr;  // while the tray menu is shown
    bool m_loaded = false;            // settings and lists were read: shut-down may write them back
    bool m_exiting = false;           // the exit command ran: a closing dialog must not compose again
    fw::CDialog* m_pAboutDlg = nullptr;  // while the about box runs
    bool m_started = false;           // the icon is in the notification area and start-up ran
    int m_trayAttempts = 0;
    bool m_iconsHidden = false;       // the icons were hidden in this run (not just flagged in env.ini)
    int m_hideIconsAttempts = 0;
    bool m_saveDialogOpen = false;    // the picture being saved must not change under the dialog
    bool m_photoUnderWay = false;     // the composition under way draws a new photo
    bool m_resultPending = false;     // a composition was started and its end not yet taken in
    Presence m_presence;
    PresenceNotifications m_presenceNotifications;
    OwedChanges m_owed;
    std::vector<UINT> m_waitingCommands;
    // What the desktop shows, as of the last composition: the verbs name a monitor's photo by it,
    // never by the composer's state a composition under way is changing.
    DesktopLayout m_shownLayout;
    std::vector<std::string> m_shownPaths;
    unsigned m_showsAtStart = 0;  // the composer's shows when the composition under way started
    // Bans and keeps that came after the composition under way had set its picture: they name a
    // photo of that picture, known once its end is taken in.
    std::vector<std::pair<Verb, int>> m_verbsAfterShow;
    bool m_hotkeyTaken[kHotkeyCount] = {};
    AdoptedFolderEdits m_adoptedEdits;
};
