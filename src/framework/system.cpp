#include "framework/system.h"

#include <dwmapi.h>
#include <versionhelpers.h>
#include <wtsapi32.h>

#include "framework/handles.h"
#include "framework/registry.h"
#include "framework/session_info.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "framework/mbstring.h"

namespace fw {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<MonitorInfo>*>(list)->push_back(
            {info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, MonitorDpi(monitor)});
    return TRUE;
}

std::string ReadDesktopString(HKEY key, const char* name) {
    char value[64] = {};
    DWORD size = sizeof value - 1, type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return std::string(value, ::strnlen(value, size));
}

// An empty value was absent before the program set it, and is removed again.
void WriteDesktopString(HKEY key, const char* name, const std::string& value) {
    if (value.empty()) {
        ::RegDeleteValueA(key, name);
        return;
    }
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

template <class Record>
bool QuerySession(WTS_INFO_CLASS what, Record*& record, DWORD& bytes) {
    LPWSTR buffer = nullptr;
    if (!::WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, what, &buffer, &bytes))
        return false;
    record = reinterpret_cast<Record*>(buffer);
    return buffer != nullptr;
}

}  // namespace

POINT ISystem::CursorPos() {
    POINT p{0, 0};
    ::GetCursorPos(&p);
    return p;
}

std::vector<MonitorInfo> ISystem::Monitors() {
    const WorkArea wa = GetWorkArea();
    return {{RECT{0, 0, ScreenWidth(), ScreenHeight()}, RECT{wa.x, wa.y, wa.x + wa.width, wa.y + wa.height}, true}};
}

std::wstring ModuleFileNameWide() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try again with room for a longer path
    }
}

std::string ModuleFileName() { return mb::NarrowPath(ModuleFileNameWide()); }

int RealSystem::Rand() { return std::rand(); }

void RealSystem::SeedRandom(unsigned seed) { std::srand(seed); }

DWORD RealSystem::TickCount() { return ::GetTickCount(); }

LocalDate RealSystem::Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday};
}

int RealSystem::ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }

int RealSystem::ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

WorkArea RealSystem::GetWorkArea() {
    RECT r{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool RealSystem::FileExists(const std::string& path) {
    struct _stat64 st {};
    return _stat64(path.c_str(), &st) == 0;
}

void RealSystem::SetDesktopWallpaper(const std::string& path) {
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()),
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

std::vector<MonitorInfo> RealSystem::Monitors() {
    std::vector<MonitorInfo> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (!monitors.empty()) return monitors;
    monitors = ISystem::Monitors();
    monitors.front().dpi = SystemDpi();
    return monitors;
}

WallpaperStyle RealSystem::GetWallpaperStyle() {
    const RegKey key = OpenRegKey(HKEY_CURRENT_USER, kDesktopKey, KEY_QUERY_VALUE);
    if (!key) return {};
    return {ReadDesktopString(key.get(), "WallpaperStyle"), ReadDesktopString(key.get(), "TileWallpaper")};
}

void RealSystem::SetWallpaperStyle(const WallpaperStyle& style) {
    const RegKey key = OpenRegKey(HKEY_CURRENT_USER, kDesktopKey, KEY_SET_VALUE);
    if (!key) return;
    WriteDesktopString(key.get(), "WallpaperStyle", style.style);
    WriteDesktopString(key.get(), "TileWallpaper", style.tile);
}

bool RealSystem::IsWindowCloaked(HWND window) {
    DWORD cloaked = 0;
    // Fails on systems without cloaking (and without composition): nothing is cloaked there.
    return SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

SessionState RealSystem::CurrentSession() {
    SessionState state;
    WTS_CONNECTSTATE_CLASS* connect = nullptr;
    DWORD bytes = 0;
    if (QuerySession(WTSConnectState, connect, bytes)) {
        state.disconnected = bytes >= sizeof *connect && *connect == WTSDisconnected;
        ::WTSFreeMemory(connect);
    }
    SessionInfoEx* info = nullptr;
    if (QuerySession(kSessionInfoEx, info, bytes)) {
        if (bytes >= sizeof *info && info->Level == 1)
            state.locked = IsLockedFlag(info->Data.WTSInfoExLevel1.SessionFlags, !::IsWindows8OrGreater());
        ::WTSFreeMemory(info);
    }
    return state;
}

bool RealSystem::RegisterSessionNotification(HWND window) {
    return ::WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

void RealSystem::UnregisterSessionNotification(HWND window) { ::WTSUnRegisterSessionNotification(window); }

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace fw
