#pragma once
// The seam between the program's logic and the system services a test must control:
// clock, tick count, C runtime random numbers, screen metrics, work area, the monitors, file
// checks, setting the desktop wallpaper and its style, the window manager's cloaking and the
// session's connection. RealSystem is the one production implementation.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/dpi.h"

namespace fw {

struct WorkArea {
    int x = 0, y = 0, width = 0, height = 0;
};

// One monitor in virtual-screen coordinates: the primary's top-left corner is (0, 0), a monitor
// left of or above it has negative ones. Real pixels (the program is per-monitor DPI aware).
struct MonitorInfo {
    RECT rect{};
    RECT work{};  // the monitor without the task bar and other docked bars
    bool primary = false;
    UINT dpi = kDefaultDpi;  // effective: 144 where the user scales it to 150 %
};

// The desktop's "WallpaperStyle" and "TileWallpaper" values; absent ones are left empty.
struct WallpaperStyle {
    std::string style;
    std::string tile;
    bool operator==(const WallpaperStyle& o) const { return style == o.style && tile == o.tile; }
};

// One monitor's own picture, as the desktop's wallpaper interface names them.
struct MonitorWallpaper {
    std::wstring monitor;  // the monitor's device path
    std::wstring picture;  // "" when it has none of its own
    RECT rect{};           // where it is on the virtual screen; not kept, the next start reads it anew
};

// The slideshow Windows runs: what it shows (a folder or pictures, as file-system paths), whether
// it shuffles them and how long each picture stays.
struct Slideshow {
    std::vector<std::wstring> items;
    bool shuffle = false;
    unsigned tick = 0;  // milliseconds; 0 unknown
    bool operator==(const Slideshow& o) const { return items == o.items && shuffle == o.shuffle && tick == o.tick; }
};

// The user's wallpaper setup where the desktop has a wallpaper interface (Windows 8 and later):
// each monitor's picture, how the pictures are fitted, the colour around them, a slideshow.
struct DesktopSetup {
    std::vector<MonitorWallpaper> monitors;
    int position = -1;        // DESKTOP_WALLPAPER_POSITION; -1 unknown
    COLORREF background = 0;
    bool hasBackground = false;
    bool slideshow = false;   // a slideshow (or the system's picture of the day) runs
    Slideshow slides;         // the slideshow's own setup, read while it runs
    bool spotlight = false;   // the system's picture of the day; the interface does not say, the caller fills it in
    bool operator==(const DesktopSetup& o) const;
};

// The interface's fits (DESKTOP_WALLPAPER_POSITION) the program itself sets.
constexpr int kTileFit = 1;
constexpr int kStretchFit = 2;
constexpr int kSpanFit = 5;

// Whether the user can see the session: `disconnected` for a remote session left open or a
// console session another user has switched away from.
struct SessionState {
    bool locked = false;
    bool disconnected = false;
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
    // The session as it is now; later changes come as messages. Unknown parts count as watched.
    virtual SessionState CurrentSession() { return {}; }
    // WM_WTSSESSION_CHANGE for the window; false when the session service refused (early in a logon).
    virtual bool RegisterSessionNotification(HWND) { return true; }
    virtual void UnregisterSessionNotification(HWND) {}
    // Every monitor of the desktop. The default is the primary screen alone, from the metrics above,
    // at 96 DPI.
    virtual std::vector<MonitorInfo> Monitors();
    // The style the desktop draws the wallpaper with; set before the wallpaper, which applies it.
    // Where the mouse pointer is, in virtual-screen coordinates.
    virtual POINT CursorPos();
    virtual WallpaperStyle GetWallpaperStyle() { return {}; }
    virtual void SetWallpaperStyle(const WallpaperStyle&) {}
    // The desktop's wallpaper interface. Each call is false where there is none (before Windows 8),
    // and the program then keeps to the wallpaper and style above.
    virtual bool ReadDesktopSetup(DesktopSetup&) { return false; }
    virtual bool SetMonitorWallpaper(const std::wstring& /*monitor*/, const std::wstring& /*picture*/) { return false; }
    virtual bool SetWallpaperPosition(int /*position*/) { return false; }
    // Runs the slideshow again on what remains of its items; false when none of them is there any more.
    virtual bool SetSlideshow(const Slideshow& /*slides*/) { return false; }
    // Windows 7 spans no picture across monitors: the program tiles one from the primary's origin.
    virtual bool BeforeWindows8() { return false; }
};

// The running executable's full path, however long, in the ANSI code page; "" when no narrow
// spelling names it (mb::NarrowPath), never a best-fit one naming another file.
std::string ModuleFileName();
// The same, as the system spells it: for what must keep every character (the Run value).
std::wstring ModuleFileNameWide();

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
    SessionState CurrentSession() override;
    bool RegisterSessionNotification(HWND window) override;
    void UnregisterSessionNotification(HWND window) override;
    std::vector<MonitorInfo> Monitors() override;
    WallpaperStyle GetWallpaperStyle() override;
    void SetWallpaperStyle(const WallpaperStyle& style) override;
    bool ReadDesktopSetup(DesktopSetup& setup) override;
    bool SetMonitorWallpaper(const std::wstring& monitor, const std::wstring& picture) override;
    bool SetWallpaperPosition(int position) override;
    bool SetSlideshow(const Slideshow& slides) override;
    bool BeforeWindows8() override;
};

// True while the user has a high-contrast theme on: drawing then keeps to the system's colour pairs.
bool HighContrastOn();

}  // namespace fw
