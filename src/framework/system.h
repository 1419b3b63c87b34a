#pragma once
// The seam between the program's logic and the system services a test must control:
// clock, tick count, C runtime random numbers, screen metrics, work area, file checks, setting
// the desktop wallpaper, the window manager's cloaking and the session's connection. RealSystem
// is the one production implementation.

#include <windows.h>

#include <string>

namespace fw {

struct WorkArea {
    int x = 0, y = 0, width = 0, height = 0;
};

struct LocalDate {
    int year = 0;
    int month = 0;    // 1-12
    int day = 0;      // 1-31
    int weekday = 0;  // 0 = Sunday
};

class ISystem {
public:
    virtual ~ISystem() = default;
    virtual int Rand() = 0;                   // 0..32767, the C runtime generator
    virtual void SeedRandom(unsigned seed) = 0;
    virtual DWORD TickCount() = 0;
    virtual LocalDate Today() = 0;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    virtual WorkArea GetWorkArea() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual void SetDesktopWallpaper(const std::string& path) = 0;
    // True when the window manager keeps the window out of sight although it is "visible": a
    // suspended store app, a window on another virtual desktop. Before Windows 8 nothing is.
    virtual bool IsWindowCloaked(HWND) { return false; }
    // True when the program's session shows on no display: a remote session left open, or a
    // console session another user has switched away from. Later changes come as messages.
    virtual bool IsSessionDisconnected() { return false; }
};

// The running executable's full path, however long.
std::string ModuleFileName();

class RealSystem final : public ISystem {
public:
    int Rand() override;
    void SeedRandom(unsigned seed) override;
    DWORD TickCount() override;
    LocalDate Today() override;
    int ScreenWidth() override;
    int ScreenHeight() override;
    WorkArea GetWorkArea() override;
    bool FileExists(const std::string& path) override;
    void SetDesktopWallpaper(const std::string& path) override;
    bool IsWindowCloaked(HWND window) override;
    bool IsSessionDisconnected() override;
};

// True while the user has a high-contrast theme on: drawing then keeps to the system's colour pairs.
bool HighContrastOn();

}  // namespace fw
