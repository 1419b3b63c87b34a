#pragma once
// The notification-area icon, in the shell's first-version record. Removed by the destructor.

#include <windows.h>
#include <shellapi.h>

#include <string>

constexpr UINT WM_TRAYNOTIFY = WM_USER + 10;  // 0x040A
constexpr UINT kTrayIconId = 129;

class CTrayIcon {
public:
    CTrayIcon() noexcept;
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    bool AddToTray(HWND owner, UINT callbackMessage, const std::string& tip, HICON icon, UINT id);
    BOOL ChangeIcon(UINT resourceId);
    BOOL ChangeTip(const std::string& tip);
    void RemoveFromTray();
    virtual LRESULT HandleNotify(WPARAM id, LPARAM event);

    bool IsEnabled() const noexcept { return m_enabled; }
    const char* Tip() const noexcept { return m_data.szTip; }

private:
    BOOL m_enabled = FALSE;
    NOTIFYICONDATAA m_data;  // first version: 88 bytes on x64
};

// The tooltip field holds 63 characters and the terminator.
std::string CutTip(const std::string& tip);
