#include "app/presence.h"

#include <wtsapi32.h>

namespace {

// Windows 8 and later; an older system refuses the registration and the display counts as on.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kSessionDisplayStatus = {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};

constexpr DWORD kDisplayOff = 0;

}  // namespace

template <class Change>
bool Presence::Apply(Change change) {
    const bool before = Watched();
    change();
    return !before && Watched();
}

bool Presence::OnSessionChange(WPARAM event) {
    return Apply([&] {
        switch (event) {
            case WTS_SESSION_LOCK: m_locked = true; break;
            case WTS_SESSION_UNLOCK: m_locked = false; break;
            case WTS_CONSOLE_DISCONNECT:
            case WTS_REMOTE_DISCONNECT: m_disconnected = true; break;
            case WTS_CONSOLE_CONNECT:
            case WTS_REMOTE_CONNECT: m_disconnected = false; break;
            default: break;
        }
    });
}

bool Presence::OnDisplayState(const GUID& setting, DWORD state) {
    // Dimmed still shows the desktop.
    const Display display = state == kDisplayOff ? Display::Off : Display::On;
    return Apply([&] {
        if (::IsEqualGUID(setting, kSessionDisplayStatus)) m_sessionDisplay = display;
        else if (::IsEqualGUID(setting, kConsoleDisplayState)) m_consoleDisplay = display;
    });
}

bool Presence::Watched() const {
    if (m_locked || m_disconnected) return false;
    // A remote session's user looks at their own screen, whatever the console's does.
    const Display display = m_sessionDisplay != Display::Unknown ? m_sessionDisplay : m_consoleDisplay;
    return display != Display::Off;
}

bool PresenceNotifications::Start(HWND window, fw::ISystem& system) {
    m_window = window;
    if (!m_consoleDisplay && !m_sessionDisplay) {
        // Each registration is answered at once with the current state.
        m_consoleDisplay = ::RegisterPowerSettingNotification(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
        m_sessionDisplay = ::RegisterPowerSettingNotification(window, &kSessionDisplayStatus, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    if (!m_system && system.RegisterSessionNotification(window)) m_system = &system;
    return m_system != nullptr;
}

void PresenceNotifications::Stop() {
    if (m_consoleDisplay) ::UnregisterPowerSettingNotification(m_consoleDisplay);
    if (m_sessionDisplay) ::UnregisterPowerSettingNotification(m_sessionDisplay);
    if (m_system) m_system->UnregisterSessionNotification(m_window);
    m_consoleDisplay = m_sessionDisplay = nullptr;
    m_system = nullptr;
    m_window = nullptr;
}
