#pragma once
// Whether anyone can see the desktop. While the session is locked, its display is off or it is
// disconnected (a remote session left open, another user switched in) a new wallpaper is a
// picture written for nobody: the main window holds its changes and makes one when the user is
// back. The state is queried once at start, then follows window messages, which tests send
// themselves.

#include <windows.h>

#include "framework/system.h"

class Presence {
public:
    // WM_WTSSESSION_CHANGE's event; true when it brought the user back.
    bool OnSessionChange(WPARAM event);
    // A display power setting's new state (0 off, 1 on, 2 dimmed); true when it brought the
    // user back. Settings other than the two display states are ignored.
    bool OnDisplayState(const GUID& setting, DWORD state);
    // The session as found at start, before any message about it.
    void SetSession(const fw::SessionState& session) {
        m_locked = session.locked;
        m_disconnected = session.disconnected;
    }

    bool Watched() const;

private:
    enum class Display { Unknown, On, Off };
    template <class Change>
    bool Apply(Change change);

    bool m_locked = false;
    bool m_disconnected = false;
    Display m_consoleDisplay = Display::Unknown;
    Display m_sessionDisplay = Display::Unknown;  // the session's own display; rules when known
};

// The main window's registrations for those messages, undone before the window goes.
class PresenceNotifications {
public:
    PresenceNotifications() = default;
    ~PresenceNotifications() { Stop(); }
    PresenceNotifications(const PresenceNotifications&) = delete;
    PresenceNotifications& operator=(const PresenceNotifications&) = delete;

    // False when the session notifications could not be registered yet (the power ones are
    // registered all the same); Start again later.
    bool Start(HWND window, fw::ISystem& system);
    void Stop();

private:
    HWND m_window = nullptr;
    fw::ISystem* m_system = nullptr;  // while the session notifications are registered
    HPOWERNOTIFY m_consoleDisplay = nullptr;
    HPOWERNOTIFY m_sessionDisplay = nullptr;
};
