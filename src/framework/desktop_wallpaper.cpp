// The desktop's wallpaper interface behind fw::RealSystem. COM is set up per call on the calling
// thread: the window thread reads and gives back the user's setup, the worker sets our pictures.
// The interface is declared for Windows 8 and later; on Windows 7 creating it fails, and says so.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06020000
#include <windows.h>
#include <shobjidl.h>
#include <versionhelpers.h>

#include "framework/handles.h"
#include "framework/system.h"

namespace fw {

namespace {

// Null where the system has no such interface (Windows 7, and Wine).
ComInterface<IDesktopWallpaper> OpenDesktopWallpaper() {
    IDesktopWallpaper* raw = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&raw)))) raw = nullptr;
    return ComInterface<IDesktopWallpaper>(raw);
}

std::wstring TakeString(LPWSTR text) {
    CoTaskMemory<wchar_t> owned(text);
    return owned ? std::wstring(owned.get()) : std::wstring();
}

void ReadMonitors(IDesktopWallpaper& desktop, std::vector<MonitorWallpaper>& monitors) {
    UINT count = 0;
    if (FAILED(desktop.GetMonitorDevicePathCount(&count))) return;
    for (UINT i = 0; i < count; ++i) {
        LPWSTR path = nullptr;
        if (FAILED(desktop.GetMonitorDevicePathAt(i, &path))) continue;
        MonitorWallpaper monitor{TakeString(path), {}};
        if (monitor.monitor.empty()) continue;
        LPWSTR picture = nullptr;
        if (SUCCEEDED(desktop.GetWallpaper(monitor.monitor.c_str(), &picture))) monitor.picture = TakeString(picture);
        else ::CoTaskMemFree(picture);
        if (FAILED(desktop.GetMonitorRECT(monitor.monitor.c_str(), &monitor.rect))) monitor.rect = {};
        monitors.push_back(std::move(monitor));
    }
}

}  // namespace

bool DesktopSetup::operator==(const DesktopSetup& o) const {
    if (monitors.size() != o.monitors.size() || position != o.position || hasBackground != o.hasBackground ||
        (hasBackground && background != o.background) || slideshow != o.slideshow)
        return false;
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].monitor != o.monitors[i].monitor || monitors[i].picture != o.monitors[i].picture) return false;
    return true;
}

bool RealSystem::ReadDesktopSetup(DesktopSetup& setup) {
    ComApartment com;
    ComInterface<IDesktopWallpaper> desktop = OpenDesktopWallpaper();
    if (!desktop) return false;
    setup = {};
    ReadMonitors(*desktop, setup.monitors);
    DESKTOP_WALLPAPER_POSITION position{};
    if (SUCCEEDED(desktop->GetPosition(&position))) setup.position = position;
    setup.hasBackground = SUCCEEDED(desktop->GetBackgroundColor(&setup.background));
    DESKTOP_SLIDESHOW_STATE state{};
    setup.slideshow = SUCCEEDED(desktop->GetStatus(&state)) && (state & DSS_ENABLED) && (state & DSS_SLIDESHOW);
    return true;
}

bool RealSystem::SetMonitorWallpaper(const std::wstring& monitor, const std::wstring& picture) {
    ComApartment com;
    ComInterface<IDesktopWallpaper> desktop = OpenDesktopWallpaper();
    return desktop && SUCCEEDED(desktop->SetWallpaper(monitor.c_str(), picture.c_str()));
}

static_assert(kTileFit == DWPOS_TILE && kStretchFit == DWPOS_STRETCH && kSpanFit == DWPOS_SPAN, "fits as the system numbers them");

bool RealSystem::SetWallpaperPosition(int position) {
    ComApartment com;
    ComInterface<IDesktopWallpaper> desktop = OpenDesktopWallpaper();
    return desktop && SUCCEEDED(desktop->SetPosition(static_cast<DESKTOP_WALLPAPER_POSITION>(position)));
}

bool RealSystem::BeforeWindows8() { return !::IsWindows8OrGreater(); }

}  // namespace fw
