#pragma once
// The hidden main window: owns the settings, the catalogue, the composer and the tray icon;
// target of the timers and the tray menu commands. Runs modally for the life of the program.

#include <windows.h>

#include <memory>
#include <string>

#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "composer/composer.h"
#include "framework/handles.h"
#include "framework/system.h"
#include "framework/window.h"
#include "settings_ui/settings_context.h"
#include "state/catalogue.h"
#include "state/settings.h"

constexpr UINT_PTR TIMER_CHANGE = 1;
constexpr UINT_PTR TIMER_DATE = 7;
constexpr UINT kDateTimerInterval = 30000;

class CEnvSetDlg;

class CWallpaperDlg : public fw::CDialogImpl<CWallpaperDlg>, public ISettingsOwner {
public:
    explicit CWallpaperDlg(fw::ISystem& system);
    ~CWallpaperDlg() override;

    bool PreTranslateMessage(MSG* msg) override;

    // Shut-down: shows hidden desktop icons, saves the files and puts the prior wallpaper back.
    // Safe to run twice (a cancelled end of session, then the real exit).
    void ShutDown();
    // Sets the tray tooltip from the version and, with `isiptooltip`, the address line.
    void UpdateTrayTip() override;
    // The weekday picture (with the date watch running) under `isweekday`, else the ordinary one.
    void UpdateTrayIcon() override;
    HWND MainWindow() const override { return m_hwnd; }

    // Timer ticks, also called directly by tests.
    void OnChangeTimer();
    void OnDateTimer();

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
    BOOL m_changeEnabled = FALSE;
    std::string m_lastDate;

protected:
    BOOL OnInitDialog() override;

private:
    void LoadStartupState();
    void ArmChangeTimer();
    void StartDateWatch();
    std::string VersionText() const;

    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnTrayNotify(WPARAM, LPARAM);
    bool ShowTrayMenu();  // false when the menu resource cannot be loaded
    LRESULT OnMeasureItem(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnOk();
    void OnCancel();

    // Tray menu commands.
    void OnCurrentImages();
    void OnTidyScreen();
    void OnToggleDesktopIcons();
    void OnShowDesktop();
    void OnPause();
    void OnSaveWallpaper();
    void OnSettings();
    void OnAbout();
    void OnExit();

    // True when the dialog is open; it is then brought to the front.
    static bool BringToFrontIfOpen(fw::CDialog* dialog);

    fw::ISystem& m_system;
    CTrayMenu* m_trayMenu = nullptr;  // while the tray menu is shown
    bool m_loaded = false;            // settings and lists were read: shut-down may write them back
    bool m_exiting = false;           // the exit command ran: a closing dialog must not compose again
    fw::CDialog* m_pAboutDlg = nullptr;  // while the about box runs
};
