#pragma once
// The notification-area icon, in the shell's first-version record. Removed by the destructor.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "framework/handles.h"

constexpr UINT WM_TRAYNOTIFY = WM_USER + 10;  // 0x040A
constexpr UINT kTrayIconId = 129;

class CTrayIcon {
public:
    CTrayIcon() noexcept;
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon, or takes over the one the shell already holds for this window and id.
    bool AddToTray(HWND owner, UINT callbackMessage, const std::string& tip, HICON icon, UINT id);
    // Adds the icon again, with the picture and tip it had, after the shell restarted (its
    // "TaskbarCreated" broadcast); a shell that still has it (a DPI change broadcasts too)
    // only refreshes it. False when it was never added or the shell refuses.
    bool Restore();
    BOOL ChangeIcon(UINT resourceId);
    BOOL ChangeTip(const std::string& tip);
    // A balloon with an information icon over the icon, in the second version's record (the
    // first has no balloon); texts longer than the record holds are cut at a character.
    BOOL ShowBalloon(const std::string& title, const std::string& text);
    void RemoveFromTray();
    virtual LRESULT HandleNotify(WPARAM id, LPARAM event);

    bool IsEnabled() const noexcept { return m_enabled; }
    HICON Icon() const noexcept { return m_data.hIcon; }

    // The shell call; tests replace it to play a notification area that is not there yet.
    using ShellNotify = std::function<BOOL(DWORD action, NOTIFYICONDATAA* data)>;
    void SetShellNotify(ShellNotify notify) { m_notify = std::move(notify); }
    const char* Tip() const noexcept { return m_data.szTip; }

private:
    void StoreTip(const std::string& tip);  // cut to what the first version holds

    BOOL m_enabled = FALSE;
    NOTIFYICONDATAA m_data;  // first version: 88 bytes on x64
    fw::Icon m_icon;         // the picture m_data names, kept for adding it again
    ShellNotify m_notify = [](DWORD action, NOTIFYICONDATAA* data) { return ::Shell_NotifyIconA(action, data); };
};

// An icon resource of the program at the notification area's size for the system's DPI; the
// caller owns it.
HICON LoadTrayIcon(UINT resourceId);

// The tooltip field holds 63 characters and the terminator.
std::string CutTip(const std::string& tip);
