#include "app/tray_icon.h"

#include <cstring>

#include "framework/mbstring.h"

namespace {
// The first-version record: everything up to and including the 64-byte tooltip.
constexpr DWORD kFirstVersionSize = static_cast<DWORD>(offsetof(NOTIFYICONDATAA, szTip) + 64);
}

// The first version's tip holds 63 bytes; a name is never cut inside a character.
std::string CutTip(const std::string& tip) { return mb::CutAtCharacter(tip, 63); }

CTrayIcon::CTrayIcon() noexcept { std::memset(&m_data, 0, sizeof(m_data)); }

CTrayIcon::~CTrayIcon() { RemoveFromTray(); }

bool CTrayIcon::AddToTray(HWND owner, UINT callbackMessage, const std::string& tip, HICON icon, UINT id) {
    m_enabled = owner && ::IsWindow(owner);
    if (!m_enabled) return false;
    m_data.cbSize = kFirstVersionSize;
    m_data.hWnd = owner;
    m_data.uID = id;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = icon;
    StoreTip(tip);
    return Restore();
}

bool CTrayIcon::Restore() {
    if (m_data.cbSize == 0 || !::IsWindow(m_data.hWnd)) return false;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // An add that timed out at a busy logon may still have reached the shell, which then
    // refuses every later add: the icon is there and answers to a modify.
    m_enabled = m_notify(NIM_ADD, &m_data) || m_notify(NIM_MODIFY, &m_data);
    return m_enabled != FALSE;
}

HICON LoadTrayIcon(UINT resourceId) {
    // Common controls 6 only: looked up, so that a process without the manifest still starts.
    using LoadIconMetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
    static const auto loadIconMetric = reinterpret_cast<LoadIconMetricFn>(
        reinterpret_cast<void*>(::GetProcAddress(::LoadLibraryW(L"comctl32.dll"), "LoadIconMetric")));
    constexpr int kSmallIcon = 0;  // LIM_SMALL
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    HICON icon = nullptr;
    if (loadIconMetric && SUCCEEDED(loadIconMetric(module, MAKEINTRESOURCEW(resourceId), kSmallIcon, &icon)) && icon)
        return icon;
    return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
}

BOOL CTrayIcon::ChangeIcon(UINT resourceId) {
    fw::Icon icon(LoadTrayIcon(resourceId));
    if (!m_enabled) return FALSE;
    m_data.uFlags = NIF_ICON;
    m_data.hIcon = icon.get();
    const BOOL shown = m_notify(NIM_MODIFY, &m_data);
    m_icon = std::move(icon);  // the shell keeps its own copy: the previous picture can go
    return shown;
}

BOOL CTrayIcon::ChangeTip(const std::string& tip) {
    if (!m_enabled) return FALSE;
    m_data.uFlags = NIF_TIP;
    StoreTip(tip);
    return m_notify(NIM_MODIFY, &m_data);
}

BOOL CTrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    if (!m_enabled) return FALSE;
    NOTIFYICONDATAA balloon = m_data;
    balloon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    balloon.uFlags = NIF_INFO;
    const std::string cutTitle = mb::CutAtCharacter(title, sizeof balloon.szInfoTitle - 1);
    const std::string cutText = mb::CutAtCharacter(text, sizeof balloon.szInfo - 1);
    std::memcpy(balloon.szInfoTitle, cutTitle.c_str(), cutTitle.size() + 1);
    std::memcpy(balloon.szInfo, cutText.c_str(), cutText.size() + 1);
    balloon.dwInfoFlags = NIIF_INFO;
    return m_notify(NIM_MODIFY, &balloon);
}

void CTrayIcon::StoreTip(const std::string& tip) {
    const std::string cut = CutTip(tip);
    std::memset(m_data.szTip, 0, sizeof(m_data.szTip));
    std::memcpy(m_data.szTip, cut.c_str(), cut.size());
}

void CTrayIcon::RemoveFromTray() {
    if (!m_enabled) return;
    m_data.uFlags = 0;
    m_notify(NIM_DELETE, &m_data);
    m_enabled = FALSE;
}

LRESULT CTrayIcon::HandleNotify(WPARAM id, LPARAM) { return id == m_data.uID ? 1 : 0; }
