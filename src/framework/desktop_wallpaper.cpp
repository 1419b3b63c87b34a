// The desktop's wallpaper interface behind fw::RealSystem. COM is set up per call on the calling
// thread: the window thread reads and gives back the user's setup, the worker sets our pictures.
// The interface is declared for Windows 8 and later; on Windows 7 creating it fails, and says so.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06020000
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <versionhelpers.h>

#include <vector>

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

// The item as a file-system path; an item the file system cannot name (a library) by its parsing
// name, which SHParseDisplayName reads back as well.
std::wstring ItemPath(IShellItem& item) {
    for (const SIGDN form : {SIGDN_FILESYSPATH, SIGDN_DESKTOPABSOLUTEPARSING}) {
        LPWSTR name = nullptr;
        if (SUCCEEDED(item.GetDisplayName(form, &name))) {
            std::wstring path = TakeString(name);
            if (!path.empty()) return path;
        }
    }
    return {};
}

void ReadSlideshow(IDesktopWallpaper& desktop, Slideshow& slides) {
    IShellItemArray* raw = nullptr;
    if (SUCCEEDED(desktop.GetSlideshow(&raw)) && raw) {
        ComInterface<IShellItemArray> items(raw);
        DWORD count = 0;
        if (FAILED(items->GetCount(&count))) count = 0;
        for (DWORD i = 0; i < count; ++i) {
            IShellItem* item = nullptr;
            if (FAILED(items->GetItemAt(i, &item)) || !item) continue;
            ComInterface<IShellItem> owned(item);
            std::wstring path = ItemPath(*owned);
            if (!path.empty()) slides.items.push_back(std::move(path));
        }
    }
    DESKTOP_SLIDESHOW_OPTIONS options{};
    UINT tick = 0;
    if (SUCCEEDED(desktop.GetSlideshowOptions(&options, &tick))) {
        slides.shuffle = (options & DSO_SHUFFLEIMAGES) != 0;
        slides.tick = tick;
    }
}

// The item id lists of the items still there; a folder deleted since is left out.
std::vector<CoTaskMemory<ITEMIDLIST>> ParseItems(const std::vector<std::wstring>& paths) {
    std::vector<CoTaskMemory<ITEMIDLIST>> lists;
    for (const std::wstring& path : paths) {
        PIDLIST_ABSOLUTE list = nullptr;
        if (SUCCEEDED(::SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr)) && list)
            lists.emplace_back(list);
    }
    return lists;
}

}  // namespace

bool DesktopSetup::operator==(const DesktopSetup& o) const {
    if (monitors.size() != o.monitors.size() || position != o.position || hasBackground != o.hasBackground ||
        (hasBackground && background != o.background) || slideshow != o.slideshow || !(slides == o.slides) ||
        spotlight != o.spotlight)
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
    if (setup.slideshow) ReadSlideshow(*desktop, setup.slides);
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

bool RealSystem::SetSlideshow(const Slideshow& slides) {
    ComApartment com;
    ComInterface<IDesktopWallpaper> desktop = OpenDesktopWallpaper();
    if (!desktop) return false;
    const std::vector<CoTaskMemory<ITEMIDLIST>> lists = ParseItems(slides.items);
    if (lists.empty()) return false;
    std::vector<PCIDLIST_ABSOLUTE> pointers;
    for (const CoTaskMemory<ITEMIDLIST>& list : lists) pointers.push_back(list.get());
    IShellItemArray* raw = nullptr;
    if (FAILED(::SHCreateShellItemArrayFromIDLists(static_cast<UINT>(pointers.size()), pointers.data(), &raw)) || !raw)
        return false;
    ComInterface<IShellItemArray> items(raw);
    if (FAILED(desktop->SetSlideshow(items.get()))) return false;
    // Without the options read at start Windows keeps its own.
    if (slides.tick > 0)
        desktop->SetSlideshowOptions(slides.shuffle ? DSO_SHUFFLEIMAGES : static_cast<DESKTOP_SLIDESHOW_OPTIONS>(0),
                                     slides.tick);
    return true;
}

bool RealSystem::BeforeWindows8() { return !::IsWindows8OrGreater(); }

}  // namespace fw
