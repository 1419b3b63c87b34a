#pragma once
// A controllable fw::ISystem for tests: fixed screen and work area (or a layout of monitors),
// scripted dice and ticks, a fixed date, file checks on the real disk, and a record of every
// wallpaper and wallpaper style set.
// Header-only so that every test program can use it without a build change.

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/mbstring.h"
#include "framework/system.h"

namespace testing_support {

class FakeSystem : public fw::ISystem {
public:
    int screenWidth = 1024;
    int screenHeight = 768;
    fw::WorkArea workArea{0, 0, 1024, 738};
    fw::LocalDate today{2026, 12, 8, 2};

    // Rand() answers these in turn, then fallbackRand; TickCount() likewise with fallbackTick.
    std::deque<int> rands;
    std::deque<DWORD> ticks;
    int fallbackRand = 0;
    DWORD fallbackTick = 1;
    int randCalls = 0;

    // Empty: the one screen above. Set through SetMonitors, which keeps the screen metrics those
    // of the primary monitor, as the system's are.
    std::vector<fw::MonitorInfo> monitors;
    fw::WallpaperStyle style{"10", "0"};   // the desktop's style now
    std::vector<fw::WallpaperStyle> stylesSet;  // every SetWallpaperStyle, in order

    fw::SessionState session;  // as CurrentSession() finds it

    std::vector<std::string> wallpapers;  // every SetDesktopWallpaper, in order
    int sessionRegistrationRefusals = 0;  // RegisterSessionNotification fails this often first
    int sessionRegistrations = 0;
    // Runs inside SetDesktopWallpaper, where the real call broadcasts the change and handles
    // messages sent to the program meanwhile.
    std::function<void(const std::string&)> onSetWallpaper;

    // The desktop's wallpaper interface: absent, as on Wine and Windows 7, unless a test sets it.
    // Setting the wallpaper the old way shows the picture on every monitor of `desktop`, as it does.
    bool hasDesktopInterface = false;
    fw::DesktopSetup desktop;
    std::vector<fw::MonitorWallpaper> monitorWallpapersSet;  // every SetMonitorWallpaper, in order
    std::vector<int> positionsSet;                           // every SetWallpaperPosition, in order
    // Every slideshow run again, with the items still on disk; and how many monitor pictures had
    // been given by then.
    std::vector<fw::Slideshow> slideshowsSet;
    size_t picturesBeforeSlideshow = 0;
    bool beforeWindows8 = false;

    int Rand() override {
        ++randCalls;
        return Next(rands, fallbackRand);
    }
    void SeedRandom(unsigned) override {}
    DWORD TickCount() override { return Next(ticks, fallbackTick); }
    fw::LocalDate Today() override { return today; }
    int ScreenWidth() override { return screenWidth; }
    int ScreenHeight() override { return screenHeight; }
    fw::WorkArea GetWorkArea() override { return workArea; }
    bool FileExists(const std::string& path) override {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    POINT cursor{10, 10};
    POINT CursorPos() override { return cursor; }
    std::vector<fw::MonitorInfo> Monitors() override {
        return monitors.empty() ? fw::ISystem::Monitors() : monitors;
    }
    fw::SessionState CurrentSession() override { return session; }
    bool RegisterSessionNotification(HWND) override {
        if (sessionRegistrationRefusals > 0 && sessionRegistrationRefusals-- > 0) return false;
        ++sessionRegistrations;
        return true;
    }
    fw::WallpaperStyle GetWallpaperStyle() override { return style; }
    void SetWallpaperStyle(const fw::WallpaperStyle& s) override {
        style = s;
        stylesSet.push_back(s);
    }
    void SetMonitors(std::vector<fw::MonitorInfo> layout) {
        monitors = std::move(layout);
        for (const fw::MonitorInfo& m : monitors) {
            if (!m.primary) continue;
            screenWidth = m.rect.right - m.rect.left;
            screenHeight = m.rect.bottom - m.rect.top;
            workArea = {m.work.left, m.work.top, m.work.right - m.work.left, m.work.bottom - m.work.top};
        }
    }
    bool ReadDesktopSetup(fw::DesktopSetup& setup) override {
        if (hasDesktopInterface) setup = desktop;
        return hasDesktopInterface;
    }
    bool SetMonitorWallpaper(const std::wstring& monitor, const std::wstring& picture) override {
        if (!hasDesktopInterface) return false;
        for (fw::MonitorWallpaper& m : desktop.monitors) {
            if (m.monitor != monitor) continue;
            m.picture = picture;
            StopSlideshow();
            monitorWallpapersSet.push_back({monitor, picture});
            return true;
        }
        return false;  // a monitor no longer there
    }
    bool SetWallpaperPosition(int position) override {
        if (!hasDesktopInterface) return false;
        desktop.position = position;
        positionsSet.push_back(position);
        return true;
    }
    bool SetSlideshow(const fw::Slideshow& slides) override {
        if (!hasDesktopInterface) return false;
        fw::Slideshow given = slides;
        given.items.clear();
        for (const std::wstring& item : slides.items)
            if (::GetFileAttributesW(item.c_str()) != INVALID_FILE_ATTRIBUTES) given.items.push_back(item);
        if (given.items.empty()) return false;
        desktop.slideshow = true;
        desktop.slides = given;
        slideshowsSet.push_back(given);
        picturesBeforeSlideshow = monitorWallpapersSet.size();
        return true;
    }
    bool BeforeWindows8() override { return beforeWindows8; }
    // A picture set any way ends the slideshow, as it does on Windows.
    void StopSlideshow() {
        desktop.slideshow = false;
        desktop.slides = {};
    }
    void SetDesktopWallpaper(const std::string& path) override {
        wallpapers.push_back(path);
        StopSlideshow();
        for (fw::MonitorWallpaper& m : desktop.monitors) m.picture = mb::Widen(path);
        if (onSetWallpaper) onSetWallpaper(path);
    }

private:
    template <class T>
    static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace testing_support
