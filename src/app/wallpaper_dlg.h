#pragma once
// The hidden main window: owns the settings, the catalogue, the composer and the tray icon;
// target of the timers and the tray menu commands. Runs modally for the life of the program.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/tray_icon.h"
#include "composer/composer.h"
#include "framework/handles.h"
#include "framework/system.h"
#include "framework/window.h"
#include "state/catalogue.h"
#include "state/settings.h"

constexpr UINT_PTR TIMER_CHANGE = 1;
constexpr UINT_PTR TIMER_DATE = 7;
constexpr UINT kDateTimerInterval = 30000;

class CWallpaperDlg : public fw::CDialogImpl<CWallpaperDlg> {
public:
    explicit CWallpaperDlg(fw::ISystem& system);
    ~CWallpaperDlg() override;

    bool PreTranslateMessage(MSG* msg) override;

    // Shut-down: saves the files and puts the prior wallpaper back. Safe to run twice.
    void ShutDown();

    static const fw::Handler<CWallpaperDlg> kHandlers[];

    HICON m_hIcon = nullptr;
    CTrayIcon m_trayIcon;
    int m_lastPage = 0;
    EnvSettings stEnv;
    OutProgramList m_outPrograms;
    ImageCatalogue m_catalogue;
    Composer m_composer;
    BOOL m_changeEnabled = FALSE;
    std::string m_lastDate;

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnOk();
    void OnCancel();
    void OnExit();

    fw::ISystem& m_system;
    bool m_loaded = false;  // settings and lists were read: shut-down may write them back
};
